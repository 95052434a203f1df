#!/usr/bin/env bash
# Runs the benchmarks of a release build and ends with every ratio; further arguments go to Google Benchmark.
# Usage: scripts/run-bench.sh BUILD_DIR [--benchmark_filter=... ...]
set -euo pipefail

if [ $# -lt 1 ]; then
    echo "usage: $0 BUILD_DIR [benchmark options]" >&2
    exit 2
fi
build_dir=$1
shift
bench_dir=$build_dir/bench
for name in vl_bench vl_tree_bench vl_startup_bench vl_preview_bench vl_cli_bench vl_logo_bench; do
    if [ ! -x "$bench_dir/$name" ]; then
        echo "no $bench_dir/$name; build the \"release\" preset first (it needs libbenchmark-dev and libinih-dev)" >&2
        exit 1
    fi
done

log=$(mktemp "${TMPDIR:-/tmp}/vl_run_bench.XXXXXX")
trap 'rm -f "$log"' EXIT
failed=()

# Runs one benchmark, showing its output and keeping it for the summary.
run() {
    local title=$1
    shift
    echo
    echo "=== $title"
    if ! "$@" 2>&1 | tee -a "$log"; then
        failed+=("$title")
    fi
}

run "Reading and saving the configuration" "$bench_dir/vl_bench" "$@"
run "The Product page's tree" "$bench_dir/vl_tree_bench" "$@"
run "Start-up" "$bench_dir/vl_startup_bench"
run "Preview in DOSBox" "$bench_dir/vl_preview_bench"
run "The command line's check" "$bench_dir/vl_cli_bench"
run "A logo made of a photograph" "$bench_dir/vl_logo_bench"

echo
echo "=== Ratios"
grep '^ratio ' "$log" || echo "(none measured)"
if [ ${#failed[@]} -gt 0 ]; then
    printf 'FAILED: %s\n' "${failed[@]}" >&2
    exit 1
fi
