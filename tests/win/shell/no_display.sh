#!/usr/bin/env bash
# Uninstall.exe in a Wine process that has no display: its dialog cannot be created, so it
# must end at once with exit code 0 and leave the record as it was. A Windows test program
# cannot arrange this for its child (Wine hands the display on regardless of the child's
# environment block), so the Unix side does it here.
#   no_display.sh UNINSTALL_EXE
set -u
if [ -z "${ZELVO_WINE_SESSION:-}" ] || [ -z "${WINEPREFIX:-}" ]; then
  echo "no_display: start this through tools/with-wine.sh" >&2
  exit 2
fi
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder" || exit 1
printf 'Zelvo Demo\n' >.UnInst.inf
env -u DISPLAY timeout 60 /usr/lib/wine/wine64 "$1" </dev/null 2>/dev/null
code=$?
status=0
[ $code -eq 0 ] || { echo "no_display: exit code $code, expected 0 (255 is -1, 124 a hang)"; status=1; }
printf 'Zelvo Demo\n' | cmp -s - .UnInst.inf || { echo "no_display: the record changed"; status=1; }
exit $status
