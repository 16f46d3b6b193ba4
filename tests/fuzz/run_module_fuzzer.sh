#!/bin/sh
# run_module_fuzzer.sh FUZZER SECONDS WORK_DIR SEEDS_DIR REGRESSIONS_DIR DICT
# Replays every kept regression input once, then fuzzes for SECONDS starting
# from the seed flights and the regressions. New inputs stay in WORK_DIR/corpus;
# a crashing input is written to WORK_DIR as crash-*: once fixed, keep it in
# REGRESSIONS_DIR so that every later run replays it.
set -eu
fuzzer=$1
seconds=$2
work=$3
seeds=$4
regressions=$5
dict=$6
rm -rf "$work"
mkdir -p "$work/corpus"
kept=$(find "$regressions" -type f ! -name '.*' 2>/dev/null | sort)
if [ -n "$kept" ]; then
  # shellcheck disable=SC2086  # one argument per kept input
  "$fuzzer" $kept
fi
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -dict="$dict" \
  -artifact_prefix="$work/" -print_final_stats=1 "$work/corpus" "$seeds" 2>"$work/fuzz.err" ||
  { status=$?; cat "$work/fuzz.err"; echo "kept in $work: $(ls "$work" | grep -v corpus | tr '\n' ' ')"; exit $status; }
execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/fuzz.err")
echo "$(basename "$fuzzer"): $execs inputs flown in $seconds s, no rule broken"
