#!/usr/bin/env bash
# Runs one Windows program under Wine, in the session that tools/with-wine.sh made.
# CTest uses it as the emulator of the Windows test programs.
if [ -z "${ZELVO_WINE_SESSION:-}" ] || [ -z "${WINEPREFIX:-}" ]; then
  echo "wine-run: start this through tools/with-wine.sh (it makes the private prefix and display)" >&2
  exit 2
fi
exec /usr/lib/wine/wine64 "$@" </dev/null
