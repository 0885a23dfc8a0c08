#!/usr/bin/env bash
# The main job: sets everything up and runs the uninstaller on a demonstration record.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh
demo=$(mktemp -d /tmp/zelvo-demo.XXXXXX)
trap 'rm -rf "$demo"' EXIT
cp build/win64/bin/Uninstall.exe "$demo/"
printf 'Zelvo Demo 1.0\r\nc   cmd.exe /c echo cleaned\r\n' > "$demo/.UnInst.inf"
echo "demo: starting Uninstall.exe in $demo (press OK, then Close.)"
cd "$demo" && ../../$(pwd)/../tools/with-wine.sh /usr/lib/wine/wine64 Uninstall.exe || true
