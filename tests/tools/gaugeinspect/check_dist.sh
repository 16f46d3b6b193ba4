#!/bin/sh
# check_dist.sh DIST.zip GAUGEINSPECT
# What make test checks in the archive make dist builds: the files it must
# hold and nothing of ours that must not ship, every module passing
# gaugeinspect --check, and every gauge the sample panel places being one
# its module really has.
set -eu
zip_path=$1
inspector=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -q "$zip_path" -d "$work"
root="$work/vrn_gauges"
status=0
fail() {
  echo "check_dist: $*" >&2
  status=1
}

for f in INSTALL.md SOUNDS.txt Panel/panel_section.cfg \
         Gauges/cabsound.gau Gauges/vrn_gpws.gau Gauges/vrn_radalt.gau; do
  [ -f "$root/$f" ] || fail "missing $f"
done
# The stand-in sound library is for our tests only.
if unzip -l "$zip_path" | grep -qi 'fssound'; then fail "the archive holds an FSSound library"; fi

for gau in "$root"/Gauges/*.gau; do
  "$inspector" --check "$gau" >"$work/check.txt" || fail "$(cat "$work/check.txt")"
done

placed=0
for entry in $(grep '^gauge[0-9][0-9]=' "$root/Panel/panel_section.cfg" |
               sed 's/^gauge[0-9]*=\([^,]*\),.*/\1/'); do
  module=${entry%%!*}
  gauge=${entry#*!}
  [ -f "$root/Gauges/$module.gau" ] || { fail "panel places $entry: no $module.gau"; continue; }
  "$inspector" "$root/Gauges/$module.gau" | grep -q "^gauge '$gauge' at " ||
    fail "panel places $entry: $module.gau has no gauge '$gauge'"
  placed=$((placed + 1))
done
[ "$placed" -eq 6 ] || fail "the sample panel places $placed gauges, expected 6"

[ "$status" -eq 0 ] && echo "$zip_path: ok"
exit "$status"
