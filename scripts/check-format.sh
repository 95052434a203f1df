#!/usr/bin/env bash
# Every C++ and C file laid out as .clang-format says, and every .ui form in Designer's own
# one-element-a-line layout, so that a diff shows only what changed.
# Usage: scripts/check-format.sh [--fix]   (without --fix: names each file that differs, exits 1)
set -euo pipefail
cd "$(dirname "$0")/.."
fix=0
[ "${1:-}" = --fix ] && fix=1

mapfile -t sources < <(git ls-files '*.cpp' '*.h' '*.c')
mapfile -t forms < <(git ls-files '*.ui')
status=0
if ((fix)); then
    clang-format -i "${sources[@]}"
else
    for f in "${sources[@]}"; do
        if ! clang-format --dry-run --Werror "$f" >/dev/null 2>&1; then
            echo "not laid out as .clang-format says: $f (scripts/check-format.sh --fix)"
            status=1
        fi
    done
fi
for f in "${forms[@]}"; do
    if ! python3 scripts/ui-layout.py "$f" "$fix"; then
        echo "not in Designer's layout: $f (scripts/check-format.sh --fix)"
        status=1
    fi
done
exit $status
