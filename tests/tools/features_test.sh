#!/bin/sh
# features_test.sh SOURCE_DIR BUILD_DIR
# A feature whose packages are installed (tools/install-deps.sh --has) was
# built, not quietly turned off: the spoken voices and the gaugeinspect
# fuzzer. Features whose packages are missing are left alone.
set -u
deps="$1/tools/install-deps.sh"
build=$2
failures=0
fail() {
  printf 'FAIL: %s\n' "$*" >&2
  failures=$((failures + 1))
}

if "$deps" --has voices; then
  for name in pullup minimums sinkrate 360tinytog; do
    [ -s "$build/voices/Sound/$name.wav" ] || fail "espeak-ng and sox are installed, yet no voices/Sound/$name.wav"
  done
else
  echo "voices not installed: not checked"
fi
if "$deps" --has fuzz; then
  # The clang fuzzing configuration beside this one (make test builds it first).
  fuzzer="$(dirname "$build")/fuzz/bin/gaugeinspect_fuzz"
  [ -x "$fuzzer" ] || fail "clang and libclang-rt-dev are installed, yet no $fuzzer (make fuzz builds it)"
else
  echo "fuzz not installed: not checked"
fi

if [ "$failures" = 0 ]; then echo "features: every installed one was built"; fi
[ "$failures" = 0 ]
