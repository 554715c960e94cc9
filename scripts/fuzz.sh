#!/bin/bash
# Builds the fuzz harnesses (clang, libFuzzer, ASan, UBSan) and runs each for SECONDS:
#   bash scripts/fuzz.sh SECONDS [HARNESS...]      (harnesses: level config datafile records run shared set board)
# New inputs go to BUILD/corpus/HARNESS (the committed seeds in fuzz/corpus stay as they are),
# findings to BUILD/findings/HARNESS. Exits 1 if any harness found something in this run.
# BUILD is build-fuzz unless FUZZ_BUILD says otherwise; FUZZ_FLAGS go to every harness (e.g. -seed=1).
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: fuzz.sh SECONDS [HARNESS...]}
shift
harnesses=("$@")
[ ${#harnesses[@]} -gt 0 ] || harnesses=(level config datafile records run shared set board)
build=${FUZZ_BUILD:-build-fuzz}

cmake -S fuzz -B "$build" -DCMAKE_CXX_COMPILER=clang++ >/dev/null || exit 1
cmake --build "$build" -j 2 >/dev/null || { cmake --build "$build" -j 1; exit 1; }

# A data file may claim objects of gigabytes: the library's malloc then fails and it gives up,
# which is no finding. Memory that is really used is still limited by rss_limit_mb.
export ASAN_OPTIONS=allocator_may_return_null=1:${ASAN_OPTIONS:-}
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}
status=0
for h in "${harnesses[@]}"; do
    corpus=$build/corpus/$h
    findings=$build/findings/$h
    mkdir -p "$corpus" "$findings"
    log=$build/$h.log
    echo "fuzz: $h for ${seconds}s"
    stamp=$build/$h.started
    touch "$stamp"
    "$build/${h}_fuzzer" "$corpus" "fuzz/corpus/$h" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -malloc_limit_mb=8192 -print_final_stats=1 \
        -artifact_prefix="$findings/" ${FUZZ_FLAGS:-} >"$log" 2>&1
    rc=$?
    runs=$(awk '/^stat::number_of_executed_units/ {print $2}' "$log")
    found=$(find "$findings" -type f -newer "$stamp" | wc -l)
    echo "fuzz: $h: $runs inputs, $found findings (log $log)"
    if [ "$rc" -ne 0 ] || [ "$found" -ne 0 ]; then
        status=1
        grep -h -m3 -E 'ERROR|finding|SUMMARY' "$log" | sed 's/^/  /'
    fi
done
exit $status
