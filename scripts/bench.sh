#!/usr/bin/env bash
# Runs every benchmark against the build in BUILD_DIR (release preset): the Google Benchmarks,
# the fetch run against curl, and the desktop program against a minimal tray program.
set -euo pipefail
build=${1:?build dir}
root=$(cd "$(dirname "$0")/.." && pwd)
shopt -s nullglob
for b in "$build"/bench/bench_*; do
    echo "== $(basename "$b")"; "$b"
done
echo "== fetch run against curl"
"$root/bench/fetch_vs_curl.sh" "$build/nimbrel-cli" 25
echo "== fetch run over HTTPS against curl"
"$root/bench/fetch_vs_curl.sh" --https "$build/nimbrel-cli" 25
echo "== peak memory of a fetch against replies at the reader's limits"
"$root/bench/reply_bomb.py" "$build/nimbrel-cli"
echo "== desktop program against a minimal tray program"
"$root/bench/desktop_bench.sh" "$build" 60
