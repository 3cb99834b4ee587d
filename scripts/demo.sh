#!/usr/bin/env bash
# Builds the engine, packs the demo distributable (stand-in movie player, hook library, settings)
# and runs it under Wine - on Xvfb when there is no display - saving a screenshot of the movie
# playing inside the engine's window to out/demo-screenshot.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
STAGEHOST_DEMO_ONLY=1 scripts/build.sh
scripts/wine-prefix.sh
source scripts/wine-env.sh

mkdir -p out
demo=out/stagehost-demo.exe
build/native/tools/stagepack/stagepack build --engine build/win64/stagehost.exe --output "$demo" \
  build/win64/standin_projector10.exe=:player.exe \
  build/win64/quenbyrun.dll \
  standins/demo/settings.ini
echo "Packed $demo"

report=$(mktemp -d)/report.txt
STANDIN_REPORT="Z:${report//\//\\}" wine "$demo" &
engine=$!
# The stand-in projector reports once it has been captured into the engine's window.
for _ in $(seq 150); do
  grep -q '^captured=1' "$report" 2>/dev/null && break
  sleep 0.2
done
sleep 1.5
import -display "$DISPLAY" -window root out/demo-screenshot.png
echo "Screenshot: out/demo-screenshot.png"
# Close the movie the way a user would (Esc ends the presentation); then wait for the cleanup.
wine "$root/build/win64/standin_close.exe" >/dev/null 2>&1 || true
wait $engine || true
