#!/usr/bin/env bash
# Runs one fuzz target over its committed seed corpus, for the options given
# (e.g. -runs=20000 -max_len=4096), and fails on any crash, leak, timeout or
# failed check. New inputs go to a fresh work folder, never into the corpus;
# a failing input is saved there as crash-*, leak-*, timeout-* or oom-*.
#   fuzz/run-fuzzer.sh EXECUTABLE SEED_CORPUS WORK_FOLDER [libFuzzer options]
set -euo pipefail
fuzzer=$1 seeds=$2 work=$3
shift 3

rm -rf "$work"
mkdir -p "$work/corpus"
# One fixed seed: CI explores the same inputs every run, so a failure repeats.
"$fuzzer" -seed=1 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$work/" "$@" "$work/corpus" "$seeds" 2>"$work/log" || {
  status=$?
  tail -n 60 "$work/log"
  echo "fuzz: $(basename "$fuzzer") failed (status $status); its input is in $work/"
  ls "$work" | grep -E '^(crash|leak|timeout|oom|slow-unit)-' || true
  exit 1
}
grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$work/log" || true
