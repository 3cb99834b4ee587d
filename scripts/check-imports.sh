#!/usr/bin/env bash
# Fails when an executable imports a DLL that Windows does not ship (a forgotten static link).
set -euo pipefail
allowed='^(kernel32|user32|gdi32|advapi32|shell32|winmm|version|msvcrt|comctl32|ole32|oleaut32|shlwapi|ws2_32|comdlg32|ntdll|api-ms-win-crt-[a-z0-9-]+)\.dll$'
status=0
for exe in "$@"; do
  [ -n "$exe" ] || continue
  if [ ! -f "$exe" ]; then echo "missing: $exe"; status=1; continue; fi
  dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
  echo "$exe imports: $(echo $dlls)"
  for dll in $dlls; do
    if ! [[ $dll =~ $allowed ]]; then echo "  not a system DLL: $dll"; status=1; fi
  done
done
exit $status
