#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: native unit tests (with
# sanitizers) and short fuzz runs, then the Win32 tests and end-to-end runs of the real engine
# under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
scripts/build.sh
scripts/wine-prefix.sh
source scripts/wine-env.sh

status=0
echo "== native tests"
ctest --test-dir build/native --output-on-failure -j "$(nproc)" || status=1
# Fuzz smoke: the libFuzzer fuzzers of tests/fuzz (clang) run briefly over their committed corpora.
echo "== fuzz smoke runs"
if { [ -f build/fuzz/build.ninja ] ||
     CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DSTAGEHOST_FUZZ=ON >/dev/null; } &&
   ninja -C build/fuzz -j "$(nproc)" fuzzers; then
  ctest --test-dir build/fuzz -L fuzz --output-on-failure -j "$(nproc)" || status=1
else
  status=1
fi
echo "== Windows tests under Wine"
# One at a time: engines of different tests would share slot-0 names and global hooks.
ctest --test-dir build/win64 --output-on-failure -j 1 || status=1
exit $status
