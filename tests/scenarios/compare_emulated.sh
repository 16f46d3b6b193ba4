#!/bin/sh
# Flies one flight with the native host twice: on the native modules (.so)
# and on the real 32-bit .gau files in its emulated loader. The event logs
# must be identical; with "copies" each is also flown with every gauge
# placed as the host's own copy, and all four logs must be identical.
# usage: compare_emulated.sh same|copies HOST FLIGHT SOUND_ROOT WORK_DIR NATIVE_MODULES GAU_MODULES
set -eu
mode=$1 host=$2 flight=$3 root=$4 work=$5 native=$6 gau=$7
name=$(basename "$flight" .flight)
mkdir -p "$work"
fly() {
  "$host" fly "$flight" --root "$root" --modules "$1" --loader "$2" --log "$work/$name.$3.log" $4
}
fly "$native" native native ""
fly "$gau" emulated emulated ""
runs="emulated"
if [ "$mode" = copies ]; then
  fly "$native" native native.copies --own-copies
  fly "$gau" emulated emulated.copies --own-copies
  runs="emulated native.copies emulated.copies"
fi
for run in $runs; do
  if ! cmp -s "$work/$name.native.log" "$work/$name.$run.log"; then
    echo "event logs differ for $flight (native, $run):"
    diff -u "$work/$name.native.log" "$work/$name.$run.log" | head -40
    exit 1
  fi
done
echo "$flight: $(wc -l < "$work/$name.native.log") lines, identical natively and emulated ($mode)"
