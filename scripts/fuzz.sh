#!/usr/bin/env bash
# Runs the libFuzzer targets (build with: cmake --preset fuzz && cmake --build --preset fuzz).
#   fuzz.sh smoke          every target over its seeds and a few seconds of new inputs
#   fuzz.sh TARGET SECONDS one target for longer, keeping what it finds in build/fuzz/corpus
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/fuzz/fuzz
seeds=fuzz/seeds

run_target() {  # name, seconds
    local name=$1 seconds=$2 corpus=build/fuzz/corpus/$1
    mkdir -p "$corpus"
    local seed_dir=()
    [ -d "$seeds/$name" ] && seed_dir=("$seeds/$name")
    "$bin/fuzz-$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        "$corpus" "${seed_dir[@]}" 2>&1 | grep -E '^(stat::number_of_executed_units|stat::new_units_added|==.*ERROR|SUMMARY)' || true
    [ "${PIPESTATUS[0]}" -eq 0 ]
}

if [ "${1:-}" = smoke ]; then
    shopt -s nullglob
    for target in "$bin"/fuzz-*; do
        name=${target##*/fuzz-}
        echo "[fuzz] $name" >&2
        run_target "$name" 5
    done
else
    run_target "$1" "${2:-60}"
fi
