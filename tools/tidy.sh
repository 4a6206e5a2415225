#!/usr/bin/env bash
# clang-tidy (.clang-tidy) over the project's C++ sources, with the flags of build/.
#   tools/tidy.sh            the .cpp files changed against main (a changed header brings the
#                            sources that include it only when they changed too)
#   tools/tidy.sh <base>     the .cpp files changed against <base>
#   tools/tidy.sh --all      every source
# Reads the flags from build/compile_commands.json, configuring build/ when there is none.
source "$(dirname "$0")/common.sh"
need_packages clang-tidy
if [ ! -f build/compile_commands.json ]; then
    # The flags come from the build the tests use; configuring is enough, nothing is built.
    need_packages "${BUILD_PACKAGES[@]}" libgtest-dev
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIRVANE_TESTS=ON -DMIRVANE_BENCH=ON >/dev/null
fi
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
# One file per call: a batch of files in one call has made clang-tidy report findings that a file
# on its own does not have.
printf '%s\n' "${files[@]}" | xargs -P "$(nproc)" -n 1 clang-tidy -p build --quiet
