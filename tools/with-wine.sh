#!/usr/bin/env bash
# Runs a command inside a private Wine session: a fresh prefix and an Xvfb display of
# its own, both made here and both gone when the command ends. The user's own prefix
# and display are never used.
#   tools/with-wine.sh COMMAND [ARGS...]
# With ZELVO_WINE_DISPLAY=keep and a DISPLAY set, the session uses that display instead
# (the demonstration shows its window to the user that way); the prefix is still private.
set -uo pipefail
WINE_DIR=/usr/lib/wine
root=$(mktemp -d /tmp/zelvo-wine.XXXXXX)
xvfb_pid=""

cleanup() {
  WINEPREFIX=$root/prefix "$WINE_DIR/wineserver" -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" >/dev/null 2>&1
  wait >/dev/null 2>&1
  rm -rf "$root"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ "${ZELVO_WINE_DISPLAY:-}" != keep ] || [ -z "${DISPLAY:-}" ]; then
  # Xvfb picks a free display number itself and tells it on the descriptor.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$root/display" >"$root/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$root/display" ] && break; sleep 0.1; done
  [ -s "$root/display" ] || { echo "with-wine: Xvfb did not start" >&2; cat "$root/xvfb.log" >&2; exit 1; }
  export DISPLAY=":$(head -n1 "$root/display")"
fi

export WINEPREFIX=$root/prefix WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' WINEARCH=win64
# The display comes first: Wine's desktop process must see it from the prefix's first boot.
"$WINE_DIR/wine64" wineboot -i >/dev/null 2>&1 </dev/null
# A crash must end the process at once, never wait in a debugger.
"$WINE_DIR/wine64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d '' /f >/dev/null 2>&1 </dev/null
"$WINE_DIR/wine64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /t REG_SZ /d 1 /f >/dev/null 2>&1 </dev/null
"$WINE_DIR/wine64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null
export ZELVO_WINE_SESSION=$root

"$@"
