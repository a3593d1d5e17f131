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

wine_env_prepare() {
  if [ -f "$WINEPREFIX/.tavolin-ready" ]; then return 0; fi
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  local reg="$WINEPREFIX/tavolin-setup.reg"
  cat > "$reg" <<'REG'
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
  wine regedit /S "$reg" >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.tavolin-ready"
}

wine_env_screen() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n
  for n in $(seq 90 130); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then break; fi
  done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  STARTED_XVFB_PID=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 50); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "wine-env: Xvfb did not start on $DISPLAY" >&2
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
