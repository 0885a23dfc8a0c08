#!/usr/bin/env bash
# The demonstration itself, inside the private Wine session that tools/demo.sh opens.
set -euo pipefail
bin=$PWD/build/win64/bin
out=$PWD/build/demo
mkdir -p "$out"
wine() { /usr/lib/wine/wine64 "$@" </dev/null 2>/dev/null; }
drive_c=$WINEPREFIX/drive_c
app="$drive_c/Zelvo Demo"
uninstaller="$drive_c/Zelvo Uninstall"
shared_key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\SharedDLLs'

# The product as its installer left it.
mkdir -p "$app" "$uninstaller"
echo "Zelvo Demo 1.0: read me" > "$app/readme.txt"
cp "$bin/zelvo_sleep.exe" "$app/zclean.exe"          # the clean-up command
cp "$bin/zelvo_component.dll" "$app/zview.ocx"       # a component that unregisters itself
cp "$bin/zelvo_plain.dll" "$app/zshared.dll"         # a shared DLL used by this product only
cp "$bin/zelvo_plain.dll" "$drive_c/windows/system32/zcommon.dll"  # shared with another product
cp "$bin/Uninstall.exe" "$uninstaller/"
wine reg add 'HKCU\Software\Zelvo\Demo' /v Version /d 1.0 /f >/dev/null
wine reg add "$shared_key" /v 'C:\Zelvo Demo\zshared.dll' /t REG_DWORD /d 1 /f >/dev/null
wine reg add "$shared_key" /v 'C:\windows\system32\zcommon.dll' /t REG_DWORD /d 2 /f >/dev/null
printf 'group Zelvo Demo\nitem Zelvo Demo\nitem Read Me\n' > "$out/progman-setup.txt"

# The record, in the order the installer did things; it is undone from the last line up.
cat > "$uninstaller/.UnInst.inf" <<'RECORD'
Zelvo Demo 1.0
d   C:\Zelvo Demo
f    0 0 C:\Zelvo Demo\readme.txt
f    0 0 C:\Zelvo Demo\zview.ocx.unregistered
f    0 0 C:\Zelvo Demo\zview.ocx
i   C:\Zelvo Demo\zshared.dll
i   C:\windows\system32\zcommon.dll
k   HKEY_CURRENT_USER Software\Zelvo\Demo
p     Zelvo Demo@Zelvo Demo
p     Zelvo Demo@Read Me
f    0 0 C:\Zelvo Demo\zclean.exe
c   "C:\Zelvo Demo\zclean.exe" 1500
RECORD
sed -i 's/$/\r/' "$uninstaller/.UnInst.inf"

state() {
  for f in readme.txt zview.ocx zshared.dll zclean.exe; do
    [ -e "$app/$f" ] && echo "  file C:\\Zelvo Demo\\$f: present" || echo "  file C:\\Zelvo Demo\\$f: removed"
  done
  [ -d "$app" ] && echo "  directory C:\\Zelvo Demo: present" || echo "  directory C:\\Zelvo Demo: removed"
  wine reg query 'HKCU\Software\Zelvo\Demo' >/dev/null && echo "  key HKEY_CURRENT_USER\\Software\\Zelvo\\Demo: present" \
    || echo "  key HKEY_CURRENT_USER\\Software\\Zelvo\\Demo: removed"
  for v in 'C:\Zelvo Demo\zshared.dll' 'C:\windows\system32\zcommon.dll'; do
    count=$(wine reg query "$shared_key" /v "$v" | tr -d '\r' | awk '/REG_DWORD/ { print $NF }' || true)
    echo "  shared count of $v: ${count:-no value}"
  done
  [ -e "$drive_c/windows/system32/zcommon.dll" ] && echo "  file C:\\windows\\system32\\zcommon.dll: present"
}
echo "Before:"; state
echo "  Program Manager: group Zelvo Demo with items Zelvo Demo, Read Me"

winpath() { echo "Z:${1//\//\\}"; }
args=(--pane "$(winpath "$out/pane.txt")" --hold "$(winpath "$out/hold")"
      --progman "$(winpath "$bin/zelvo_progman_server.exe")" "$(winpath "$out/progman-setup.txt")" "$(winpath "$out/progman.log")")
rm -f "$out/hold" "$out/drive.txt"
if [ -n "${ZELVO_DEMO_USER:-}" ]; then
  echo; echo "The window is on your display: press OK, watch the pane, then press Close."
  args+=(--user); touch "$out/hold"
fi
/usr/lib/wine/wine64 "$bin/zelvo_drive.exe" "${args[@]}" "$(winpath "$uninstaller/Uninstall.exe")" \
  "$(winpath "$uninstaller")" >"$out/drive.txt" 2>&1 </dev/null &
driver=$!
if [ -z "${ZELVO_DEMO_USER:-}" ]; then
  for _ in $(seq 600); do grep -q '^finished:' "$out/drive.txt" 2>/dev/null && break; sleep 0.2; done
  sleep 0.3  # the pane is drawn within 100 ms of its last report
  read -r x y w h < <(sed -n 's/^window: //p' "$out/drive.txt" | tr -d '\r')
  import -window root -crop "${w}x${h}+${x}+${y}" "$out/zelvo-uninstall.png" && echo "Screenshot: $out/zelvo-uninstall.png"
  touch "$out/hold"
fi
wait $driver || true

echo; echo "The pane's account:"; tr -d '\r' < "$out/pane.txt" | sed 's/^/  /'; echo
echo; echo "After:"; state
groups=$(sed -n 's/^group //p' "$out/progman.log" | tr -d '\r')
echo "  Program Manager: ${groups:-no group left}"
echo "  record C:\\Zelvo Uninstall\\.UnInst.inf: $([ -e "$uninstaller/.UnInst.inf" ] && echo present || echo removed)"
echo "  exit code: $(sed -n 's/^exit-code: //p' "$out/drive.txt" | tr -d '\r')"
