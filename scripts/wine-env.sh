# Sourced by the scripts that run Windows binaries: one prefix per checkout, reused by every test.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${STAGEHOST_WINEPREFIX:-$root/build/wineprefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# Never wait for Mono or Gecko downloads.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
# Tests run on the display recorded by wine-prefix.sh when none is given.
if [ -z "${DISPLAY:-}" ] && [ -f "$WINEPREFIX/.stagehost-display" ]; then
  export DISPLAY=$(cat "$WINEPREFIX/.stagehost-display")
fi
# The null-sink sound server of scripts/sound-server.sh, when PulseAudio is installed.
export STAGEHOST_PULSE_DIR=${STAGEHOST_PULSE_DIR:-$root/build/pulse}
if command -v pulseaudio >/dev/null 2>&1; then
  export PULSE_SERVER=unix:$STAGEHOST_PULSE_DIR/pulse/native
fi
