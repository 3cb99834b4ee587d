#!/usr/bin/env bash
# Builds the engine, packs the demo distributable an author would ship (the 32-bit engine with the
# stand-in movie player, hook library, music and settings) and runs it under Wine - on Xvfb when
# there is no display - saving a screenshot of the movie playing inside the engine's window to
# out/demo-screenshot.png. The movie then sends the engine "vcommand:fullscreen", and
# out/demo-fullscreen.png shows it filling the screen. Where this machine cannot run 32-bit code at
# full speed it uses the x86_64 build and says so.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
source scripts/wine-env.sh

i386=$(scripts/i386-exec.sh probe)
tree=win32 loader=$WINE32
if [[ $i386 == none* ]] || [ ! -x "$WINE32" ]; then
  echo "The 32-bit engine cannot run here (${i386#none: }): the demo uses the x86_64 build."
  tree=win64 loader=$WINE64
elif [ "$i386" = qemu ]; then
  # Measured: a 32-bit Wine process needs one to two minutes to start under qemu-user, and the
  # engine gives the projector's window 22 s to appear, so the movie would never be captured.
  echo "32-bit code runs only through qemu-user here, too slowly for the engine to capture its movie: the demo uses the x86_64 build."
  tree=win64 loader=$WINE64
fi
STAGEHOST_DEMO_ONLY=$tree scripts/build.sh
scripts/wine-prefix.sh
source scripts/wine-env.sh

mkdir -p out
demo=out/stagehost-demo.exe
build/native/tools/stagepack/stagepack build -e "build/$tree/stagehost.exe" -o "$demo" \
  "build/$tree/standin_projector10.exe" "build/$tree/quenbyrun.dll" "build/$tree/standin_music.mid" \
  standins/demo/settings.ini
echo "Packed $demo from build/$tree"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
report=$work/report.txt
# The stand-in movie ends by itself after a while, as a movie that quits would; the engine then
# cleans up and exits.
STANDIN_REPORT="Z:${report//\//\\}" STANDIN_EXIT_AFTER_MS=${STAGEHOST_DEMO_MS:-12000} \
  STANDIN_SEND_TEXT=vcommand:fullscreen STANDIN_SEND_AFTER_MS=4000 "$loader" "$demo" &
engine=$!
# The stand-in projector reports its parent once it has been captured into the engine's window.
for _ in $(seq 150); do
  grep -q '^parent=[1-9]' "$report" 2>/dev/null && break
  sleep 0.2
done
grep -q '^parent=[1-9]' "$report" 2>/dev/null || echo "The movie was not captured in time; the screenshot shows what there is."
sleep 2
# The screenshot shows Wine's virtual desktop, not the rest of a larger screen.
desktop=$(xwininfo -root -tree | awk '/Wine desktop/ { print $1; exit }')
import -display "$DISPLAY" -window "${desktop:-root}" out/demo-screenshot.png
echo "Screenshot: out/demo-screenshot.png"
# The movie reports the command it sent and the engine's answer.
for _ in $(seq 100); do
  grep -q '^sent=1' "$report" 2>/dev/null && break
  sleep 0.2
done
sleep 1.5
import -display "$DISPLAY" -window "${desktop:-root}" out/demo-fullscreen.png
echo "The movie sent: $(grep '^last_sent=' "$report" | cut -d= -f2- | tr -d '\r')," \
  "answered $(grep '^last_answer=' "$report" | cut -d= -f2 | tr -d '\r')"
echo "Screenshot: out/demo-fullscreen.png"
status=0
wait $engine || status=$?
if [ $status -eq 0 ]; then echo "The engine ended normally."; else echo "The engine ended with exit status $status."; fi
echo "Still running for the next run: Xvfb (when this script started it), Wine's wineserver and desktop; scripts/wine-stop.sh stops them."
exit $status
