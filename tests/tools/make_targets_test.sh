#!/bin/sh
# make_targets_test.sh SOURCE_DIR
# The Makefile's commands run for real, in a copy of it, against stand-ins
# for the programs they start (cmake, ctest, wine, the package installer, the
# host the demo builds, the package scripts): each stand-in notes how it was
# called and leaves what the real one would, so the cases below check what a
# command did and left, not how the Makefile spells it. Nothing is built.
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

calls=$work/calls
bin=$work/bin
tree=$work/tree
mkdir -p "$bin" "$tree/dist" "$tree/tests/tools/gaugeinspect"
cp "$src/Makefile" "$tree/"
export CALLS="$calls"

stand_in() {  # stand_in NAME BODY: a program on PATH that notes its call, then runs BODY
  printf '#!/bin/sh\necho "%s $*" >>"$CALLS"\n%s\n' "$1" "$2" >"$bin/$1"
  chmod +x "$bin/$1"
}
# The package groups: installing works; --has/--check answer for $HAVE_GROUPS.
stand_in install-deps 'case $1 in --has|--check) case " $HAVE_GROUPS " in *" $2 "*) exit 0;; esac; exit 1;; esac'
# The host the demo builds: it writes each output it is given, and fails
# when FLY_FAILS is set, after writing them (as a crash half way would).
host_body='cmd=$1; shift
if [ "$cmd" = envelope ]; then : >"$1"; exit 0; fi
while [ $# -gt 0 ]; do
  case $1 in
    --log|--audio|--report) : >"$2"; shift;;
    --pictures) mkdir -p "$2" && : >"$2/frame_000000.png"; shift;;
  esac
  shift
done
[ -z "${FLY_FAILS:-}" ]'
# cmake: a configure makes the folder; a build leaves what its targets make.
stand_in cmake 'if [ "$1" = --build ]; then
  dir=$2
  mkdir -p "$dir/bin"
  case " $* " in *" demo_parts "*)
    mkdir -p "$dir/voices/Sound" "$dir/root/Sound"
    for m in cabsound vrn_gpws vrn_radalt; do : >"$dir/bin/$m.gau"; done;;
  esac
  case " $* " in *" gaugehost "*)
    printf "#!/bin/sh\necho \"gaugehost \$*\" >>\"\$CALLS\"\n%s\n" "$HOST_BODY" >"$dir/bin/gaugehost"
    chmod +x "$dir/bin/gaugehost";;
  esac
elif [ "$1" = -S ]; then mkdir -p "$4"; fi'
# ctest fails for the build folder named in $CTEST_FAILS.
stand_in ctest 'case " $* " in *" ${CTEST_FAILS:-none} "*) exit 1;; esac'
stand_in wine 'exit 1'
stand_in wineserver ''
stand_in python3 ''
printf '#!/bin/sh\necho "make_zip $*" >>"$CALLS"\nmkdir -p "$(dirname "$2")" && : >"$2"\n' \
  >"$tree/dist/make_zip.sh"
printf '#!/bin/sh\necho "check_dist $*" >>"$CALLS"\n' >"$tree/tests/tools/gaugeinspect/check_dist.sh"
export HOST_BODY="$host_body"

run() {  # run TARGET [VAR=VALUE...]: make TARGET in the copy; its status in $status
  target=$1
  shift
  : >"$calls"
  env PATH="$bin:$PATH" "$@" make -C "$tree" --no-print-directory BUILD="$work/b" \
    DEPS="$bin/install-deps" "$target" >"$work/out.txt" 2>&1
  status=$?
}
called() { grep -qF -- "$1" "$calls"; }
never() { if called "$1"; then fail "$2"; fi; }
calls_of() { grep -F -- "$1" "$calls"; }

# The demo: its groups, its own lean release builds, the real modules flown
# in the emulated loader, and what it leaves in out/.
run demo HAVE_GROUPS="core voices"
[ "$status" = 0 ] || fail "demo failed: $(cat "$work/out.txt")"
called "install-deps core voices" || fail "demo does not install core and voices"
never "install-deps core wine" "demo installs the test groups"
never "$work/b/native" "demo builds the sanitizer test build"
never "$work/b/win32" "demo builds the Windows test build"
never "wine " "demo starts Wine, which it does not need"
never "ctest" "demo runs tests"
for config in "-B $work/b/demo-win32" "-B $work/b/demo-native"; do
  line=$(calls_of "cmake -S . $config")
  [ -n "$line" ] || { fail "demo configures no $config"; continue; }
  case $line in *-DGAUGES_TESTS=OFF*) ;; *) fail "demo's $config builds tests: $line";; esac
  case $line in *-DCMAKE_BUILD_TYPE=Release*) ;; *) fail "demo's $config is no release build";; esac
done
case $(calls_of "-B $work/b/demo-native") in
  *-DGAUGES_SANITIZE=OFF*) ;;
  *) fail "demo's native host keeps the sanitizers";;
esac
[ "$(calls_of "cmake --build $work/b/demo-win32" | grep -c -- '--target demo_parts')" = 1 ] ||
  fail "demo builds more than the modules and sounds for Windows"
[ "$(calls_of "cmake --build $work/b/demo-native" | grep -c -- '--target gaugehost ')" = 1 ] ||
  fail "demo's native build is more than the host"
fly=$(calls_of "gaugehost fly")
case $fly in
  *"--modules $work/b/demo-win32/bin --loader emulated --root $work/b/demo-win32/voices"*) ;;
  *) fail "demo does not fly the Windows build's .gau files emulated, with the voices: $fly";;
esac
called "gaugehost envelope out/envelope.png --modules $work/b/demo-win32/bin --loader emulated" ||
  fail "demo does not sweep the envelope from the same modules"
for product in approach.log approach.wav approach.html pictures/frame_000000.png envelope.png; do
  [ -e "$tree/out/$product" ] || fail "demo leaves no out/$product"
done
for half in approach.log.tmp pictures.tmp; do
  [ -e "$tree/out/$half" ] && fail "demo leaves out/$half behind"
done

# Without the voices group the demo flies the tones.
run demo HAVE_GROUPS="core"
case $(calls_of "gaugehost fly") in
  *"--root $work/b/demo-win32/root "*) ;;
  *) fail "demo without voices does not fly the tones";;
esac

# A flight that fails leaves no half log and no half pictures in out/.
rm -rf "$tree/out"
run demo HAVE_GROUPS="core voices" FLY_FAILS=1
[ "$status" != 0 ] || fail "demo succeeds when the flight fails"
for half in approach.log approach.log.tmp pictures pictures.tmp; do
  [ -e "$tree/out/$half" ] && fail "a failed demo leaves out/$half"
done
never "gaugehost envelope" "demo sweeps the envelope after a failed flight"

# make test: its groups, both configurations' tests, the package made from
# the Windows build and checked, and Wine's server stopped afterwards.
run test HAVE_GROUPS="core wine voices browser dist"
[ "$status" = 0 ] || fail "test failed: $(cat "$work/out.txt")"
called "install-deps core wine voices browser fuzz dist" || fail "test does not install its groups"
never "install-deps bench" "test installs the bench group"
called "ctest --test-dir $work/b/native" || fail "test does not run the native tests"
called "ctest --test-dir $work/b/win32" || fail "test does not run the Windows tests"
called "wineserver -k" || fail "test leaves Wine's server running"
called "make_zip $work/b/win32/bin out/dist/vrn_gauges.zip $work/b/win32/voices/Sound" ||
  fail "test does not pack the Windows modules with the voices: $(calls_of make_zip)"
called "check_dist out/dist/vrn_gauges.zip $work/b/native/bin" || fail "test does not check the package"
never "cmake --build $work/b/fuzz" "test builds the fuzzers without the fuzz group"

# A failing Windows test fails make test, and Wine's server is still stopped.
run test HAVE_GROUPS="core wine voices browser dist" CTEST_FAILS="$work/b/win32"
[ "$status" != 0 ] || fail "test passes when the Windows tests fail"
called "wineserver -k" || fail "failing Windows tests leave Wine's server running"
never "make_zip" "test packs after failing tests"

run bench HAVE_GROUPS="core"
called "install-deps bench" || fail "bench does not install its group"
never "python3 bench/performance_report.py" "bench measures without the bench group"

if [ "$failures" = 0 ]; then echo "make targets: all cases passed"; fi
[ "$failures" = 0 ]
