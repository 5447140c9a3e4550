#!/usr/bin/env bash
# Keeps the tests at about a third of the code: counts the non-blank lines of
# tests/ (without fuzz corpora and expected outputs) against the code outside
# tests/ and res/, and fails above 0.40.
set -euo pipefail
cd "$(dirname "$0")/.."
code_files() { grep -E '\.(cpp|h|py|js|sh|cmake)$|CMakeLists\.txt$'; }
count() { xargs -r cat | grep -cv '^[[:space:]]*$' || true; }
tests=$(git ls-files tests | grep -Ev '^tests/fuzz/corpus/|\.out$' | count)
code=$(git ls-files | grep -Ev '^(tests|res)/' | code_files | count)
ratio=$(awk -v t="$tests" -v c="$code" 'BEGIN { printf "%.2f", t / c }')
echo "test size: $tests test lines, $code code lines, ratio $ratio (at most 0.40)"
awk -v r="$ratio" 'BEGIN { exit !(r <= 0.40) }'
