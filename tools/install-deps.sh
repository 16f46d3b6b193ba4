#!/bin/sh
# The Debian packages the project uses, in groups: the core that the build
# and its tests need, and one group per feature that only it needs.
#
#   install-deps.sh [--dry-run] [GROUP...]
#       Makes sure the named groups (every group when none is named) are
#       installed. As root, installs what is missing with apt (--dry-run only
#       prints the commands). Without root, installs nothing: prints the one
#       apt-get line that would, and fails only when a core package is
#       missing, since a feature whose group is missing is skipped where it is
#       used (see --check).
#   install-deps.sh --has GROUP      exit 0 when every package of GROUP is installed
#   install-deps.sh --check GROUP    the same, and one line saying what is skipped when not
#   install-deps.sh --list           the groups, their packages and what needs them
#
# To try the paths of a machine that lacks something without removing
# anything: INSTALL_DEPS_MISSING="pkg ..." takes those packages as not
# installed and INSTALL_DEPS_USER=1 acts as if not root, e.g.
#   INSTALL_DEPS_USER=1 INSTALL_DEPS_MISSING="chromium clang" make test
set -eu

# group   | Debian packages | what needs them (said when it is skipped)
groups_table='
core    | cmake make g++ libgtest-dev googletest libcli11-dev libpng-dev libcpp-httplib-dev nlohmann-json3-dev libopus-dev libogg-dev libjs-dygraphs g++-mingw-w64-i686-posix binutils-mingw-w64-i686 wine wine32:i386 | the build and its tests, natively and under Wine
voices  | espeak-ng sox | spoken voices (the demo flies with tones, make dist packs no Sound folder)
browser | chromium chromium-driver python3-selenium | the report page and the live panel checked in a headless browser
fuzz    | clang libclang-rt-dev | the fuzzers of the modules and of gaugeinspect
dist    | zip unzip | the package (make dist) and its check
bench   | valgrind libbenchmark-dev python3 | make bench (timings, instruction counts, docs/performance.md)
'

me=install-deps

# Prints "GROUP|PACKAGES|WHAT" for each group, blanks trimmed.
table() {
  printf '%s\n' "$groups_table" | while IFS='|' read -r name packages what; do
    [ -n "$name" ] || continue
    # shellcheck disable=SC2086,SC2116  # word splitting trims and squeezes the blanks
    printf '%s|%s|%s\n' $name "$(echo $packages)" "$(echo $what)"
  done
}

field() {  # field GROUP N: the Nth field of GROUP's row; fails for an unknown group
  row=$(table | grep "^$1|") || { echo "$me: no group '$1' (groups:$(table | cut -d'|' -f1 | sed 's/^/ /' | tr -d '\n'))" >&2; exit 2; }
  echo "$row" | cut -d'|' -f"$2"
}

installed() {
  case " ${INSTALL_DEPS_MISSING:-} " in *" $1 "*) return 1 ;; esac
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

missing_of() {  # the packages of the named groups that are not installed
  for group in "$@"; do
    for p in $(field "$group" 2); do
      installed "$p" || printf ' %s' "$p"
    done
  done
}

case "${1:-}" in
  --list)
    table | while IFS='|' read -r name packages what; do
      printf '%-8s %s\n         needed by: %s\n' "$name" "$packages" "$what"
    done
    exit 0 ;;
  --has|--check)
    [ $# = 2 ] || { echo "usage: $0 $1 GROUP" >&2; exit 2; }
    field "$2" 1 >/dev/null
    missing=$(missing_of "$2")
    [ -z "$missing" ] && exit 0
    [ "$1" = --check ] && echo "$me: skipping $(field "$2" 3): not installed:$missing"
    exit 1 ;;
esac

dry_run=0
if [ "${1:-}" = --dry-run ]; then dry_run=1; shift; fi
# shellcheck disable=SC2046  # one argument per group
[ $# -gt 0 ] || set -- $(table | cut -d'|' -f1)
for group in "$@"; do field "$group" 1 >/dev/null; done
missing=$(missing_of "$@")
[ -z "$missing" ] && exit 0

add_i386=""
case "$missing" in
  *:i386*)
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      add_i386="dpkg --add-architecture i386 && "
    fi ;;
esac
apt_line="${add_i386}apt-get update && apt-get install -y$missing"

if [ "$(id -u)" != 0 ] || [ -n "${INSTALL_DEPS_USER:-}" ]; then
  echo "$me: not root, so nothing is installed; missing:$missing" >&2
  echo "$me: to install them, as root: $apt_line" >&2
  core_missing=$(missing_of core)
  if [ -n "$core_missing" ]; then
    echo "$me: the build cannot go on without:$core_missing" >&2
    exit 1
  fi
  exit 0
fi

if [ "$dry_run" = 1 ]; then
  echo "would run: $apt_line"
  exit 0
fi
echo "installing:$missing"
[ -n "$add_i386" ] && dpkg --add-architecture i386
apt-get update -qq
# shellcheck disable=SC2086  # one argument per package
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing
