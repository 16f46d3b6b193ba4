#!/bin/sh
# check_dist.sh [--no-sounds] DIST.zip NATIVE_BIN
# What make test checks in the archive make dist builds: the files it must
# hold and nothing of ours that must not ship, every module passing
# gaugeinspect --check, every gauge the sample panel places being one its
# module really has, and the Sound folder: each file named exactly as a
# module loads it, every sound vrn_gpws.gau loads there and listed in
# SOUNDS.txt, and each one a WAV the stand-in sound library accepts.
# --no-sounds: the archive was made without spoken voices and must have no
# Sound folder. NATIVE_BIN holds gaugeinspect and sound_check.
set -eu
want_sounds=1
if [ "${1:-}" = --no-sounds ]; then want_sounds=0; shift; fi
zip_path=$1
inspector=$2/gaugeinspect
sound_check=$2/sound_check
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -q "$zip_path" -d "$work"
root="$work/vrn_gauges"
status=0
fail() {
  printf 'check_dist: %s\n' "$*" >&2
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

# The sound file names a module loads, read from its bytes ("Sound\NAME.wav").
loaded_sounds() {
  grep -a -o -E 'Sound\\[A-Za-z0-9_.-]+\.wav' "$1" | sed 's/^Sound\\//' | sort -u
}
gpws_sounds=$(loaded_sounds "$root/Gauges/vrn_gpws.gau")
all_sounds=$(cat "$root"/Gauges/*.gau | loaded_sounds /dev/stdin)
[ -n "$gpws_sounds" ] || fail "found no sound name in vrn_gpws.gau"
for name in $all_sounds; do
  grep -qF "Sound\\$name" "$root/SOUNDS.txt" || fail "SOUNDS.txt does not list Sound\\$name"
done

if [ "$want_sounds" = 0 ]; then
  [ ! -e "$root/Sound" ] || fail "made without voices, yet the archive has a Sound folder"
elif [ ! -d "$root/Sound" ]; then
  fail "no Sound folder"
else
  for file in "$root"/Sound/* "$root"/Sound/.[!.]*; do
    [ -e "$file" ] || continue
    name=$(basename "$file")
    echo "$all_sounds" | grep -qxF "$name" || fail "Sound/$name: no module loads a sound of this name"
  done
  paths=""
  for name in $gpws_sounds; do
    [ -f "$root/Sound/$name" ] || { fail "missing Sound/$name, which vrn_gpws.gau loads"; continue; }
    paths="$paths Sound\\$name"
  done
  # shellcheck disable=SC2086  # one argument per sound
  [ -z "$paths" ] || "$sound_check" "$root" $paths >"$work/sounds.txt" ||
    fail "the stand-in sound library refuses: $(grep -v ': ok$' "$work/sounds.txt" | tr '\n' ' ')"
fi

[ "$status" -eq 0 ] && echo "$zip_path: ok"
exit "$status"
