#!/usr/bin/env bash
# Installs what is missing, builds and runs every test (headless). Arguments go to the
# configuration of build/ (CI passes -DCMAKE_COMPILE_WARNING_AS_ERROR=ON).
source "$(dirname "$0")/common.sh"
need_packages "${BUILD_PACKAGES[@]}" libgtest-dev
build -DMIRVANE_TESTS=ON -DMIRVANE_BENCH=ON "$@"
export QT_QPA_PLATFORM=offscreen
# Where clang is at hand, the libFuzzer harnesses are built as well (run them by hand:
# build-fuzz/tests/fuzz_<name> tests/fuzz/corpus/<name>).
# The harness sources are compiled by the ordinary build too (their corpus replays), so a clang
# without its fuzzing runtime only skips this step.
if command -v clang++ >/dev/null; then
    if ! { cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
               -DCMAKE_C_COMPILER=clang -DMIRVANE_FUZZ=ON -DMIRVANE_BENCH=OFF "$@" >/dev/null &&
           cmake --build build-fuzz --parallel --target $(cd tests/fuzz && ls *_fuzz.cpp | sed 's/\(.*\)_fuzz\.cpp/fuzz_\1/'); }; then
        echo "The libFuzzer harnesses were not built (clang's fuzzing runtime missing?)."
    fi
fi
cd build
ctest --output-on-failure --parallel "$(nproc)" --timeout 300
