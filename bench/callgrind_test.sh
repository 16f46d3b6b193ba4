#!/bin/sh
# Instructions per update of vrn_gpws's "test" gauge, counted by callgrind
# inside the gauge's callback only: module code (vrn_gpws.so) apart from
# what the host's services it calls cost. Two runs of N and 2N frames per
# state; their difference over N leaves out loading, install and kill.
# callgrind_test.sh BENCH_BIN_DIR  -> lines "STATE MODULE_IR HOST_IR"
set -eu
bin=$1
here=$(dirname "$0")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
n=1000
module_ir() {  # state frames -> "module host"
  valgrind --tool=callgrind --callgrind-out-file="$tmp/cg.$1.$2" \
    --toggle-collect='gpws::test_gauge_callback*' "$bin/update_count" "$1" "$2" >/dev/null 2>&1
  python3 "$here/callgrind_module.py" "$tmp/cg.$1.$2" |
    awk '/vrn_gpws\.so$|vrn_gpws\.so /{m+=$2; next} {h+=$2} END {print m+0, h+0}'
}
for state in cruise approach terrain selftest; do
  set -- $(module_ir $state $n) $(module_ir $state $((2 * n)))
  echo "$state $(((${3} - ${1}) / n)) $(((${4} - ${2}) / n))"
done
