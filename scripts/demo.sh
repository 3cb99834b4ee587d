#!/usr/bin/env bash
# Builds the engine, packs the demo distributable (stand-in movie player, hook library, settings)
# and runs it under Wine - on Xvfb when there is no display - saving a screenshot of the movie
# playing inside the engine's window to out/demo-screenshot.png. The movie then sends the engine
# "vcommand:fullscreen", and out/demo-fullscreen.png shows it filling the screen.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
STAGEHOST_DEMO_ONLY=1 scripts/build.sh
scripts/wine-prefix.sh
source scripts/wine-env.sh

mkdir -p out
demo=out/stagehost-demo.exe
build/native/tools/stagepack/stagepack build -e build/win64/stagehost.exe -o "$demo" \
  build/win64/standin_projector10.exe build/win64/quenbyrun.dll standins/demo/settings.ini
echo "Packed $demo"

work=$(mktemp -d)
report=$work/report.txt
# The stand-in movie ends by itself after a while, as a movie that quits would; the engine then
# cleans up and exits.
STANDIN_REPORT="Z:${report//\//\\}" STANDIN_EXIT_AFTER_MS=${STAGEHOST_DEMO_MS:-12000} \
  STANDIN_SEND_TEXT=vcommand:fullscreen STANDIN_SEND_AFTER_MS=4000 wine "$demo" &
engine=$!
# The stand-in projector reports its parent once it has been captured into the engine's window.
for _ in $(seq 150); do
  grep -q '^parent=[1-9]' "$report" 2>/dev/null && break
  sleep 0.2
done
sleep 2
import -display "$DISPLAY" -window root out/demo-screenshot.png
echo "Screenshot: out/demo-screenshot.png"
# The movie reports the command it sent and the engine's answer.
for _ in $(seq 100); do
  grep -q '^sent=1' "$report" 2>/dev/null && break
  sleep 0.2
done
sleep 1.5
import -display "$DISPLAY" -window root out/demo-fullscreen.png
echo "The movie sent: $(grep '^last_sent=' "$report" | cut -d= -f2- | tr -d '\r')," \
  "answered $(grep '^last_answer=' "$report" | cut -d= -f2 | tr -d '\r')"
echo "Screenshot: out/demo-fullscreen.png"
wait $engine && echo "The engine ended normally."
rm -rf "$work"
