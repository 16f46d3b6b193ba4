#!/bin/sh
# make_zip.sh WIN32_BIN_DIR OUT.zip [VOICES_SOUND_DIR]
# Packs the three modules, the sample panel section, the sound list and the
# install guide, and with VOICES_SOUND_DIR (the build's voices/Sound) the
# GPWS's spoken callouts: every sound file vrn_gpws.gau loads, under the very
# name it loads it by, read from the module itself. The cabin sounds of
# cabsound.gau are the aircraft's own and stay out, and so does the stand-in
# sound library: the simulator brings its own FSSound.dll.
set -eu
bin=$1
zip_path=$2
voices=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
out_dir=$(cd "$(dirname "$zip_path")" && pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
root="$stage/vrn_gauges"
mkdir -p "$root/Gauges" "$root/Panel"
for module in cabsound vrn_gpws vrn_radalt; do
  cp "$bin/$module.gau" "$root/Gauges/"
done
cp "$here/panel_section.cfg" "$root/Panel/"
# SOUNDS.txt is made by the build from the table of sound files.
cp "$here/INSTALL.md" "$bin/../dist/SOUNDS.txt" "$root/"
if [ -n "$voices" ]; then
  mkdir "$root/Sound"
  names=$(grep -a -o -E 'Sound\\[A-Za-z0-9_.-]+\.wav' "$bin/vrn_gpws.gau" | sed 's/^Sound\\//' | sort -u)
  [ -n "$names" ] || { echo "make_zip: vrn_gpws.gau names no sound file" >&2; exit 1; }
  for name in $names; do
    cp "$voices/$name" "$root/Sound/$name"
  done
fi
rm -f "$out_dir/$(basename "$zip_path")"
# -X: no extra file attributes, so the archive depends only on the files.
(cd "$stage" && zip -q -r -X "$out_dir/$(basename "$zip_path")" vrn_gauges)
echo "$zip_path"
