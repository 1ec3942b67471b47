#!/bin/sh
# Replays each fuzz target's seed corpus (tests/fuzz/corpus), then fuzzes it from a fresh
# working copy of that corpus with a fixed seed, for a set time or, with FUZZ_RUNS set, for a
# set number of executions (FUZZ_RUNS_<name>, e.g. FUZZ_RUNS_import, for one target). Fails on
# the first crash, sanitizer report, leak or input slower than 10 s; the input that did it is
# kept as BUILD_DIR/fuzz/crashes/<target>-*.
# usage: [FUZZ_SEED=N] [FUZZ_RUNS=N] [FUZZ_RUNS_<name>=N] tools/fuzz.sh BUILD_DIR SECONDS [TARGET...]
#        (targets: fuzz_import fuzz_title fuzz_number)
set -eu
cd "$(dirname "$0")/.."
[ $# -ge 2 ] || { echo "usage: $0 BUILD_DIR SECONDS [TARGET...]" >&2; exit 2; }
build=$1
seconds=$2
shift 2
targets=${*:-fuzz_import fuzz_title fuzz_number}
seed=${FUZZ_SEED:-1}

for target in $targets; do
    name=${target#fuzz_}
    eval "runs=\${FUZZ_RUNS_$name:-\${FUZZ_RUNS:-}}"
    if [ -n "$runs" ]; then
        limit="-runs=$runs"
    else
        limit="-max_total_time=$seconds"
    fi
    corpus="$build/fuzz/corpus/$name"
    log="$build/fuzz/$target.log"
    rm -rf "$corpus"
    mkdir -p "$corpus" "$build/fuzz/crashes"
    cp tests/fuzz/corpus/"$name"/* "$corpus"/
    echo "fuzz: $target: replaying $(ls tests/fuzz/corpus/"$name" | wc -l) corpus inputs, then $limit -seed=$seed (log: $log)"
    if ! { "$build/fuzz/$target" -timeout=10 -rss_limit_mb=4096 tests/fuzz/corpus/"$name"/* &&
           "$build/fuzz/$target" "$limit" -seed="$seed" -timeout=10 -rss_limit_mb=4096 \
               -print_final_stats=1 -artifact_prefix="$build/fuzz/crashes/$target-" "$corpus"; } \
            >"$log" 2>&1; then
        tail -n 60 "$log" >&2
        echo "fuzz: $target FAILED" >&2
        exit 1
    fi
    grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$log" | sed "s/^/fuzz: $target: /"
done
