#!/bin/sh
# Fails when the tests outgrow the code they protect: non-blank lines of the
# test files under tests/ against non-blank lines of C and C++ outside tests/,
# bench/ and fuzz/ must stay at or below MAX_RATIO.
MAX_RATIO=0.45
cd "$(dirname "$0")/.." || exit 2
count() { xargs cat | grep -cv '^[[:space:]]*$'; }
tests=$(git ls-files tests | grep -E '\.(cpp|h|kel|out|sh|py)$' | count)
code=$(git ls-files | grep -vE '^(tests|bench|fuzz)/' | grep -E '\.(c|cc|cpp|h|hpp)$' | count)
awk -v t="$tests" -v c="$code" -v max="$MAX_RATIO" 'BEGIN {
    printf "tests: %d lines against %d of code, ratio %.3f (at most %.2f)\n", t, c, t / c, max
    exit (t / c > max) ? 1 : 0 }'
