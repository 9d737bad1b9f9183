#!/usr/bin/env bash
# Installs what the editor needs (Debian 12), builds it and starts it. Options go to the editor:
#   scripts/run.sh                  the amplifier attached over USB-MIDI
#   scripts/run.sh --simulate dual  no amplifier: the built-in simulated dual-amp head
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELK_BUILD_DIR:-$root/build}

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} > /dev/null
cmake --build "$build" --target velk-vovezid
exec "$build/src/app/velk-vovezid" "$@"
