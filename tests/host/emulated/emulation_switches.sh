#!/bin/sh
# The emulated loader's checks as gaugehost fly gives them: a gauge that
# misbehaves in its update ends the flight with the crash line naming the
# gauge, the call and the frame, why on the next line, exit status 3; the
# write check is off unless --check-writes asks for it; a check the native
# loader cannot make is refused with one line.
# usage: emulation_switches.sh WORK_DIR GAUGEHOST GAU_DIR NATIVE_MODULE_DIR
set -eu
work=$1 host=$2 gau=$3 native=$4
mkdir -p "$work"
status=0

# name, expected exit status, the start of a line standard error must hold, the
# misdeed (token 998), modules, then gaugehost fly's options
check() {
  name=$1 want_rc=$2 want=$3 misdeed=$4 modules=$5
  shift 5
  printf 'gauge misbehaving_gauge misbehave\nstart\nframes 2\nset 998 %s\nframes 3\n' \
    "$misdeed" > "$work/$name.flight"
  rc=0
  "$host" fly "$work/$name.flight" --log "$work/$name.log" --modules "$modules" "$@" \
    2> "$work/$name.err" || rc=$?
  got=$(tail -1 "$work/$name.err")
  matched=no
  while IFS= read -r line; do
    case "$line" in
      "$want"*) matched=yes ;;
    esac
  done < "$work/$name.err"
  if [ "$rc" != "$want_rc" ] || [ $matched = no ]; then
    echo "$name: exit $rc, \"$got\""
    echo "  expected: exit $want_rc, \"$want...\""
    status=1
  else
    echo "$name: ok"
  fi
}

crash="gaugehost: misbehave crashed in update at frame 3"
check heap_call 3 "gaugehost: it used the heap after install: malloc(64)" 3 "$gau"
# Its constants are read-only pages: without the check the write faults.
check write_unchecked 3 "gaugehost: it faulted: write to read-only address" 2 "$gau"
check write_checked 3 "gaugehost: it wrote outside its memory: write to" 2 "$gau" --check-writes
check behaves_checked 0 "gaugehost: loader: emulated" 0 "$gau" --check-writes
# (A loop runs past the budget of 50 million instructions; emulated.refusals
# tries it with a smaller budget, which fly does not take.)
check native_check_writes 1 "gaugehost: --check-writes: only the emulated loader checks writes" \
  0 "$native" --loader native --check-writes
check counts 0 "gaugehost: instructions: misbehave update: 5 calls" 0 "$gau" --count-instructions
# The crash line comes before the reason.
for name in heap_call write_unchecked write_checked; do
  if ! grep -qx "$crash" "$work/$name.err"; then
    echo "$name: no \"$crash\" line"
    status=1
  fi
done
exit $status
