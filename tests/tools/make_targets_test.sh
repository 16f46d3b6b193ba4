#!/bin/sh
# make_targets_test.sh SOURCE_DIR
# What the Makefile's commands would run (make -n, into a build folder of
# its own, nothing built): the package groups each installs, and a demo that
# builds only what it flies, without the tests and without the sanitizers.
set -u
unset MAKEFLAGS MFLAGS MAKELEVEL
src=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  printf 'FAIL: %s\n' "$*" >&2
  failures=$((failures + 1))
}

plan() {  # plan TARGET: the commands make would run for TARGET, in $out
  out=$(make -n -C "$src" --no-print-directory BUILD="$work/b" "$1" 2>&1) || fail "make -n $1: $out"
}
has() { echo "$out" | grep -qF -- "$1"; }

plan demo
has "install-deps.sh core voices" || fail "demo does not install core and voices: $out"
has "install-deps.sh core voices browser" && fail "demo installs the test groups"
has "install-deps.sh core wine" && fail "demo installs Wine, which it does not need"
has "$work/b/native" && fail "demo builds the sanitizer test build"
has "$work/b/win32" && fail "demo builds the Windows test build"
has "-DGAUGES_TESTS=ON" && fail "demo builds tests"
has "-DGAUGES_TESTS=OFF" || fail "demo does not turn the tests off"
has "-DGAUGES_SANITIZE=OFF" || fail "demo's native build keeps the sanitizers"
has "-DCMAKE_BUILD_TYPE=Release" || fail "demo's builds are not release builds"
has "--target demo_parts" || fail "demo builds more than demo_parts on Windows"
has "--target gaugehost --" || fail "demo's native build is not the host alone: $out"
has "--modules $work/b/demo-win32/bin" || fail "demo does not fly the Windows build's .gau files"
has "--loader emulated" || fail "demo does not fly them in the emulated loader"
has "wine" && fail "demo starts Wine, which it does not need"
for product in out/approach.log out/approach.wav out/approach.html out/pictures out/envelope.png; do
  has "$product" || fail "demo leaves no $product"
done

plan test
has "install-deps.sh core wine voices browser fuzz dist" || fail "test's groups: $out"
has "install-deps.sh bench" && fail "test installs the bench group"
has "check_dist.sh" || fail "test does not check the package"

plan bench
has "install-deps.sh bench" || fail "bench does not install its group"

if [ "$failures" = 0 ]; then echo "make targets: all cases passed"; fi
[ "$failures" = 0 ]
