#!/usr/bin/env bash
# CI: the format check, the lint, the README's test command with warnings as errors, then the whole suite
# under AddressSanitizer and UBSan, then the tests that run real threads under ThreadSanitizer.
# Each stage prints its time.
# Sanitizer builds go to build-asan/ and build-tsan/, beside the README's build/.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen

stage() {
    local name=$1 start=$SECONDS
    shift
    echo "=== $name"
    "$@"
    echo "=== $name: $((SECONDS - start)) s"
}

configure() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIRVANE_BENCH=OFF \
        -DCMAKE_COMPILE_WARNING_AS_ERROR=ON "$@" >/dev/null
}

# Leaks count too; tools/lsan.supp names the system libraries that keep caches for good.
asan() {
    configure build-asan -DMIRVANE_SANITIZE=address,undefined
    cmake --build build-asan --parallel
    ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1 \
    LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir build-asan --output-on-failure --parallel "$(nproc)" --timeout 600
}

# The tests whose code runs on more than one thread: the port and the receive thread against
# ptys, the synchronizer, and the main window with its receive thread (also searching a simulated
# line).
TSAN_TESTS=(line_comport_test line_receive_e2e_test line_receive_thread_test platform_synchronizer_test
            ui_main_window_test ui_new_devices_test ui_settings_ports_test)

tsan() {
    configure build-tsan -DMIRVANE_SANITIZE=thread
    cmake --build build-tsan --parallel --target "${TSAN_TESTS[@]}"
    local t
    for t in "${TSAN_TESTS[@]}"; do
        echo "--- $t"
        TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tools/tsan.supp" \
            "build-tsan/tests/$t" --gtest_brief=1
    done
}

start=$SECONDS
stage "format (tools/format.sh --check)" bash tools/format.sh --check
stage "lint (tools/tidy.sh --all)" bash tools/tidy.sh --all
stage "build and test (tools/test.sh, warnings as errors)" bash tools/test.sh -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
stage "address and undefined-behaviour sanitizers, every test" asan
stage "thread sanitizer, the threaded tests" tsan
echo "=== CI: $((SECONDS - start)) s"
