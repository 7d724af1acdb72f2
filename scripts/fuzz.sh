#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/ and runs each for a bounded time, starting from the
# seed corpora in fuzz/corpus/. Fails on any finding; the input that caused it is left in
# build-fuzz/findings/.
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET]   (default: $VORN_FUZZ_SECONDS or 60)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-${VORN_FUZZ_SECONDS:-60}}
dir="$root/build-fuzz"
clangxx=$(command -v clang++-14 || command -v clang++)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORN_FUZZ=ON \
    -DBUILD_TESTING=OFF -DCMAKE_CXX_COMPILER="$clangxx" "${launcher[@]}" >/dev/null
targets=(fuzz_engine fuzz_simparser fuzz_settings)
cmake --build "$dir" -j "${VORN_FUZZ_JOBS:-$(nproc)}" --target "${targets[@]}"

export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
mkdir -p "$dir/findings"
status=0
for target in "${targets[@]}"; do
    name=${target#fuzz_}
    work="$dir/corpus/$name"  # grows with what the runs find; the checked-in seeds stay as they are
    mkdir -p "$work"
    log="$dir/$target.log"
    if "$dir/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 \
        -max_len=4096 -print_final_stats=1 -artifact_prefix="$dir/findings/$name-" \
        "$work" "$root/fuzz/corpus/$name" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "$target: ${runs:-?} executions in ${seconds} s, no finding"
    else
        echo "$target: FINDING (see $log and $dir/findings/)"
        tail -n 40 "$log"
        status=1
    fi
done
exit $status
