#!/usr/bin/env bash
# The size of the test suite against the program: non-blank lines of the C++ files under tests/
# against those of every other C++ file of the tree (bench/ included, build folders left out).
# The suite is meant to stay at most a third of the program.
set -euo pipefail
cd "$(dirname "$0")/.."

nonblank() { xargs -0 -r cat -- | grep -c '[^[:space:]]' || true; }
cpp=(\( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' -o -name '*.cc' \))

tests=$(find tests -type f "${cpp[@]}" -print0 | nonblank)
code=$(find . \( -path ./build -o -path ./.git -o -path ./tests \) -prune -o -type f "${cpp[@]}" -print0 | nonblank)
echo "tests: $tests non-blank lines"
echo "code:  $code non-blank lines"
awk -v t="$tests" -v c="$code" 'BEGIN { printf "ratio: %.2f (at most 0.33)\n", c ? t / c : 0 }'
