#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test headless; then builds again
# with AddressSanitizer (leak checks included), UndefinedBehaviorSanitizer and runs the suite
# once more; then runs each fuzz target for a bounded time (scripts/fuzz.sh).
# Usage: scripts/test.sh            (all three runs)
#        VORN_SKIP_SANITIZE=1 scripts/test.sh   (no sanitizer run)
#        VORN_SKIP_FUZZ=1 scripts/test.sh       (no fuzz run)
#        VORN_FUZZ_SECONDS=N scripts/test.sh    (seconds per fuzz target, default 60)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
jobs=$(nproc)

run_suite() {
    local dir=$1; shift
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORN_WERROR=ON "$@"
    cmake --build "$dir" -j "$jobs"
    (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")
}

run_suite "$root/build-test"
if [ "${VORN_SKIP_SANITIZE:-0}" != 1 ]; then
    (
        export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
        export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
        export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
        run_suite "$root/build-sanitize" -DVORN_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
    )
fi
if [ "${VORN_SKIP_FUZZ:-0}" != 1 ]; then
    "$root/scripts/fuzz.sh" "${VORN_FUZZ_SECONDS:-60}"
fi
