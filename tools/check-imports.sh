#!/usr/bin/env bash
# The program must be one self-contained file: its import table may name system DLLs only.
set -uo pipefail
cd "$(dirname "$0")/.."
allowed='^(KERNEL32|USER32|ADVAPI32|OLE32|GDI32|msvcrt|COMCTL32)\.dll$'
status=0
for target in x86_64:build/win64 i686:build/win32; do
  exe=${target#*:}/bin/Uninstall.exe
  dlls=$(${target%%:*}-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
  bad=$(echo "$dlls" | grep -viE "$allowed")
  if [ -n "$bad" ]; then
    echo "imports: $exe FAILED, not a system DLL: $(echo $bad)"; status=1
  else
    echo "imports: $exe ok ($(echo $dlls))"
  fi
done
exit $status
