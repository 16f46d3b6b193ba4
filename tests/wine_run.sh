#!/bin/sh
# wine_run.sh RESULT_FILE PROBE_EXE COMMAND...: runs COMMAND, a test that
# starts Wine, when Wine runs 32-bit code here; otherwise the test is
# skipped (exit 77) with one line saying why. RESULT_FILE holds what the
# wine.probe test found in this run of the tests; a test run on its own
# probes for itself.
set -u
result=$1
probe=$2
shift 2
if [ -f "$result" ]; then
  answer=$(cat "$result")
elif why=$(sh "$(dirname "$0")/../tools/wine_probe/wine-probe.sh" "$probe"); then
  answer=yes
else
  answer="no: $why"
fi
case $answer in
  yes) exec "$@" ;;
esac
echo "skipped: ${answer#no: }"
exit 77
