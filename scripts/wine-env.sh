# Sourced by the run and test scripts: a Wine prefix of the build's own, a
# screen, and the clean-up of both. Needs BUILD_DIR set.
#   wine_env_prepare   make the prefix once (fonts, one shared virtual desktop)
#   wine_env_screen    use $DISPLAY, or start Xvfb on a free display
#   wine_env_warm      start wineserver persistent and warm it
#   wine_env_stop      end wineserver and the Xvfb we started

export WINEPREFIX="${WINEPREFIX_OVERRIDE:-$BUILD_DIR/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
STARTED_XVFB_PID=""

# The prefix's settings: one virtual desktop shared by every Wine program of
# a run (with a taskbar and notification area), and an opener for .txt files.
wine_env_settings() {
  cat <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"

[HKEY_CLASSES_ROOT\.txt]
@="txtfile"

[HKEY_CLASSES_ROOT\txtfile\shell\open\command]
@="notepad.exe \"%1\""
REG
}

wine_env_prepare() {
  # The marker holds a checksum of the settings, so a prefix made by an
  # older version of this file gets the current settings without a rebuild.
  local marker="$WINEPREFIX/.tavolin-ready"
  local sum
  sum=$(wine_env_settings | md5sum | cut -d' ' -f1)
  if [ -f "$marker" ] && [ "$(cat "$marker")" = "$sum" ]; then return 0; fi
  # A persistent wineserver of this prefix would make "wineserver -w" wait
  # for ever, and its desktop would keep the old settings: end it first.
  wineserver -k >/dev/null 2>&1 || true
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
  # This Wine does not read /usr/share/wine/fonts; without them the caption
  # buttons draw as letters.
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  local reg="$WINEPREFIX/tavolin-setup.reg"
  wine_env_settings > "$reg"
  wine regedit /S "$reg" >/dev/null 2>&1
  wineserver -w
  echo "$sum" > "$marker"
}

wine_env_screen() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  # Xvfb picks a free display itself and tells its number (-displayfd):
  # no race with other runs that start a screen at the same moment.
  local numberFile
  numberFile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$numberFile" >/dev/null 2>&1 &
  STARTED_XVFB_PID=$!
  local i n=""
  for i in $(seq 1 100); do
    n=$(cat "$numberFile" 2>/dev/null | tr -d '[:space:]')
    if [ -n "$n" ]; then break; fi
    sleep 0.1
  done
  rm -f "$numberFile"
  if [ -z "$n" ]; then
    echo "wine-env: Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$n"
  for i in $(seq 1 50); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "wine-env: Xvfb did not answer on $DISPLAY" >&2
  return 1
}

wine_env_warm() {
  # Fails when a wineserver of this prefix already runs, which is fine.
  wineserver -p >/dev/null 2>&1 || true
  wine cmd /c exit >/dev/null 2>&1 || true
}

wine_env_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$STARTED_XVFB_PID" ]; then
    kill "$STARTED_XVFB_PID" >/dev/null 2>&1 || true
    wait "$STARTED_XVFB_PID" 2>/dev/null || true
    STARTED_XVFB_PID=""
  fi
}
