#!/bin/sh
# Whether Wine runs 32-bit Windows programs on this machine: some kernels
# execute no 32-bit code at all, and Wine may not be installed.
#
#   wine-probe.sh PROBE_EXE [RESULT_FILE]
#       Runs PROBE_EXE (the Windows build's wine_probe.exe) under Wine in the
#       caller's environment (WINEPREFIX and the like). Exit 0 when it ran;
#       else prints why not in one line and exits 1. With RESULT_FILE, also
#       writes "yes" or "no: WHY" there and exits 0 either way (the test
#       that probes once for the others).
#   WINE_PROBE_TIMEOUT (seconds, default 300): the first start of Wine makes
#       its prefix, which takes a while.
set -u
probe=${1:?usage: wine-probe.sh PROBE_EXE [RESULT_FILE]}
result=${2:-}
limit=${WINE_PROBE_TIMEOUT:-300}

answer() {  # answer yes | answer "no: WHY"
  if [ -n "$result" ]; then
    printf '%s\n' "$1" >"$result"
    echo "wine-probe: $1"
    exit 0
  fi
  case $1 in
    yes) exit 0 ;;
    *) echo "${1#no: }"; exit 1 ;;
  esac
}

command -v wine >/dev/null 2>&1 || answer "no: wine is not installed (tools/install-deps.sh wine)"
[ -f "$probe" ] || answer "no: $probe was not built"
out=$(timeout "$limit" wine "$probe" 2>&1)
status=$?
case $out in
  *"wine probe: 32-bit code runs"*) answer yes ;;
esac
if [ "$status" = 124 ]; then
  answer "no: wine ran no 32-bit program within $limit s"
fi
why=$(printf '%s\n' "$out" | grep -v -e '^[[:space:]]*$' -e '^wine: created the configuration' | head -n 1)
answer "no: this machine does not run 32-bit Windows programs under wine (exit $status: ${why:-no output})"
