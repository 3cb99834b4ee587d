#!/usr/bin/env bash
# Configures and builds the three trees: native (portable code, tests with sanitizers, stagepack),
# win32 (the shipped i686 engine, its stand-ins and Win32 tests) and win64 (the x86_64 twin with
# its own).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${STAGEHOST_JOBS:-$(nproc)}

configure() {  # dir, extra cmake args...
  local dir=$1; shift
  [ -f "$dir/build.ninja" ] || cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
}
configure build/native -DSTAGEHOST_SANITIZE=ON
# The shipped engine: optimised and stripped.
configure build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_EXE_LINKER_FLAGS_RELEASE=-s
configure build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake \
  -DSTAGEHOST_I686_BUILD_DIR="$root/build/win32"

if [ -n "${STAGEHOST_DEMO_ONLY:-}" ]; then
  # The demo needs the packer and one engine with its stand-ins, nothing else.
  ninja -C build/native -j "$jobs" stagepack
  ninja -C "build/$STAGEHOST_DEMO_ONLY" -j "$jobs" stagehost standins
  exit 0
fi
for tree in native win32 win64; do
  echo "== building $tree"
  ninja -C "build/$tree" -j "$jobs"
done
