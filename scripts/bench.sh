#!/usr/bin/env bash
# Builds the benchmarks without sanitizers and runs each; every one prints its measured values and
# its ratio against a baseline measured in the same run. The native ones measure the payload code;
# the Windows ones (bench/win32) run the real engine under Wine: start-up to the movie shown, the
# extraction of a 64 MiB payload, and the CPU the engine uses while it supervises an idle movie.
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

scripts/wine-prefix.sh
source scripts/wine-env.sh
# The engine benchmarks run for both builds, each packing the engine and stand-ins of its own tree.
archs=(x86_64)
i386=$(scripts/i386-exec.sh probe)
case "$i386" in
  native) [ -x "$WINE32" ] && archs+=(i686) ;;
  qemu) echo "== i686 engine benchmarks: not run (32-bit code runs through qemu-user here, so its times say nothing)" ;;
  *) echo "== i686 engine benchmarks: not run (${i386#none: })" ;;
esac
for arch in "${archs[@]}"; do
  dir=build/bench-$arch
  [ -f "$dir/build.ninja" ] ||
    cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/toolchain-mingw-$arch.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
  ninja -C "$dir" -j "$(nproc)" wine_benches
  export STAGEHOST_BIN_DIR=$root/$dir
  for src in bench/win32/bench_*.cpp; do
    name=$(basename "$src" .cpp)
    echo "== $name ($arch engine under Wine)"
    scripts/wine-run.sh "$arch" "$dir/bench/win32/$name.exe" || status=1
  done
done
exit $status
