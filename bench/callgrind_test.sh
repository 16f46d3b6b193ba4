#!/bin/sh
# Instructions per update of every gauge, counted by callgrind inside the
# gauge's own routines only: its callback and, for gauges whose needles the
# host asks after the update, the needles' value callbacks (every one of them
# once per frame). Module code (the gauge's .so) apart from what the host
# services it calls cost. Two runs of N and 2N frames per gauge and state;
# their difference over N leaves out loading, install and kill.
# callgrind_test.sh BENCH_BIN_DIR [GAUGE ...]
#   -> lines "GAUGE STATE MODULE_IR HOST_IR", every gauge unless some are named
set -eu
set -f  # the routine patterns below are callgrind's wildcards, not file names
bin=$1
shift
here=$(dirname "$0")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
n=1000

# gauge, its module, the routines that run its frame
gauges='radalt vrn_radalt radalt::radalt_gauge_callback* radalt::ground_elevation_value* radalt::indicated_height_value* radalt::decision_height_value*
test vrn_gpws gpws::test_button_callback*
fi vrn_gpws gpws::fi_gauge_callback*
below vrn_gpws gpws::below_gauge_callback*
inop vrn_gpws gpws::inop_gauge_callback*
XML-Sound cabsound cabsound::xml_sound_callback*'

module_ir() {  # module state frames routine... -> "module host"
  module=$1 state=$2 frames=$3
  shift 3
  out="$tmp/cg.$state.$frames"
  toggles=
  for routine in "$@"; do toggles="$toggles --toggle-collect=$routine"; done
  # shellcheck disable=SC2086  # one option per routine
  valgrind --tool=callgrind --callgrind-out-file="$out" $toggles \
    "$bin/update_count" "$state" "$frames" >/dev/null 2>&1
  python3 "$here/callgrind_module.py" "$out" |
    awk -v so="/$module.so" '
      { ir = $NF; name = substr($0, 1, length($0) - length(ir) - 1) }
      substr(name, length(name) - length(so) + 1) == so { m += ir; next }
      { h += ir }
      END { print m + 0, h + 0 }'
  rm -f "$out"
}

echo "$gauges" | while read -r gauge module routines; do
  if [ $# -gt 0 ]; then
    wanted=no
    for g in "$@"; do [ "$g" = "$gauge" ] && wanted=yes; done
    [ $wanted = yes ] || continue
  fi
  for state in cruise approach terrain selftest; do
    # shellcheck disable=SC2086  # the routines are words
    once=$(module_ir "$module" "$state" "$n" $routines)
    twice=$(module_ir "$module" "$state" $((2 * n)) $routines)
    # Every gauge runs module code each frame: none counted means the
    # routine patterns above no longer name its routines.
    echo "$once $twice" | awk -v g="$gauge" -v s="$state" -v n="$n" '
      $3 - $1 <= 0 { printf "%s: no module code counted; are its routines renamed?\n", g > "/dev/stderr"; exit 1 }
      { printf "%s %s %d %d\n", g, s, ($3 - $1) / n, ($4 - $2) / n }'
  done
done
