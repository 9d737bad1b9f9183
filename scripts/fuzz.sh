#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 60) from its corpus.
#   scripts/fuzz.sh [SECONDS] [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=${2:-$root/build/fuzz}

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELK_BUILD_FUZZ=ON -DVELK_BUILD_GUI=OFF -DVELK_BUILD_TESTS=OFF -DVELK_BUILD_BENCH=OFF \
    -DVELK_SANITIZE=address -DVELK_WERROR=ON
cmake --build "$build"

shopt -s nullglob
found=0
for fuzzer in "$build"/fuzz/*_fuzz; do
    name=$(basename "$fuzzer")
    found=1
    work="$build/corpus-work/$name"
    mkdir -p "$work"
    echo "fuzzing $name for ${seconds}s"
    if ! "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$work/" "$work" "$root/fuzz/corpus/$name" >"$work.log" 2>&1; then
        tail -n 40 "$work.log"
        echo "fuzzer $name found a failing input (artifacts in $work)"
        exit 1
    fi
    tail -n 4 "$work.log"
done
[ "$found" -eq 1 ] || echo "no fuzz targets built"
