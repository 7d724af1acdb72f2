#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test headless; then builds again
# with AddressSanitizer and UndefinedBehaviorSanitizer and runs the suite once more.
# Usage: scripts/test.sh            (both runs)
#        VORN_SKIP_SANITIZE=1 scripts/test.sh   (plain run only, for quick local checks)
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
    export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    run_suite "$root/build-sanitize" -DVORN_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
fi
