#!/usr/bin/env bash
# Prepares the Wine prefix once (virtual desktop, no Mono/Gecko), starts Xvfb when there is no
# display, and keeps the wineserver alive so each test starts quickly.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  for n in $(seq 90 120); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || break
  done
  Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  export DISPLAY=:$n
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi
mkdir -p "$WINEPREFIX"
"$(dirname "${BASH_SOURCE[0]}")/sound-server.sh"
echo "$DISPLAY" > "$WINEPREFIX/.stagehost-display"

if [ ! -f "$WINEPREFIX/.stagehost-ready" ]; then
  echo "Preparing Wine prefix $WINEPREFIX ..."
  wineboot --init >/dev/null 2>&1 || true
  # A virtual desktop spares the 2 s that Wine waits per show/hide without a window manager.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
  # No crash dialog: a crashing test program must fail its test, not wait for a click.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.stagehost-ready"
fi
wineserver -p >/dev/null 2>&1 || true  # already running is fine
# Start Wine's background processes (services, the virtual desktop) now, detached from our output:
# started by the first test instead, they would inherit its output pipe and CTest would wait for
# them to close it.
wine cmd /c exit >/dev/null 2>&1 </dev/null || true
desktop_running() {
  local pid
  for pid in $(pgrep -f 'explorer.exe /desktop'); do
    tr '\0' '\n' < /proc/$pid/environ 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && return 0
  done
  return 1
}
if ! desktop_running; then
  (setsid wine explorer.exe /desktop=Default,1024x768 >/dev/null 2>&1 </dev/null &)
  sleep 1
fi
echo "Wine prefix ready: $WINEPREFIX on display $DISPLAY"
