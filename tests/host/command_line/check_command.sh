#!/bin/sh
# check_command.sh STATUS STREAM TEXT COMMAND...
# Runs COMMAND and checks that it exits with STATUS and that its standard
# output (STREAM out) or error output (STREAM err) holds the line TEXT. A
# Windows program's error output ends its lines with CR LF; the CR is not
# part of the line.
set -u
status=$1
stream=$2
text=$3
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$@" >"$work/out" 2>"$work/err"
actual=$?
ok=1
if [ "$actual" != "$status" ]; then
  echo "exit status $actual, expected $status"
  ok=0
fi
if ! tr -d '\r' <"$work/$stream" | grep -qxF -- "$text"; then
  echo "no line '$text' on standard $stream"
  ok=0
fi
if [ $ok = 0 ]; then
  echo "--- standard output:"; cat "$work/out"
  echo "--- error output:"; cat "$work/err"
  exit 1
fi
