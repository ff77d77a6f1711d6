#!/usr/bin/env bash
# Runs the benchmarks built in BUILD_DIR (release preset).
set -euo pipefail
build=${1:?build dir}
shopt -s nullglob
for b in "$build"/bench/bench_*; do
    echo "== $(basename "$b")"; "$b"
done
