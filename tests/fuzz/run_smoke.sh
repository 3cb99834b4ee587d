#!/bin/sh
# A bounded smoke run of one fuzzer over a copy of its committed corpus, so the run adds no
# inputs to the source tree. A crashing input is kept in the artifact directory.
# Usage: run_smoke.sh <fuzzer> <corpus dir> <seconds> <artifact dir> [libFuzzer options...]
set -eu
fuzzer=$1 corpus=$2 seconds=$3 artifacts=$4
shift 4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus" "$artifacts"
cp "$corpus"/* "$work/corpus/"
# -fork would hide the crash output: one process for a bounded total time.
"$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$artifacts/" "$@" "$work/corpus"
