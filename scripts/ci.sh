#!/usr/bin/env bash
# Runs each make target given, in order, on to the end whatever fails, then prints every
# target's result and time, and exits non-zero if any failed. Usage: scripts/ci.sh TARGET...
set -uo pipefail
cd "$(dirname "$0")/.."

results=()
failed=0
for target in "$@"; do
    echo "=== ci: make $target"
    start=$(date +%s)
    if make --no-print-directory "$target"; then
        result=passed
    else
        result=FAILED
        failed=$((failed + 1))
    fi
    results+=("$(printf '%-14s %-7s %5d s' "$target" "$result" $(($(date +%s) - start)))")
done

echo "=== ci: results"
printf '%s\n' "${results[@]}"
echo "ci: $(($# - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
