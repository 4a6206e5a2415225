#!/usr/bin/env bash
# clang-tidy (.clang-tidy) over the project's C++ sources, with the flags of build/.
#   tools/tidy.sh            the .cpp files changed against main (a changed header brings the
#                            sources that include it only when they changed too)
#   tools/tidy.sh <base>     the .cpp files changed against <base>
#   tools/tidy.sh --all      every source
# Needs build/compile_commands.json (any configured build/ writes it).
source "$(dirname "$0")/common.sh"
need_packages clang-tidy
[ -f build/compile_commands.json ] || { echo "Configure build/ first (bash tools/test.sh)." >&2; exit 2; }
if [ "${1:-}" = "--all" ]; then
    mapfile -t files < <(git ls-files '*.cpp')
else
    base=${1:-main}
    mapfile -t files < <(git diff --name-only --diff-filter=d "$(git merge-base "$base" HEAD)" -- '*.cpp'; git ls-files --others --exclude-standard '*.cpp')
fi
# Only what the build compiles, less the fake FTDI library: it stands in for a vendor library and
# is built with a GCC-only flag that clang rejects.
mapfile -t files < <(printf '%s\n' "${files[@]}" | sort -u | grep -v '^tests/support/fakeftdi/' | while read -r f; do
    [ -n "$f" ] && grep -q "\"file\": \"$PWD/$f\"" build/compile_commands.json && echo "$f"; done)
[ ${#files[@]} -gt 0 ] || { echo "No changed C++ sources."; exit 0; }
echo "clang-tidy over ${#files[@]} files"
printf '%s\n' "${files[@]}" | xargs -P "$(nproc)" -n 4 clang-tidy -p build --quiet
