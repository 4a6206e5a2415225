#!/usr/bin/env bash
# The project's one C++ format (.clang-format) over every tracked C++ file.
#   tools/format.sh --check   lists what differs and fails if anything does
#   tools/format.sh --fix     rewrites the files in place
source "$(dirname "$0")/common.sh"
need_packages clang-format
mode=${1:---check}
mapfile -t files < <(git ls-files '*.cpp' '*.h')
case "$mode" in
    --check) clang-format --dry-run -Werror "${files[@]}" && echo "Format: ${#files[@]} files as .clang-format has them." ;;
    --fix) exec clang-format -i "${files[@]}" ;;
    *) echo "usage: $0 [--check|--fix]" >&2; exit 2 ;;
esac
