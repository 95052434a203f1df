#!/usr/bin/env bash
# Runs every fuzz_* target of a fuzz build for a fixed time each; fails on any crash, leak or report.
# Usage: scripts/run-fuzz.sh BUILD_DIR SECONDS
# Each target starts from a fresh copy of its seeds in tests/data/fuzz/<target>/ (an empty corpus
# when that folder is missing); the seeds are never written to. Inputs that fail are kept in
# BUILD_DIR/fuzz-failures/<target>/.
set -uo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 BUILD_DIR SECONDS" >&2
    exit 2
fi
build_dir=$1
seconds=$2
case $seconds in
    '' | *[!0-9]*) echo "SECONDS must be a whole number, not '$seconds'" >&2; exit 2 ;;
esac

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
target_dir=$build_dir/tests/fuzz

targets=()
for exe in "$target_dir"/fuzz_*; do
    [ -f "$exe" ] && [ -x "$exe" ] && targets+=("$exe")
done
if [ ${#targets[@]} -eq 0 ]; then
    echo "no fuzz_* executables in $target_dir; build the \"fuzz\" preset first" >&2
    exit 1
fi

# Temporary files of the targets go to memory when it can be had: every save syncs its file.
tmp_base=${TMPDIR:-/tmp}
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    tmp_base=/dev/shm
fi
work=$(mktemp -d "$tmp_base/vlconfig-fuzz.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT

# Leaks and every sanitizer report end the run with a failure.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:allocator_may_return_null=0:symbolize=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=report_objects=0

failed=0
summaries=()
for exe in "${targets[@]}"; do
    name=$(basename "$exe")
    run=$work/$name
    mkdir -p "$run/corpus" "$run/artifacts" "$run/tmp"
    seeds=$root/tests/data/fuzz/$name
    seed_count=0
    if [ -d "$seeds" ]; then
        cp -R "$seeds"/. "$run/corpus"/
        seed_count=$(find "$run/corpus" -type f | wc -l)
    fi
    log=$run/log.txt

    echo "== $name: $seconds s from $seed_count seeds"
    # The outer limit only guards against a target that ignores -max_total_time.
    TMPDIR=$run/tmp timeout --kill-after=30 $((seconds + 120)) "$exe" \
        -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$run/artifacts/" "$run/corpus" >"$log" 2>&1
    status=$?

    reports=$(grep -cE 'ERROR: (AddressSanitizer|LeakSanitizer|UndefinedBehaviorSanitizer|libFuzzer)|runtime error:|SUMMARY: ' "$log")
    artifacts=$(find "$run/artifacts" -type f | wc -l)
    leftovers=$(find "$run/tmp" -mindepth 1 | wc -l)
    runs=$(sed -n 's/^Done \([0-9]*\) runs in .*/\1/p' "$log" | tail -n 1)
    last=$(grep -E '^#[0-9]+' "$log" | tail -n 1)
    cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
    corp=$(sed -n 's/.* corp: \([0-9]*\/[0-9]*[a-zA-Z]*\).*/\1/p' <<<"$last")

    verdict=ok
    if [ "$status" -ne 0 ] || [ "$reports" -ne 0 ] || [ "$artifacts" -ne 0 ] || [ -z "$runs" ]; then
        verdict=FAILED
    elif [ "$leftovers" -ne 0 ]; then
        verdict="FAILED (left $leftovers temporary files)"
    fi
    line="$name: $verdict, exit $status, ${runs:-?} runs in $seconds s, cov ${cov:-?}, corpus ${corp:-?}, $seed_count seeds"
    summaries+=("$line")

    if [ "$verdict" != ok ]; then
        failed=1
        keep=$build_dir/fuzz-failures/$name
        mkdir -p "$keep"
        cp "$log" "$keep/log.txt"
        [ "$artifacts" -ne 0 ] && cp "$run/artifacts"/* "$keep"/
        echo "---- last lines of the log of $name (all of it in $keep/log.txt) ----"
        tail -n 60 "$log"
        echo "----"
    fi
done

echo
echo "Fuzz summary:"
printf '  %s\n' "${summaries[@]}"
exit $failed
