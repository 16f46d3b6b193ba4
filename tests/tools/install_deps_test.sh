#!/bin/sh
# install_deps_test.sh INSTALL_DEPS_SH
# tools/install-deps.sh on made-up machines: dpkg-query, dpkg, id and apt-get
# are stand-ins on PATH that answer from the variables below and write every
# change they are asked for to a log instead of making it.
set -u
script=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
failures=0
fail() {
  printf 'FAIL: %s\n' "$*" >&2
  failures=$((failures + 1))
}

# STUB_MISSING: packages not installed; STUB_ARCHS: the foreign architectures;
# STUB_UID: the user id.
cat >"$work/bin/dpkg-query" <<'EOF'
#!/bin/sh
for p; do :; done
case " $STUB_MISSING " in *" $p "*) exit 1 ;; esac
printf 'install ok installed'
EOF
cat >"$work/bin/dpkg" <<'EOF'
#!/bin/sh
case "$1" in
  --print-foreign-architectures) for a in $STUB_ARCHS; do echo "$a"; done ;;
  *) echo "dpkg $*" >>"$STUB_LOG" ;;
esac
EOF
cat >"$work/bin/id" <<'EOF'
#!/bin/sh
echo "$STUB_UID"
EOF
cat >"$work/bin/apt-get" <<'EOF'
#!/bin/sh
echo "apt-get $*" >>"$STUB_LOG"
EOF
chmod +x "$work/bin/"*

# run MISSING ARCHS UID ARGS...: runs the script; its output in $out, its
# status in $rc, the changes it asked for in $changes.
run() {
  rm -f "$work/log"
  missing=$1 archs=$2 uid=$3
  shift 3
  out=$(STUB_MISSING=$missing STUB_ARCHS=$archs STUB_UID=$uid STUB_LOG="$work/log" PATH="$work/bin:$PATH" \
        INSTALL_DEPS_MISSING='' INSTALL_DEPS_USER='' sh "$script" "$@" 2>&1)
  rc=$?
  changes=$(cat "$work/log" 2>/dev/null || true)
}
# shellcheck disable=SC2317  # called through run's "$@"
expect_rc() { [ "$rc" = "$1" ] || fail "$2: exit $rc, expected $1 (output: $out)"; }
has() { case "$1" in *"$2"*) return 0 ;; esac; return 1; }

# The table: every group the features need, every package in one group only.
run '' i386 0 --list
expect_rc 0 "--list"
for row in "core:g++-mingw-w64-i686-posix" "core:wine32:i386" "voices:espeak-ng" "voices:sox" \
           "core:libcpp-httplib-dev" "core:nlohmann-json3-dev" "browser:chromium" "browser:chromium-driver" "browser:python3-selenium" "core:libopus-dev" "core:libogg-dev" "core:libjs-dygraphs" "fuzz:clang" "fuzz:libclang-rt-dev" "dist:zip" "dist:unzip" \
           "bench:valgrind" "bench:libbenchmark-dev"; do
  group=${row%%:*}
  package=${row#*:}
  echo "$out" | grep -q "^$group .* $package\( \|$\)" || fail "--list: $package is not in $group"
done
packages=$(echo "$out" | grep -v '^ ' | cut -c10- | tr ' ' '\n' | grep -v '^$')
dupes=$(echo "$packages" | sort | uniq -d)
[ -z "$dupes" ] || fail "--list: in more than one group: $dupes"

# Everything there: nothing said, nothing done.
run '' i386 0
expect_rc 0 "all installed"
[ -z "$out$changes" ] || fail "all installed: said '$out', did '$changes'"

# Root: installs just what the named groups lack, i386 only when needed.
run 'sox chromium valgrind' i386 0 core voices browser
expect_rc 0 "root, features missing"
[ "$changes" = "apt-get update -qq
apt-get install -y -qq sox chromium" ] || fail "root, features missing: did '$changes'"
run 'wine32:i386' '' 0 core
expect_rc 0 "root, no i386"
[ "$(echo "$changes" | head -1)" = "dpkg --add-architecture i386" ] ||
  fail "root, no i386: did '$changes'"
has "$changes" "apt-get install -y -qq wine32:i386" || fail "root, no i386: did '$changes'"
run 'wine32:i386' 'armhf i386' 0 core
has "$changes" "add-architecture" && fail "root, i386 there: did '$changes'"
run 'valgrind' '' 0 core voices
[ -z "$out$changes" ] || fail "a group not asked for: said '$out', did '$changes'"
run 'clang' '' 0 --dry-run fuzz
expect_rc 0 "--dry-run"
[ "$out" = "would run: apt-get update && apt-get install -y clang" ] || fail "--dry-run said '$out'"
[ -z "$changes" ] || fail "--dry-run did '$changes'"

# Not root: the exact line to run, nothing done; only a missing core stops.
run 'chromium espeak-ng' i386 1000 core voices browser
expect_rc 0 "user, features missing"
[ -z "$changes" ] || fail "user: did '$changes'"
has "$out" "as root: apt-get update && apt-get install -y espeak-ng chromium" ||
  fail "user, features missing: no apt-get line in '$out'"
run 'wine32:i386 zip' '' 1000
expect_rc 1 "user, core missing"
has "$out" "as root: dpkg --add-architecture i386 && apt-get update && apt-get install -y wine32:i386 zip" ||
  fail "user, core missing: no apt-get line with the i386 step in '$out'"
has "$out" "cannot go on without: wine32:i386" || fail "user, core missing: '$out'"
# The variables that let a whole make run try this.
out=$(STUB_MISSING='' STUB_ARCHS=i386 STUB_UID=0 STUB_LOG="$work/log" PATH="$work/bin:$PATH" \
      INSTALL_DEPS_MISSING='unzip' INSTALL_DEPS_USER=1 sh "$script" dist 2>&1)
has "$out" "as root: apt-get update && apt-get install -y unzip" ||
  fail "INSTALL_DEPS_MISSING/INSTALL_DEPS_USER: '$out'"

# --has is quiet; --check says in one line what is skipped and why.
run 'clang' i386 1000 --has fuzz
expect_rc 1 "--has, missing"
[ -z "$out" ] || fail "--has said '$out'"
run '' i386 1000 --has fuzz
expect_rc 0 "--has, there"
run 'clang libclang-rt-dev' i386 1000 --check fuzz
expect_rc 1 "--check, missing"
[ "$(echo "$out" | wc -l)" = 1 ] || fail "--check: more than one line: '$out'"
has "$out" "skipping the fuzzers" || fail "--check: '$out'"
has "$out" "clang libclang-rt-dev" || fail "--check: '$out'"
run 'clang' i386 1000 --check voices
expect_rc 0 "--check, there"
[ -z "$out" ] || fail "--check of a group that is there said '$out'"

# Unknown groups are mistakes, in every mode.
for args in "--has nope" "--check nope" "core nope" "--dry-run nope"; do
  # shellcheck disable=SC2086  # the words are the arguments
  run '' i386 0 $args
  expect_rc 2 "$args"
  has "$out" "no group 'nope'" || fail "$args: '$out'"
  [ -z "$changes" ] || fail "$args did '$changes'"
done

if [ "$failures" = 0 ]; then echo "install-deps: all cases passed"; fi
[ "$failures" = 0 ]
