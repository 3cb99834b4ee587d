#!/usr/bin/env bash
# Configures (once) and builds the libFuzzer fuzzers of tests/fuzz with clang in build/fuzz: the
# tree of the test script's smoke runs and of the longer campaigns of scripts/fuzz.sh.
# Usage: scripts/fuzz-build.sh [parallel jobs]   (default: one per core)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${1:-$(nproc)}
if [ ! -f build/fuzz/build.ninja ]; then
  CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DSTAGEHOST_FUZZ=ON >/dev/null
fi
ninja -C build/fuzz -j "$jobs" fuzzers
