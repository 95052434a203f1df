#!/usr/bin/env bash
# Runs the benchmarks of a release build; further arguments go to Google Benchmark.
# Usage: scripts/run-bench.sh BUILD_DIR [--benchmark_filter=... ...]
set -euo pipefail

if [ $# -lt 1 ]; then
    echo "usage: $0 BUILD_DIR [benchmark options]" >&2
    exit 2
fi
build_dir=$1
shift
bench=$build_dir/bench/vl_bench
if [ ! -x "$bench" ]; then
    echo "no $bench; build the \"release\" preset first (it needs libbenchmark-dev and libinih-dev)" >&2
    exit 1
fi
exec "$bench" "$@"
