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

# STUB_MISSING: packages not installed ("all": none is); STUB_ARCHS: the
# foreign architectures; STUB_UID: the user id; STUB_FAIL: the packages apt
# cannot install ("add-architecture": dpkg cannot add i386); STUB_UPDATE_FAILS
# "N exit|warn": the first N updates miss an index, failing or only warning.
cat >"$work/bin/dpkg-query" <<'EOF'
#!/bin/sh
for p; do :; done
case " $STUB_MISSING " in *" all "* | *" $p "*) exit 1 ;; esac
printf 'install ok installed'
EOF
cat >"$work/bin/dpkg" <<'EOF'
#!/bin/sh
case "$1" in
  --print-foreign-architectures) for a in $STUB_ARCHS; do echo "$a"; done ;;
  *) echo "dpkg $*" >>"$STUB_LOG"
     case " $STUB_FAIL " in *" add-architecture "*) echo "dpkg: error: cannot add" >&2; exit 2 ;; esac ;;
esac
EOF
cat >"$work/bin/id" <<'EOF'
#!/bin/sh
echo "$STUB_UID"
EOF
cat >"$work/bin/apt-get" <<'EOF'
#!/bin/sh
echo "apt-get $*" >>"$STUB_LOG"
case "$1" in
  update)
    echo x >>"$STUB_LOG.updates"
    set -- $STUB_UPDATE_FAILS
    [ "$(wc -l <"$STUB_LOG.updates")" -le "$1" ] || exit 0
    if [ "$2" = exit ]; then k=E; else k=W; fi
    echo "$k: Failed to fetch http://deb.debian.org/debian/dists/trixie/main/binary-i386/Packages.xz  File has unexpected size (4567 != 4321). Mirror sync in progress? [IP: 192.0.2.1 80]"
    echo "$k: Some index files failed to download. They have been ignored, or old ones used instead."
    [ "$k" = W ] || exit 100 ;;
  install)
    for p; do
      case " $STUB_FAIL " in *" $p "*)
        echo "Some packages could not be installed."
        echo " $p : Depends: libwine:i386 (= 8.0~repack-4) but it is not going to be installed"
        echo "E: Error, pkgProblemResolver::Resolve generated breaks, this may be caused by held packages."
        echo "E: Unable to correct problems, you have held broken packages."
        exit 100 ;;
      esac
    done ;;
esac
EOF
chmod +x "$work/bin/"*

# run MISSING ARCHS UID ARGS...: runs the script with $fail_on and
# $update_fails; its output in $out, its status in $rc, the changes it asked
# for in $changes and in short in $steps, its skip record in $work/skipped.
fail_on='' update_fails='0 exit'
run() {
  rm -f "$work/log" "$work/log.updates"
  missing=$1 archs=$2 uid=$3
  shift 3
  out=$(STUB_MISSING=$missing STUB_ARCHS=$archs STUB_UID=$uid STUB_LOG="$work/log" STUB_FAIL=$fail_on \
        STUB_UPDATE_FAILS=$update_fails PATH="$work/bin:$PATH" INSTALL_DEPS_SKIPPED="$work/skipped" \
        INSTALL_DEPS_MISSING='' INSTALL_DEPS_USER='' sh "$script" "$@" </dev/null 2>&1)
  rc=$?
  changes=$(cat "$work/log" 2>/dev/null || true)
  steps=$(echo "$changes" | steps)
}
# The log as "add-i386, update, install core, install sox, ...": an install
# of a whole group by the group's name.
steps() {
  sep=''
  while read -r line; do
    case "$line" in
      '') continue ;;
      "dpkg --add-architecture i386") step=add-i386 ;;
      "apt-get update -qq") step=update ;;
      "apt-get install -y -qq "*)
        packages=${line#apt-get install -y -qq }
        group=$(grep "^[^|]*|$packages\$" "$work/groups" | cut -d'|' -f1)
        step="install ${group:-$packages}" ;;
      *) step="?$line" ;;
    esac
    printf '%s%s' "$sep" "$step"
    sep=', '
  done
}
# shellcheck disable=SC2317  # called through run's "$@"
expect_rc() { [ "$rc" = "$1" ] || fail "$2: exit $rc, expected $1 (output: $out)"; }
has() { case "$1" in *"$2"*) return 0 ;; esac; return 1; }
skip_lines() { echo "$out" | grep '^install-deps: skipping ' || true; }
# shellcheck disable=SC2048,SC2086  # the words of a table's cell, blanks squeezed
words() { echo $*; }

# The table: every group the features need, every package in one group only.
run '' i386 0 --list
expect_rc 0 "--list"
echo "$out" | paste -d'|' - - | sed 's/^\([^ ]*\) *\([^|]*\)|.*/\1|\2/' >"$work/groups"
for row in "core:g++-mingw-w64-i686-posix" "core:libunicorn-dev" "wine:wine" "wine:wine32:i386" \
           "voices:espeak-ng" "voices:sox" "core:libcpp-httplib-dev" "core:nlohmann-json3-dev" \
           "browser:chromium" "browser:chromium-driver" "browser:python3-selenium" "core:libopus-dev" \
           "core:libogg-dev" "core:libjs-dygraphs" "fuzz:clang" "fuzz:libclang-rt-dev" "dist:zip" \
           "dist:unzip" "bench:valgrind" "bench:libbenchmark-dev"; do
  group=${row%%:*}
  package=${row#*:}
  echo "$out" | grep -q "^$group .* $package\( \|$\)" || fail "--list: $package is not in $group"
done
has "$(grep '^core|' "$work/groups")" wine && fail "--list: Wine is in core"
packages=$(echo "$out" | grep -v '^ ' | cut -c10- | tr ' ' '\n' | grep -v '^$')
dupes=$(echo "$packages" | sort | uniq -d)
[ -z "$dupes" ] || fail "--list: in more than one group: $dupes"

# As root on a machine that lacks the named groups' packages (MISSING), with
# apt unable to install some of them (APT FAILS ON) and its index update
# failing for a while (UPDATE FAILS): the changes asked for, in short (see
# steps), the exit status, the groups skipped (one line each, the same lines
# in the skip record) and what the output says ("!..." what it does not).
# name | args | missing | archs | apt fails on | update fails | rc | steps | skipped | says
while IFS='|' read -r name args missing archs fail_on update_fails want_rc want_steps want_skipped says; do
  [ -n "$name" ] || continue
  # shellcheck disable=SC2086  # the words are the arguments
  set -- $args
  rm -f "$work/skipped"
  run "$(words "$missing")" "$(words "$archs")" 0 "$@"
  name=$(words "$name")
  expect_rc "$(words "$want_rc")" "$name"
  want_steps=$(words "$want_steps")
  [ "$steps" = "$want_steps" ] || fail "$name: did '$steps', expected '$want_steps'"
  got_skipped=$(skip_lines | sed 's/^install-deps: skipping \([^ ]*\) (.*/\1/' | tr '\n' ' ')
  [ "$(words "$got_skipped")" = "$(words "$want_skipped")" ] ||
    fail "$name: skipped '$got_skipped', expected '$want_skipped' (output: $out)"
  [ "$(skip_lines)" = "$(cat "$work/skipped" 2>/dev/null)" ] ||
    fail "$name: the skip record is not the skip lines: '$(cat "$work/skipped" 2>/dev/null)'"
  IFS=';'
  for said in $says; do
    said=${said# }
    said=${said% }
    case "$said" in
      '') ;;
      '!'*) has "$out" "${said#!}" && fail "$name: says '${said#!}' (output: $out)" ;;
      *) has "$out" "$said" || fail "$name: does not say '$said' (output: $out)" ;;
    esac
  done
  unset IFS
done <<'EOF'
every group, in order       |                           | all | amd64 | -                | 0 exit | 0   | add-i386, update, install core, install wine, install voices, install browser, install fuzz, install dist, install bench | | installing wine: wine wine32:i386; !skipping
core first, each group once | dist core voices dist      | all | amd64 | -                | 0 exit | 0   | update, install core, install dist, install voices | | installing core: cmake make
wine fails                  | core wine voices browser  | all | amd64 | wine32:i386      | 0 exit | 0   | add-i386, update, install core, install wine, install voices, install browser | wine | skipping wine (the Windows build's tests under Wine, the second witness of the shipped .gau files): apt-get could not install wine wine32:i386: E: Unable to correct problems, you have held broken packages.
a feature fails, i386 there | core wine voices browser fuzz | all | i386 | chromium-driver | 0 exit | 0   | update, install core, install wine, install voices, install browser, install fuzz | browser | skipping browser (the report page and the live panel checked in a headless browser): apt-get could not install chromium chromium-driver python3-selenium: E: Unable
two features fail           | core fuzz dist bench      | all | amd64 | clang unzip      | 0 exit | 0   | update, install core, install fuzz, install dist, install bench | fuzz dist | skipping fuzz (the fuzzers
core fails                  | core wine voices          | all | amd64 | libunicorn-dev   | 0 exit | 100 | add-i386, update, install core | | E: Error, pkgProblemResolver::Resolve generated breaks; could not install core, which every build needs: E: Unable to correct problems; to install it by hand, as root: apt-get update && apt-get install -y cmake make g++ libgtest-dev
core fails, partly there    | voices core               | cmake libunicorn-dev | amd64 | libunicorn-dev | 0 exit | 100 | update, install cmake libunicorn-dev | | by hand, as root: apt-get update && apt-get install -y cmake libunicorn-dev
update fails once           | core voices               | all | amd64 | -                | 1 exit | 0   | update, update, install core, install voices | | Mirror sync in progress?; trying once more; !warning
update fails twice          | core voices               | all | amd64 | -                | 2 exit | 0   | update, update, install core, install voices | | trying once more; warning: apt-get update still could not fetch every index
update warns once           | core voices               | all | amd64 | -                | 1 warn | 0   | update, update, install core, install voices | | trying once more; !warning
update warns always         | wine                      | all | amd64 | -                | 9 warn | 0   | add-i386, update, update, install wine | | warning: apt-get update still
wine alone, i386 there      | wine                      | all | armhf i386 | -           | 0 exit | 0   | update, install wine | |
wine there, no i386         | core wine                 | libunicorn-dev | amd64 | -     | 0 exit | 0   | update, install libunicorn-dev | |
i386 cannot be added        | core wine voices          | all | amd64 | add-architecture | 0 exit | 0   | add-i386, update, install core, install voices | wine | skipping wine (the Windows build's tests under Wine, the second witness of the shipped .gau files): dpkg --add-architecture i386 failed
EOF
fail_on='' update_fails='0 exit'

# Everything there: nothing said, nothing done.
run '' i386 0
expect_rc 0 "all installed"
[ -z "$out$changes" ] || fail "all installed: said '$out', did '$changes'"
run 'valgrind' '' 0 core voices
[ -z "$out$changes" ] || fail "a group not asked for: said '$out', did '$changes'"
# Just what the named groups lack.
run 'sox chromium valgrind' i386 0 core voices browser
expect_rc 0 "root, features missing"
[ "$steps" = "update, install sox, install chromium" ] || fail "root, features missing: did '$steps'"
run 'wine32:i386' '' 0 wine
[ "$steps" = "add-i386, update, install wine32:i386" ] || fail "root, no i386: did '$steps'"

# --dry-run prints what a root run would do, and does nothing.
run 'clang' '' 0 --dry-run fuzz
expect_rc 0 "--dry-run"
[ "$out" = "would run: apt-get update
would run: apt-get install -y clang" ] || fail "--dry-run said '$out'"
[ -z "$changes" ] || fail "--dry-run did '$changes'"
run 'sox wine32:i386 cmake' '' 0 --dry-run voices wine core
[ "$out" = "would run: dpkg --add-architecture i386
would run: apt-get update
would run: apt-get install -y cmake
would run: apt-get install -y sox
would run: apt-get install -y wine32:i386" ] || fail "--dry-run, groups in turn, said '$out'"
[ -z "$changes" ] || fail "--dry-run did '$changes'"

# The skip record keeps what other runs skipped and drops a group once it is
# installed; --dry-run leaves it alone.
printf '%s\n' "install-deps: skipping wine (W): a" "install-deps: skipping fuzz (F): b" >"$work/skipped"
run 'wine32:i386' i386 0 --dry-run wine
[ "$(grep -c skipping "$work/skipped")" = 2 ] || fail "--dry-run changed the skip record"
run 'wine32:i386' i386 0 wine
[ "$(cat "$work/skipped")" = "install-deps: skipping fuzz (F): b" ] ||
  fail "wine installed: skip record '$(cat "$work/skipped")'"
fail_on=clang
run all i386 0 fuzz voices
fail_on=''
[ "$(grep -c "skipping fuzz" "$work/skipped")" = 1 ] || fail "fuzz skipped again: '$(cat "$work/skipped")'"
run '' i386 0 fuzz
[ -s "$work/skipped" ] && fail "all there: skip record '$(cat "$work/skipped")'"

# Not root: the exact line to run, nothing done; only a missing core stops.
run 'chromium espeak-ng' i386 1000 core voices browser
expect_rc 0 "user, features missing"
[ -z "$changes" ] || fail "user: did '$changes'"
has "$out" "as root: apt-get update && apt-get install -y espeak-ng chromium" ||
  fail "user, features missing: no apt-get line in '$out'"
[ "$(cut -d' ' -f3 "$work/skipped" | tr '\n' ' ')" = "voices browser " ] ||
  fail "user, features missing: skip record '$(cat "$work/skipped")'"
run 'wine32:i386 zip' '' 1000
expect_rc 0 "user, wine missing"
has "$out" "as root: dpkg --add-architecture i386 && apt-get update && apt-get install -y wine32:i386 zip" ||
  fail "user, wine missing: no apt-get line with the i386 step in '$out'"
run 'libunicorn-dev zip' '' 1000 core dist
expect_rc 1 "user, core missing"
has "$out" "as root: apt-get update && apt-get install -y libunicorn-dev zip" || fail "user, core missing: '$out'"
has "$out" "cannot go on without: libunicorn-dev" || fail "user, core missing: '$out'"
# The variables that let a whole make run try this.
out=$(STUB_MISSING='' STUB_ARCHS=i386 STUB_UID=0 STUB_LOG="$work/log" PATH="$work/bin:$PATH" \
      INSTALL_DEPS_SKIPPED="$work/skipped" INSTALL_DEPS_MISSING='unzip' INSTALL_DEPS_USER=1 sh "$script" dist 2>&1)
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
has "$out" "skipping fuzz (the fuzzers" || fail "--check: '$out'"
has "$out" "clang libclang-rt-dev" || fail "--check: '$out'"
run 'wine32:i386' i386 1000 --check wine
has "$out" "skipping wine (the Windows build's tests under Wine" || fail "--check wine: '$out'"
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
