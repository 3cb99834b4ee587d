#!/usr/bin/env bash
# CMAKE_CROSSCOMPILING_EMULATOR: runs a Windows program of the build under Wine in the shared prefix.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
exec wine "$@"
