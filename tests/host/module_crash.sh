#!/bin/sh
# A module that faults ends the flight with a message naming the gauge, the
# call and the frame, exit status 3, and the log written up to the fault.
# usage: module_crash.sh WORK_DIR HOST_COMMAND...   (the host finds the
# crashing_gauge module beside itself, or where CRASH_MODULES names; a host
# that says why on a line after the crash line is read by the crash line)
set -eu
work=$1
shift
mkdir -p "$work"
status=0

check() {
  name=$1 message=$2 last=$3 flight=$4
  shift 4
  printf '%s\n' "$flight" > "$work/$name.flight"
  rc=0
  "$@" fly "$work/$name.flight" --log "$work/$name.log" ${CRASH_MODULES:+--modules "$CRASH_MODULES"} \
    2> "$work/$name.err" || rc=$?
  got_message=$(tr -d '\r' < "$work/$name.err" | grep '^gaugehost: .* crashed in ' | tail -1)
  got_last=$(tail -1 "$work/$name.log")
  if [ "$rc" != 3 ] || [ "$got_message" != "$message" ] || [ "$got_last" != "$last" ]; then
    echo "$name: exit $rc, \"$got_message\", last log line \"$got_last\""
    echo "  expected: exit 3, \"$message\", \"$last\""
    status=1
  else
    echo "$name: ok"
  fi
}

check trap "gaugehost: crash crashed in update at frame 4" "000004 lookup 999 = 1" \
  "gauge crashing_gauge crash
start
frames 3
set 999 1
frames 5" "$@"
check null_write "gaugehost: crash crashed in update at frame 2" "000002 lookup 999 = 2" \
  "gauge crashing_gauge crash
start
frames 1
set 999 2
frames 5" "$@"
check mouse "gaugehost: crash crashed in a mouse routine at frame 3" \
  "000003 click crash 5,5 -> area 1" \
  "gauge crashing_gauge crash
start
frames 3
click crash area 1
frames 5" "$@"
# The gauge whose code faulted is named, not the first on the panel.
check second_gauge "gaugehost: crash crashed in update at frame 3" "000003 lookup 999 = 1" \
  "gauge cabsound XML-Sound
gauge crashing_gauge crash
start
frames 2
set 999 1
frames 5" "$@"
exit $status
