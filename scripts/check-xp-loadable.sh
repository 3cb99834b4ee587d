#!/usr/bin/env bash
# Fails when a shipped 32-bit executable would not start on Windows XP: it imports a function that
# XP's system DLLs do not export (scripts/xp-missing-functions.txt), or its PE header asks for a
# subsystem version above 5.1, which XP's loader refuses.
set -euo pipefail
export LC_ALL=C  # one collation for sort and comm
here=$(cd "$(dirname "$0")" && pwd)
list="$here/xp-missing-functions.txt"
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}
[ $# -gt 0 ] || { echo "usage: $0 exe..."; exit 2; }

# "dll function" lines, DLL names in lower case.
missing=$(sed -e 's/#.*//' -e '/^\s*$/d' "$list" | awk '{ print tolower($1) " " $2 }' | sort -u)

status=0
for exe in "$@"; do
  [ -n "$exe" ] || continue
  if [ ! -f "$exe" ]; then echo "missing: $exe"; status=1; continue; fi
  dump=$("$objdump" -p "$exe")
  magic=$(sed -n 's/^Magic\s\+\([0-9a-fA-F]\+\).*/\1/p' <<<"$dump")
  if [ "$magic" != "010b" ]; then echo "$exe: not a 32-bit image (magic $magic)"; status=1; continue; fi

  # Imported functions as "dll function": the rows under each "DLL Name:" of the import table.
  imports=$(awk '
    /^The Import Tables/ { inside = 1; next }
    /^The [A-Z]/ && !/^The Import Tables/ { inside = 0 }
    inside && /DLL Name:/ { dll = tolower($3); next }
    inside && dll != "" && $1 ~ /^[0-9a-fA-F]+$/ && $2 ~ /^[0-9]+$/ && NF >= 3 { print dll " " $3 }
  ' <<<"$dump" | sort -u)
  count=$(grep -c . <<<"$imports" || true)
  if [ "$count" -eq 0 ]; then echo "$exe: no imported functions found (unreadable import table?)"; status=1; continue; fi
  echo "$exe: $count imported functions"

  bad=$(comm -12 <(echo "$missing") <(echo "$imports") || true)
  if [ -n "$bad" ]; then
    while read -r line; do echo "  not on Windows XP: $line"; done <<<"$bad"
    status=1
  fi

  major=$(sed -n 's/^MajorSubsystemVersion\s\+\([0-9]\+\).*/\1/p' <<<"$dump")
  minor=$(sed -n 's/^MinorSubsystemVersion\s\+\([0-9]\+\).*/\1/p' <<<"$dump")
  echo "  subsystem version $major.$minor"
  if [ -z "$major" ] || [ -z "$minor" ] || [ "$major" -gt 5 ] || { [ "$major" -eq 5 ] && [ "$minor" -gt 1 ]; }; then
    echo "  subsystem version $major.$minor is above 5.1"
    status=1
  fi
done
[ $status -eq 0 ] || echo "not loadable on Windows XP"
exit $status
