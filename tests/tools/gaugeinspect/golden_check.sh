#!/bin/sh
# golden_check.sh GAUGEINSPECT INSPECT_GOLDEN MODULE.gau EXPECTED.json OUT_DIR
# Runs the inspector on a module and compares its JSON with the hand-written
# description; the JSON is kept in OUT_DIR for a look when they differ.
set -eu
inspector=$1
compare=$2
module=$3
expected=$4
out=$5
mkdir -p "$out"
actual="$out/$(basename "$module" .gau).json"
"$inspector" --json "$module" > "$actual"
"$compare" "$expected" "$actual"
