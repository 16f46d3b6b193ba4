#!/bin/sh
# Each gauge module's size without its resources: the sum of the sizes of
# its sections that take room in the file, all but .rsrc (the PE headers
# left out). Exits 1 when a module passes 48 KiB.
# module_size.sh DIR  (the Windows build's bin folder)
set -eu
dir=${1:-build/win32/bin}
limit=$((48 * 1024))
objdump=i686-w64-mingw32-objdump
status=0
found=0
# The three modules we ship; the test fixtures built beside them are not.
for gau in "$dir"/vrn_gpws.gau "$dir"/vrn_radalt.gau "$dir"/cabsound.gau; do
  [ -f "$gau" ] || continue
  found=1
  # objdump -h: "Idx Name Size VMA LMA File-off Algn", the flags on the next line.
  sizes=$($objdump -h "$gau" | awk '
    $1 ~ /^[0-9]+$/ && NF >= 7 { name = $2; size = $3; next }
    name != "" { if ($0 ~ /CONTENTS/ && name != ".rsrc") print size; name = "" }')
  bytes=0
  for hex in $sizes; do bytes=$((bytes + 0x$hex)); done
  verdict=ok
  if [ "$bytes" -gt "$limit" ]; then
    verdict="OVER 48 KiB"
    status=1
  fi
  printf '%s %d %s\n' "$(basename "$gau")" "$bytes" "$verdict"
done
if [ "$found" = 0 ]; then
  echo "module_size.sh: no .gau files in $dir" >&2
  exit 2
fi
exit $status
