#!/usr/bin/env bash
# Runs every libFuzzer target in BUILD_DIR for SECONDS, seeded from tests/fuzz/seeds/<target>
# where the target has seeds of its own, and from the report corpus otherwise.
set -euo pipefail
build=${1:?build dir}; seconds=${2:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
corpus_src="$root/tests/data/metar-corpus.txt"
shopt -s nullglob
targets=("$build"/tests/fuzz/fuzz_*)
[ ${#targets[@]} -gt 0 ] || { echo "fuzz: no targets built"; exit 0; }
for target in "${targets[@]}"; do
    name=$(basename "$target")
    work="$build/fuzz-work/$name"; seeds="$build/fuzz-seeds/$name"
    mkdir -p "$work" "$seeds"
    own_seeds="$root/tests/fuzz/seeds/${name#fuzz_}"
    if [ -z "$(ls -A "$seeds")" ]; then
        if [ -d "$own_seeds" ]; then
            cp "$own_seeds"/* "$seeds"/
        elif [ -f "$corpus_src" ]; then
            split -l 1 -a 4 "$corpus_src" "$seeds/seed-"
        fi
    fi
    echo "fuzz: $name for ${seconds}s"
    "$target" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 "$work" "$seeds" 2>&1 | tail -n 12
done
