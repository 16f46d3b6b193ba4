#!/bin/sh
# make_zip.sh WIN32_BIN_DIR OUT.zip
# Packs the three modules, the sample panel section, the sound list and the
# install guide. The stand-in sound library is left out on purpose: the
# simulator brings its own FSSound.dll.
set -eu
bin=$1
zip_path=$2
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
cp "$here/INSTALL.md" "$here/SOUNDS.txt" "$root/"
rm -f "$out_dir/$(basename "$zip_path")"
# -X: no extra file attributes, so the archive depends only on the files.
(cd "$stage" && zip -q -r -X "$out_dir/$(basename "$zip_path")" vrn_gauges)
echo "$zip_path"
