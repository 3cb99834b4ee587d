# Sourced by the scripts that run Windows binaries: one prefix per checkout, reused by every test.
# shellcheck shell=bash
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${STAGEHOST_WINEPREFIX:-$root/build/wineprefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# Never wait for Mono or Gecko downloads.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
# Debian's `wine` starts the 32-bit loader first for every program once 32-bit Wine is installed
# (under qemu-user that costs most of a minute): 64-bit programs and Wine's own tools are started
# with the 64-bit loader, 32-bit ones with the 32-bit loader.
WINE64=/usr/lib/wine/wine64
WINE32=/usr/lib/wine/wine
WINESERVER=/usr/lib/wine/wineserver
# Tests run on the display recorded by wine-prefix.sh when none is given.
if [ -z "${DISPLAY:-}" ] && [ -f "$WINEPREFIX/.stagehost-display" ]; then
  DISPLAY=$(cat "$WINEPREFIX/.stagehost-display")
  export DISPLAY
fi
# The null-sink sound server of scripts/sound-server.sh, when PulseAudio is installed.
export STAGEHOST_PULSE_DIR=${STAGEHOST_PULSE_DIR:-$root/build/pulse}
if command -v pulseaudio >/dev/null 2>&1; then
  export PULSE_SERVER=unix:$STAGEHOST_PULSE_DIR/pulse/native
fi
