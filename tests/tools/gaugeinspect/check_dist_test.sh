#!/bin/sh
# check_dist_test.sh SOURCE_DIR WIN32_BIN SOUND_DIR NATIVE_BIN
# check_dist.sh on archives made by dist/make_zip.sh from the real modules
# (with SOUND_DIR's files as the voices), as made and then spoilt one way at
# a time: each spoilt archive must fail with a message naming what is wrong.
set -u
src=$1
bin=$2
sounds=$3
native_bin=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  printf 'FAIL: %s\n' "$*" >&2
  failures=$((failures + 1))
}

check() {  # check [--no-sounds] ZIP: check_dist's output in $out, its status in $rc
  out=$(sh "$src/tests/tools/gaugeinspect/check_dist.sh" "$@" "$native_bin" 2>&1)
  rc=$?
}

sh "$src/dist/make_zip.sh" "$bin" "$work/good.zip" "$sounds" >/dev/null || fail "make_zip with sounds"
sh "$src/dist/make_zip.sh" "$bin" "$work/silent.zip" >/dev/null || fail "make_zip without sounds"

check "$work/good.zip"
[ "$rc" = 0 ] || fail "the archive as made: $out"
unzip -Z1 "$work/good.zip" | grep -qx 'vrn_gauges/Sound/pullup.wav' || fail "no Sound/pullup.wav in the archive"
if unzip -Z1 "$work/good.zip" | grep -q 'zel-sound'; then fail "the cabin sounds are packed"; fi
check --no-sounds "$work/silent.zip"
[ "$rc" = 0 ] || fail "the archive made without voices, so checked: $out"

# spoilt NAME EXPECTED ZIP [--no-sounds]: unpacks ZIP, runs stdin's commands
# in the unpacked vrn_gauges folder, packs it again and checks it.
spoilt() {
  name=$1
  expected=$2
  rm -rf "$work/x" && mkdir "$work/x" && unzip -q "$3" -d "$work/x"
  shift 3
  (cd "$work/x/vrn_gauges" && sh -e) || { fail "$name: could not spoil the archive"; return; }
  rm -f "$work/bad.zip"
  (cd "$work/x" && zip -q -r -X "$work/bad.zip" vrn_gauges)
  check "$@" "$work/bad.zip"
  [ "$rc" != 0 ] || fail "$name: passed"
  case "$out" in *"$expected"*) ;; *) fail "$name: expected '$expected' in: $out" ;; esac
}

spoilt "voices expected" "no Sound folder" "$work/silent.zip" <<'EOF'
true
EOF
spoilt "made without voices" "yet the archive has a Sound folder" "$work/good.zip" --no-sounds <<'EOF'
true
EOF
spoilt "a callout missing" "missing Sound/pullup.wav, which vrn_gpws.gau loads" "$work/good.zip" <<'EOF'
rm Sound/pullup.wav
EOF
spoilt "a name in other letters" "Sound/PullUp.wav: no module loads" "$work/good.zip" <<'EOF'
mv Sound/pullup.wav Sound/PullUp.wav
EOF
spoilt "a file no module loads" "Sound/extra.wav: no module loads" "$work/good.zip" <<'EOF'
cp Sound/minimums.wav Sound/extra.wav
EOF
# 24 bits per sample (the fmt chunk's field at byte 34).
spoilt "24-bit samples" 'refuses: Sound\minimums.wav: refused' "$work/good.zip" <<'EOF'
printf '\030' | dd of=Sound/minimums.wav bs=1 seek=34 conv=notrunc 2>/dev/null
EOF
# The streaming placeholder espeak-ng may leave as the data size (byte 40).
spoilt "placeholder data size" 'Sound\sinkrate.wav: refused' "$work/good.zip" <<'EOF'
printf '\377\377\377\177' | dd of=Sound/sinkrate.wav bs=1 seek=40 conv=notrunc 2>/dev/null
EOF
spoilt "not a WAV at all" 'Sound\glideslope.wav: refused' "$work/good.zip" <<'EOF'
echo "glideslope" >Sound/glideslope.wav
EOF
spoilt "the sound list out of date" 'SOUNDS.txt does not list Sound\toolowgear.wav' "$work/good.zip" <<'EOF'
grep -v toolowgear SOUNDS.txt >s.txt && mv s.txt SOUNDS.txt
EOF

if [ "$failures" = 0 ]; then echo "check_dist: every spoilt archive caught"; fi
[ "$failures" = 0 ]
