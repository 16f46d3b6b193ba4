#!/bin/sh
# Flies one flight with the native host and with the Windows host under Wine
# (against the real .gau files); the two event logs must be identical.
# usage: compare_logs.sh NATIVE_HOST WINE WINDOWS_HOST FLIGHT SOUND_ROOT WORK_DIR
set -eu
native_host=$1 wine=$2 windows_host=$3 flight=$4 root=$5 work=$6
name=$(basename "$flight" .flight)
mkdir -p "$work"
"$native_host" fly "$flight" --root "$root" --log "$work/$name.native.log"
"$wine" "$windows_host" fly "$flight" --root "$root" --log "$work/$name.wine.log"
if ! cmp -s "$work/$name.native.log" "$work/$name.wine.log"; then
  echo "event logs differ for $flight:"
  diff -u "$work/$name.native.log" "$work/$name.wine.log" | head -40
  exit 1
fi
echo "$flight: $(wc -l < "$work/$name.native.log") lines, identical natively and under Wine"
