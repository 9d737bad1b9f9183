#!/usr/bin/env bash
# Builds the project and runs the whole test suite.
#   scripts/test.sh [BUILD_DIR] [extra cmake -D options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build}")  # absolute: tests run in folders of their own
shift || true

# Warnings are errors here, whatever the build type.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} -DVELK_WERROR=ON "$@"
cmake --build "$build"
# GUI tests run without a display, with their settings and runtime files inside the build tree.
export QT_QPA_PLATFORM=offscreen
export HOME="$build/test-home"
export XDG_CONFIG_HOME="$HOME/.config"
export XDG_RUNTIME_DIR="$build/test-runtime"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" && mkdir -p -m 0700 "$XDG_RUNTIME_DIR"
# ThreadSanitizer builds: what Qt's uninstrumented libraries do among their own threads is not
# reported. Options the caller gives come after, and win.
export TSAN_OPTIONS="suppressions=$root/scripts/tsan.supp ${TSAN_OPTIONS:-}"
# JACK keeps a machine-wide table of eight servers that killed servers never leave; with no JACK
# server running at all, clearing it lets the suites that start their own servers find room.
if ! pgrep -f 'jackd|jackdbus' >/dev/null 2>&1; then
    rm -f /dev/shm/jack-shm-registry /dev/shm/jack_sem.* /dev/shm/jack_*_[0-9]*_[0-9]* 2>/dev/null || true
fi
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" ${CTEST_ARGS:-}
