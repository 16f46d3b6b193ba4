#!/bin/sh
# run_fuzzer.sh FUZZER SECONDS WORK_DIR SEED.gau...
# Fuzzes the inspector for a bounded time, starting from copies of our own
# modules. New inputs and any crash file stay in WORK_DIR.
set -eu
fuzzer=$1
seconds=$2
work=$3
shift 3
if [ ! -x "$fuzzer" ]; then
  echo "run_fuzzer.sh: no fuzzer at $fuzzer: build gaugeinspect_fuzz in the native build" >&2
  exit 1
fi
rm -rf "$work"
mkdir -p "$work/corpus" "$work/seeds"
for seed in "$@"; do cp "$seed" "$work/seeds/"; done
cd "$work"
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 corpus seeds
