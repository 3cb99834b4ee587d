#!/usr/bin/env bash
# Runs a Windows program of the build under Wine in the shared prefix (CMake's cross-compiling
# emulator). Usage: wine-run.sh i686|x86_64 program.exe [arguments...]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
case "${1:-}" in
  i686) shift; exec "$WINE32" "$@" ;;
  x86_64) shift; exec "$WINE64" "$@" ;;
  *) echo "usage: $0 i686|x86_64 program.exe [arguments...]" >&2; exit 2 ;;
esac
