#!/usr/bin/env bash
# Stops what the demo and test commands leave running for the next run: the wineserver of this
# checkout's prefix (with Wine's desktop and services), the Xvfb that wine-prefix.sh started and the
# sound server of sound-server.sh.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
"$WINESERVER" -k >/dev/null 2>&1 || true
pidfile="$WINEPREFIX/.stagehost-xvfb-pid"
if [ -f "$pidfile" ]; then
  kill "$(cat "$pidfile")" 2>/dev/null || true
  rm -f "$pidfile" "$WINEPREFIX/.stagehost-display"
fi
if command -v pulseaudio >/dev/null 2>&1 && [ -d "$STAGEHOST_PULSE_DIR" ]; then
  XDG_RUNTIME_DIR=$STAGEHOST_PULSE_DIR pulseaudio --kill >/dev/null 2>&1 || true
fi
echo "Stopped the wineserver of $WINEPREFIX and its Xvfb."
