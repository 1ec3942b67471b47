#!/bin/sh
# Runs the benchmarks of a Release build: prints the table and writes bench/results.json.
# Usage: sh bench/run.sh [build folder, default build-release] [Google Benchmark options]
set -eu
build=${1:-build-release}
if [ $# -gt 0 ]; then shift; fi
here=$(cd "$(dirname "$0")" && pwd)
exec "$build/bench/mirvo_bench" --benchmark_counters_tabular=true \
    --benchmark_out="$here/results.json" --benchmark_out_format=json "$@"
