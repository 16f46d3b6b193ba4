#!/bin/sh
# run_module_fuzzer.sh FUZZER SECONDS WORK_DIR DICT SEED... -- REGRESSION...
# Replays every kept regression input once, then fuzzes for SECONDS starting
# from the seed flights. New inputs stay in WORK_DIR/corpus; a crashing input
# is written to WORK_DIR as crash-*: once fixed, keep it in the module's
# regressions folder and list it in tests/fuzz/CMakeLists.txt, so that every
# later run replays it.
set -eu
fuzzer=$1
seconds=$2
work=$3
dict=$4
shift 4
rm -rf "$work"
mkdir -p "$work/corpus" "$work/seeds"
# libFuzzer reads seed folders: the listed seeds are copied into one.
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  cp "$1" "$work/seeds/"
  shift
done
if [ $# -gt 0 ]; then
  shift  # the --
fi
if [ $# -gt 0 ]; then
  "$fuzzer" "$@"
fi
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -dict="$dict" \
  -artifact_prefix="$work/" -print_final_stats=1 "$work/corpus" "$work/seeds" 2>"$work/fuzz.err" ||
  { status=$?; cat "$work/fuzz.err"; echo "kept in $work: $(ls "$work" | grep -v corpus | tr '\n' ' ')"; exit $status; }
execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/fuzz.err")
echo "$(basename "$fuzzer"): $execs inputs flown in $seconds s, no rule broken"
