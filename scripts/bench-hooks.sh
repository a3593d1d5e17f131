#!/usr/bin/env bash
# Hook benchmark: the cost of the keyboard hooks per key event, under Wine.
# tests/bench/hook_bench.exe starts a host with the program's hooks over
# tables of 1, 10, 100, 254 and 1000 rows (and hosts with an empty hook and
# with none), sends key events to it from a second process with SendInput
# and prints medians, ratios to the empty hook and the longest hook call.
#   scripts/bench-hooks.sh [presses per round] [rounds]   (default 200 3)
# BUILD_DIR picks the MinGW build (default build/windows; configured and
# built here when needed).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$root/build/windows}

if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" >/dev/null
fi
cmake --build "$BUILD_DIR" -j "$(nproc)" --target hook_bench >/dev/null

source "$root/scripts/wine-env.sh"
trap wine_env_stop EXIT
wine_env_prepare
wine_env_screen
wine_env_warm

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
wine "$BUILD_DIR/tests/bench/hook_bench.exe" "${1:-200}" "${2:-3}"
