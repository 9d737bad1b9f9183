#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 60) from its corpus,
# one after the other; prints each target's inputs per second and total, and fails on a finding.
#   scripts/fuzz.sh [SECONDS] [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=${2:-$root/build/fuzz}

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELK_BUILD_FUZZ=ON -DVELK_BUILD_GUI=OFF -DVELK_BUILD_TESTS=OFF -DVELK_BUILD_BENCH=OFF \
    -DVELK_SANITIZE=address -DVELK_WERROR=ON
cmake --build "$build"

# "TOTAL RATE" from a run's final statistics.
throughput() {
    awk '/stat::number_of_executed_units/ {total = $2} /stat::average_exec_per_sec/ {rate = $2}
         END {print total, rate}' "$1"
}

shopt -s nullglob
summary=""
for fuzzer in "$build"/fuzz/*_fuzz; do
    name=$(basename "$fuzzer")
    work="$build/corpus-work/$name"
    mkdir -p "$work"
    echo "fuzzing $name for ${seconds}s"
    # A target may add flags of its own in fuzz/NAME.flags (e.g. a -max_len that fits its inputs).
    own=()
    if [ -f "$root/fuzz/$name.flags" ]; then read -r -a own <"$root/fuzz/$name.flags" || true; fi
    # Value profiles lead the fuzzer through length and checksum comparisons; the code's own
    # diagnostics go nowhere (stderr closed), while libFuzzer's and the sanitizers' reports stay.
    if ! "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -use_value_profile=1 -close_fd_mask=2 "${own[@]}" -artifact_prefix="$work/" "$work" "$root/fuzz/corpus/$name" \
        >"$work.log" 2>&1; then
        tail -n 40 "$work.log"
        echo "fuzzer $name found a failing input (artifacts in $work)"
        exit 1
    fi
    read -r total rate < <(throughput "$work.log")
    line=$(printf '%-26s %12s inputs %9s inputs/s' "$name" "$total" "$rate")
    echo "$line"
    summary+="$line"$'\n'
done
[ -n "$summary" ] || { echo "no fuzz targets built"; exit 0; }
printf '\nno findings in %ss per target:\n%s' "$seconds" "$summary"
