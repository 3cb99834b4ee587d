#!/usr/bin/env bash
# Prepares the Wine prefix once (virtual desktop, no Mono/Gecko, 32-bit support where 32-bit Wine
# is installed), starts Xvfb when there is no display, and keeps the wineserver and Wine's desktop
# running so each test starts quickly. scripts/wine-stop.sh stops them again.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/wine-env.sh"
mkdir -p "$WINEPREFIX"
log=$(mktemp -t stagehost-wine.XXXXXX)
trap 'rm -f "$log"' EXIT

step() {  # what it does, command...
  local what=$1; shift
  if ! "$@" >"$log" 2>&1 </dev/null; then
    echo "Wine prefix: $what failed: $* (exit status $?); its output:" >&2
    tail -n 25 "$log" >&2
    exit 1
  fi
}

if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  # Xvfb picks a free display itself: lock files and sockets of other namespaces say nothing
  # reliable about which numbers are taken. The screen is the size of Wine's virtual desktop.
  displayfile="$WINEPREFIX/.stagehost-xvfb-display"
  rm -f "$displayfile"
  setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 </dev/null &
  echo $! > "$WINEPREFIX/.stagehost-xvfb-pid"
  for _ in $(seq 100); do [ -s "$displayfile" ] && break; sleep 0.1; done
  [ -s "$displayfile" ] || { echo "Wine prefix: Xvfb did not start" >&2; exit 1; }
  DISPLAY=:$(tr -d '\n' < "$displayfile")
  export DISPLAY
  step "waiting for Xvfb on $DISPLAY" xdpyinfo
fi
echo "$DISPLAY" > "$WINEPREFIX/.stagehost-display"
"$here/sound-server.sh"

# 32-bit programs need a prefix made with 32-bit Wine present; one made without it is made anew.
wants32=no
[ -x "$WINE32" ] && [[ $("$here/i386-exec.sh" probe) != none* ]] && wants32=yes
ready="$WINEPREFIX/.stagehost-ready"
if [ -f "$ready" ] && [ "$wants32" = yes ] && ! grep -qx 32-bit "$ready"; then
  echo "Wine prefix $WINEPREFIX has no 32-bit support: making it anew ..."
  "$WINESERVER" -k >/dev/null 2>&1 || true
  "$WINESERVER" -w >/dev/null 2>&1 || true
  find "$WINEPREFIX" -mindepth 1 -maxdepth 1 ! -name '.stagehost-*' -exec rm -rf {} +
  rm -f "$ready"
fi
if [ ! -f "$ready" ]; then
  if [ "$wants32" = yes ]; then
    echo "Preparing Wine prefix $WINEPREFIX with 32-bit support (under qemu-user this takes minutes) ..."
  else
    echo "Preparing Wine prefix $WINEPREFIX ..."
  fi
  step "wineboot --init" "$WINE64" wineboot.exe --init
  # A virtual desktop spares the 2 s that Wine waits per show/hide without a window manager.
  step "setting the virtual desktop" "$WINE64" reg.exe add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
  step "setting its size" "$WINE64" reg.exe add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f
  # No crash dialog: a crashing test program must fail its test, not wait for a click.
  step "switching off the crash dialog" "$WINE64" reg.exe add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
  step "waiting for the wineserver to finish" "$WINESERVER" -w
  if [ "$wants32" = yes ] && [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
    echo "Wine prefix: wineboot made no 32-bit system directory (drive_c/windows/syswow64)" >&2
    exit 1
  fi
  { echo 64-bit; [ "$wants32" = no ] || echo 32-bit; } > "$ready"
fi
# Caption buttons are letters of the symbol font. Debian's Wine 8 looks for its own fonts under a
# path it cannot open ("<data dir>\../fonts"), so without this copy the buttons show "0", "1", "r".
symbol_font="$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf"
[ -f "$symbol_font" ] || step "installing the symbol font" cp /usr/share/wine/fonts/marlett.ttf "$symbol_font"
# Persistent: tests start faster with the wineserver already up (already running is fine).
"$WINESERVER" -p >/dev/null 2>&1 || true
# Start Wine's background processes (services, the virtual desktop) now, detached from our output:
# started by the first test instead, they would inherit its output pipe and CTest would wait for
# them to close it.
step "starting Wine's services" "$WINE64" cmd.exe /c exit
desktop_running() {
  local pid
  for pid in $(pgrep -f 'explorer.exe /desktop'); do
    tr '\0' '\n' < "/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && return 0
  done
  return 1
}
if ! desktop_running; then
  (setsid "$WINE64" explorer.exe /desktop=Default,1024x768 >/dev/null 2>&1 </dev/null &)
  for _ in $(seq 50); do desktop_running && break; sleep 0.1; done
  sleep 1
fi
echo "Wine prefix ready: $WINEPREFIX on display $DISPLAY$([ "$wants32" = no ] || echo ", 32-bit support")"
