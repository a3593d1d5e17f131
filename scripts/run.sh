#!/usr/bin/env bash
# Sets up, builds and starts Tavolin under Wine: on the current display, or,
# with none, on an Xvfb display of its own. Returns when the program ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"

BUILD_DIR="$root/build/windows"
source "$root/scripts/wine-env.sh"
trap wine_env_stop EXIT
wine_env_prepare
wine_env_screen
if [ -n "$STARTED_XVFB_PID" ]; then
  cat <<TXT
Tavolin runs on the virtual screen $DISPLAY (no display was set).
Look at it with:   DISPLAY=$DISPLAY import -window root tavolin.png
Type into it with: DISPLAY=$DISPLAY xdotool mousemove 512 384 key F8
End it with Ctrl+C here.
TXT
fi
echo "Starting $BUILD_DIR/Tavolin.exe (Wine prefix $WINEPREFIX)"
wine "$BUILD_DIR/Tavolin.exe"
