#!/usr/bin/env bash
# A fuzzing campaign: runs every fuzzer of tests/fuzz in turn (one core) for the given seconds,
# growing a corpus of its own in build/fuzz-corpus/<fuzzer> (seeded from the committed
# tests/fuzz/corpus/<fuzzer>, kept between campaigns), and prints per fuzzer the executions, the
# coverage, the corpus size and any crash, leak or timeout with its input and a command that
# reproduces it. With --merge, the inputs of the grown corpus that reach new code are then merged
# into the committed corpus (libFuzzer's -merge=1; the committed inputs stay as they are).
# Usage: scripts/fuzz.sh [--merge] [seconds per fuzzer, default 600; 0: no run] [fuzzer...]
# Exits non-zero when a fuzzer found a fault.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

merge=0
if [ "${1:-}" = --merge ]; then merge=1; shift; fi
seconds=${1:-600}
shift || true
case "$seconds" in
  '' | *[!0-9]*) echo "usage: scripts/fuzz.sh [--merge] [seconds per fuzzer] [fuzzer...]" >&2; exit 2 ;;
esac

scripts/fuzz-build.sh >/dev/null
list=build/fuzz/tests/fuzz/fuzzers.txt
corpora=$root/build/fuzz-corpus
findings=$root/build/fuzz-findings
logs=$root/build/fuzz-logs
mkdir -p "$corpora" "$findings" "$logs"

declare -A wanted=()
for name in "$@"; do wanted[$name]=1; done
status=0
summary=()

# The last value of "<key>: <number>" in libFuzzer's status lines (cov, ft) or final stats.
last_figure() {  # key, log
  sed -n "s/.*$1:[[:space:]]*\\([0-9][0-9]*\\).*/\\1/p" "$2" | tail -n 1
}

run_fuzzer() {  # name, executable, options...
  local name=$1 fuzzer=$2; shift 2
  local corpus=$corpora/$name artifacts=$findings/$name/ log=$logs/$name.log
  mkdir -p "$corpus" "$artifacts"
  # The committed seeds join the grown corpus under their own names; libFuzzer names its own
  # inputs by content, so nothing is overwritten.
  cp -n tests/fuzz/corpus/"$name"/* "$corpus"/
  local result=0
  echo "== $name: ${seconds} s, log $log"
  # One process (-fork would hide the crash output), so a fault ends the fuzzer's run.
  "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$artifacts" "$@" "$corpus" \
    >"$log" 2>&1 || result=$?

  local executions per_second start_cov cov ft units rss
  executions=$(last_figure stat::number_of_executed_units "$log")
  per_second=$(last_figure stat::average_exec_per_sec "$log")
  start_cov=$(sed -n 's/.*INITED cov: \([0-9]*\).*/\1/p' "$log" | head -n 1)
  cov=$(last_figure cov "$log")
  ft=$(last_figure ft "$log")
  units=$(find "$corpus" -type f | wc -l)
  rss=$(last_figure stat::peak_rss_mb "$log")
  local line="$name: ${executions:-?} executions (${per_second:-?}/s), coverage ${cov:-?} edges"
  line+=" (${start_cov:-?} at start), ${ft:-?} features, corpus $units inputs, peak RSS ${rss:-?} MB"

  # Every input written to the artifact directory in this run: crash-, leak-, timeout-, oom-,
  # slow-unit- (the last is only a note).
  local input kind found=0
  while read -r input; do
    kind=$(basename "$input"); kind=${kind%%-*}
    [ "$kind" = slow ] && { line+="; slow input $input"; continue; }
    found=1
    line+=$'\n'"  $kind: $input"
    line+=$'\n'"  reproduce: $fuzzer $* $input"
  done < <(sed -n 's/.*Test unit written to \(.*\)/\1/p' "$log")
  if [ "$result" -ne 0 ] || [ "$found" -ne 0 ]; then
    status=1
    local what
    # The first report: a sanitizer's or libFuzzer's error, UBSan's runtime error or a harness check.
    what=$(grep -m 1 -E '^==[0-9]+== ?ERROR|runtime error:|^fuzz check failed|^SUMMARY' "$log" || true)
    line+=$'\n'"  FAULT (exit $result): ${what:-see the log}"
  else
    line+="; no crash"
  fi
  summary+=("$line")
  echo "$line"
}

merge_fuzzer() {  # name, executable, options...
  local name=$1 fuzzer=$2; shift 2
  local committed=tests/fuzz/corpus/$name before after
  before=$(find "$committed" -type f | wc -l)
  # Into the committed corpus, only what adds edges to it: with the hit counts as well, a campaign's
  # hundreds of inputs would come along for little more than loop counts.
  "$fuzzer" -merge=1 -use_counters=0 "$@" "$committed" "$corpora/$name" >"$logs/$name.merge.log" 2>&1 || {
    echo "$name: merge failed, log $logs/$name.merge.log"; status=1; return; }
  after=$(find "$committed" -type f | wc -l)
  echo "$name: merged $((after - before)) inputs into $committed ($after now)"
}

for name in "${!wanted[@]}"; do
  cut -f 1 "$list" | grep -qx "$name" || { echo "no fuzzer $name; the fuzzers: $(cut -f 1 "$list" | xargs)" >&2; exit 2; }
done
while IFS=$'\t' read -r name fuzzer options; do
  [ ${#wanted[@]} -eq 0 ] || [ -n "${wanted[$name]:-}" ] || continue
  # shellcheck disable=SC2086 # the options are words of their own
  if [ "$seconds" -gt 0 ]; then run_fuzzer "$name" "$fuzzer" $options; fi
  # shellcheck disable=SC2086
  if [ "$merge" -eq 1 ]; then merge_fuzzer "$name" "$fuzzer" $options; fi
done <"$list"

if [ "$seconds" -gt 0 ]; then
  echo "== summary (${seconds} s per fuzzer)"
  printf '%s\n' "${summary[@]}"
fi
exit $status
