#!/usr/bin/env bash
# Sets up, builds and runs every test: the native tests and the fuzzer, then
# the Windows-side tests under Wine on a screen of their own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"

BUILD_DIR="$root/build/windows"
source "$root/scripts/wine-env.sh"
trap wine_env_stop EXIT

status=0
echo "== native tests"
ctest --test-dir "$root/build/native" --output-on-failure || status=1

echo "== Windows tests under Wine"
wine_env_prepare
wine_env_screen
wine_env_warm
ctest --test-dir "$root/build/windows" --output-on-failure || status=1
exit $status
