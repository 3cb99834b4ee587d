#!/usr/bin/env bash
# Starts a PulseAudio daemon with a null sink for this checkout's Wine tests (no sound hardware
# needed): Wine then shows mixer devices whose wave mute switches the engine walks. Quiet when
# PulseAudio is not installed or the daemon already runs. The socket is the one wine-env.sh names.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
command -v pulseaudio >/dev/null 2>&1 || exit 0
mkdir -p "$STAGEHOST_PULSE_DIR"
chmod 700 "$STAGEHOST_PULSE_DIR"
export XDG_RUNTIME_DIR=$STAGEHOST_PULSE_DIR
pulseaudio --check 2>/dev/null && exit 0
log=$(mktemp -t stagehost-pulse.XXXXXX)
trap 'rm -f "$log"' EXIT
# Without it the tests still pass, but the mixer tests walk no devices: say so, and go on.
if ! pulseaudio --daemonize=yes --exit-idle-time=-1 -n --load="module-null-sink sink_name=nul" \
     --load=module-native-protocol-unix >"$log" 2>&1 </dev/null; then
  echo "Sound server: pulseaudio did not start (the mixer tests will find no devices):" >&2
  tail -n 5 "$log" >&2
  exit 0
fi
for _ in $(seq 50); do [ -S "$STAGEHOST_PULSE_DIR/pulse/native" ] && break; sleep 0.1; done
