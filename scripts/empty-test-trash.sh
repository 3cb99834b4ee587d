#!/usr/bin/env bash
# Empties what the Windows tests' engines sent to the Recycle Bin (a CTest fixture cleanup after
# the Wine tests). Under Wine the bin is the user's trash folder, outside the prefix. Wine's
# desktop keeps every library that a global hook brought into it loaded, so a 64-bit engine
# cannot delete its hook library at the end and sends its working directory there, as its last
# resort; the tests cannot empty those items themselves while the desktop maps the library.
# Only items that came from this prefix's test directories ("sh_...") are touched.
# Usage: empty-test-trash.sh
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

trash=${XDG_DATA_HOME:-$HOME/.local/share}/Trash
[ -d "$trash/info" ] || exit 0
removed=0
for info in "$trash"/info/*.trashinfo; do
  [ -f "$info" ] || continue
  path=$(sed -n 's/^Path=//p' "$info")
  case "$path" in
    "$WINEPREFIX"/*/sh_*) ;;
    *) continue ;;
  esac
  name=$(basename "$info" .trashinfo)
  rm -rf "${trash:?}/files/$name"
  rm -f "$info"
  removed=$((removed + 1))
done
echo "test trash: removed $removed item(s) that the tests of $WINEPREFIX sent to the Recycle Bin"
