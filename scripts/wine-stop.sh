#!/usr/bin/env bash
# Stops what the demo and test commands leave running for the next run: the wineserver of this
# checkout's prefix (with Wine's desktop and services) and the Xvfb that wine-prefix.sh started.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
"$WINESERVER" -k >/dev/null 2>&1 || true
pidfile="$WINEPREFIX/.stagehost-xvfb-pid"
if [ -f "$pidfile" ]; then
  kill "$(cat "$pidfile")" 2>/dev/null || true
  rm -f "$pidfile" "$WINEPREFIX/.stagehost-display"
fi
echo "Stopped the wineserver of $WINEPREFIX and its Xvfb."
