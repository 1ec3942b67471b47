#!/bin/sh
# Runs each fuzz target for a set time on a working copy of its seed corpus (tests/fuzz/corpus).
# Fails on the first crash, sanitizer report, leak or input slower than 10 s; the input that
# did it is kept as BUILD_DIR/fuzz/crashes/<target>-*.
# usage: tools/fuzz.sh BUILD_DIR SECONDS [TARGET...]   (targets: fuzz_import fuzz_title fuzz_number)
set -eu
cd "$(dirname "$0")/.."
[ $# -ge 2 ] || { echo "usage: $0 BUILD_DIR SECONDS [TARGET...]" >&2; exit 2; }
build=$1
seconds=$2
shift 2
targets=${*:-fuzz_import fuzz_title fuzz_number}

for target in $targets; do
    name=${target#fuzz_}
    corpus="$build/fuzz/corpus/$name"
    log="$build/fuzz/$target.log"
    mkdir -p "$corpus" "$build/fuzz/crashes"
    cp tests/fuzz/corpus/"$name"/* "$corpus"/
    echo "fuzz: $target for ${seconds}s (log: $log)"
    if ! "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
            -print_final_stats=1 -artifact_prefix="$build/fuzz/crashes/$target-" "$corpus" >"$log" 2>&1; then
        tail -n 60 "$log" >&2
        echo "fuzz: $target FAILED" >&2
        exit 1
    fi
    grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$log" | sed "s/^/fuzz: $target: /"
done
