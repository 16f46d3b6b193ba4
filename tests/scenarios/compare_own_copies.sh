#!/bin/sh
# Flies one flight twice with one host: on the modules' own records, and with
# every gauge placed as the host's own copy of its header and element chain.
# A gauge that reaches its elements through the header it is given logs the
# same either way.
# usage: compare_own_copies.sh FLIGHT SOUND_ROOT WORK_DIR HOST_COMMAND...
set -eu
flight=$1 root=$2 work=$3
shift 3
name=$(basename "$flight" .flight)
mkdir -p "$work"
"$@" fly "$flight" --root "$root" --log "$work/$name.records.log"
"$@" fly "$flight" --root "$root" --log "$work/$name.copies.log" --own-copies
if ! cmp -s "$work/$name.records.log" "$work/$name.copies.log"; then
  echo "event logs differ for $flight with the host's own copies:"
  diff -u "$work/$name.records.log" "$work/$name.copies.log" | head -40
  exit 1
fi
echo "$flight: $(wc -l < "$work/$name.records.log") lines, the same on copies"
