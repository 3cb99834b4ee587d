#!/usr/bin/env bash
# Builds the benchmarks without sanitizers and runs each; every one prints its measured values and
# its ratio against a baseline measured in the same run. The native ones measure the payload code;
# the Windows ones (bench/win32) run the real engine under Wine: start-up to the movie shown, and
# the CPU the engine uses while it supervises an idle movie.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh

status=0
[ -f build/bench/build.ninja ] || cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C build/bench -j "$(nproc)"
for src in bench/*.cpp; do
  name=$(basename "$src" .cpp)
  echo "== $name"
  "build/bench/bench/$name" || status=1
done

[ -f build/bench-win64/build.ninja ] ||
  cmake -S . -B build/bench-win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C build/bench-win64 -j "$(nproc)" wine_benches
scripts/wine-prefix.sh
# The benchmarks pack the engine and the stand-ins of their own build tree.
export STAGEHOST_BIN_DIR=$root/build/bench-win64
for src in bench/win32/bench_*.cpp; do
  name=$(basename "$src" .cpp)
  echo "== $name (under Wine)"
  scripts/wine-run.sh "build/bench-win64/bench/win32/$name.exe" || status=1
done
exit $status
