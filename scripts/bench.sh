#!/usr/bin/env bash
# Builds the benchmarks without sanitizers and runs each; every one prints its measured values and
# its ratio against a baseline measured in the same run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
[ -f build/bench/build.ninja ] || cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C build/bench -j "$(nproc)"
for src in bench/*.cpp; do
  name=$(basename "$src" .cpp)
  echo "== $name"
  "build/bench/bench/$name"
done
