#!/bin/sh
# The Debian packages the project uses, in groups: the core that every build
# needs, and one group per feature that only it needs.
#
#   install-deps.sh [--dry-run] [GROUP...]
#       Makes sure the named groups (every group when none is named) are
#       installed. As root, installs what is missing with apt, core first and
#       then one apt-get install per group, so that one package apt cannot
#       install keeps out only its own group: a missing core stops with
#       apt's message and the apt-get line to run by hand; a feature group
#       apt cannot install is skipped with one line saying why, and the
#       command still succeeds (--dry-run only prints the commands). Without
#       root, installs nothing: prints the one apt-get line that would, and
#       fails only when a core package is missing, since a feature whose
#       group is missing is skipped where it is used (see --check).
#       Each group left out is one line in build/install-deps.skipped
#       (INSTALL_DEPS_SKIPPED names another file); a later run that installs
#       the group takes its line out.
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
core    | cmake make g++ libgtest-dev googletest libcli11-dev libpng-dev libcpp-httplib-dev nlohmann-json3-dev libopus-dev libogg-dev libjs-dygraphs g++-mingw-w64-i686-posix binutils-mingw-w64-i686 libunicorn-dev | the build and its tests
wine    | wine wine32:i386 | the Windows build'\''s tests under Wine, the second witness of the shipped .gau files
voices  | espeak-ng sox | spoken voices (the demo flies with tones, make dist packs no Sound folder)
browser | chromium chromium-driver python3-selenium | the report page and the live panel checked in a headless browser
fuzz    | clang libclang-rt-dev | the fuzzers of the modules and of gaugeinspect
dist    | zip unzip | the package (make dist) and its check
bench   | valgrind libbenchmark-dev python3 | make bench (timings, instruction counts, docs/performance.md)
'

me=install-deps
skipped_file=${INSTALL_DEPS_SKIPPED:-$(cd "$(dirname "$0")/.." && pwd)/build/install-deps.skipped}

# "GROUP|PACKAGES|WHAT" for each group, blanks trimmed.
rows=$(printf '%s\n' "$groups_table" | while IFS='|' read -r name packages what; do
  [ -n "$name" ] || continue
  # shellcheck disable=SC2086,SC2116  # word splitting trims and squeezes the blanks
  printf '%s|%s|%s\n' $name "$(echo $packages)" "$(echo $what)"
done)
table() { printf '%s\n' "$rows"; }

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

skip_line() {  # skip_line GROUP REASON: the one line saying what is left out and why
  echo "$me: skipping $1 ($(field "$1" 3)): $2"
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
    [ "$1" = --check ] && skip_line "$2" "not installed:$missing"
    exit 1 ;;
esac

dry_run=0
if [ "${1:-}" = --dry-run ]; then dry_run=1; shift; fi
# shellcheck disable=SC2046  # one argument per group
[ $# -gt 0 ] || set -- $(table | cut -d'|' -f1)
for group in "$@"; do field "$group" 1 >/dev/null; done
# Core first, each group once: no feature is worth installing without core.
ordered=""
for group in core "$@"; do
  case " $* " in *" $group "*) ;; *) continue ;; esac
  case " $ordered " in *" $group "*) ;; *) ordered="$ordered $group" ;; esac
done
# shellcheck disable=SC2086  # one argument per group
set -- $ordered

# This run's skip lines, one per line; save_skips puts them in $skipped_file
# in place of the lines the named groups had there.
skipped=""
note_skip() {  # note_skip GROUP REASON
  skipped="$skipped$(skip_line "$1" "$2")
"
}
skip() { note_skip "$1" "$2"; skip_line "$1" "$2"; }
save_skips() {
  # shellcheck disable=SC2015  # a file that cannot be written only loses the record
  mkdir -p "$(dirname "$skipped_file")" 2>/dev/null && {
    { grep -Ev "^$me: skipping ($(echo "$*" | tr ' ' '|')) \\(" "$skipped_file" 2>/dev/null || true
      printf '%s' "$skipped"; } >"$skipped_file.new" && mv "$skipped_file.new" "$skipped_file"
  } 2>/dev/null || true
}

# What each named group lacks, "GROUP|PACKAGES" (dpkg-query is asked once).
lacks=$(for group in "$@"; do echo "$group|$(missing_of "$group")"; done)
lacking() { printf '%s\n' "$lacks" | sed -n "s/^$1|//p"; }
missing=$(for group in "$@"; do lacking "$group"; done | tr -d '\n')
if [ -z "$missing" ]; then
  save_skips "$@"
  exit 0
fi

# Wine's 32-bit half is the only i386 package; the architecture is added for it alone.
needs_i386=0
case "$missing" in
  *:i386*) dpkg --print-foreign-architectures | grep -qx i386 || needs_i386=1 ;;
esac
add_i386=""
[ "$needs_i386" = 1 ] && add_i386="dpkg --add-architecture i386 && "
apt_line="${add_i386}apt-get update && apt-get install -y$missing"

if [ "$(id -u)" != 0 ] || [ -n "${INSTALL_DEPS_USER:-}" ]; then
  echo "$me: not root, so nothing is installed; missing:$missing" >&2
  echo "$me: to install them, as root: $apt_line" >&2
  for group in "$@"; do
    [ "$group" = core ] && continue
    group_missing=$(lacking "$group")
    [ -z "$group_missing" ] || note_skip "$group" "not installed:$group_missing"
  done
  save_skips "$@"
  core_missing=$(missing_of core)
  if [ -n "$core_missing" ]; then
    echo "$me: the build cannot go on without:$core_missing" >&2
    exit 1
  fi
  exit 0
fi

if [ "$dry_run" = 1 ]; then
  [ "$needs_i386" = 1 ] && echo "would run: dpkg --add-architecture i386"
  echo "would run: apt-get update"
  for group in "$@"; do
    group_missing=$(lacking "$group")
    [ -z "$group_missing" ] || echo "would run: apt-get install -y$group_missing"
  done
  exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

i386_failed=""
if [ "$needs_i386" = 1 ] && ! dpkg --add-architecture i386; then
  i386_failed="dpkg --add-architecture i386 failed"
fi

# An index apt could not fetch (a mirror in the middle of a sync) is fetched
# once more; still missing, the installs go on with the indexes apt has, and
# a group that needs a missing one is skipped below.
fetched() {
  status=0
  apt-get update -qq >"$work/update" 2>&1 || status=$?
  cat "$work/update"
  [ "$status" = 0 ] && ! grep -Eq '^[WE]: .*(Failed to fetch|Some index files failed to download)' "$work/update"
}
if ! fetched; then
  echo "$me: apt-get update could not fetch every index; trying once more" >&2
  fetched ||
    echo "$me: warning: apt-get update still could not fetch every index; installing from the indexes apt has" >&2
fi

# install PACKAGES: apt's output is shown as it comes; when it fails, $reason
# is apt's last error line and $status its exit status.
install() {
  # shellcheck disable=SC2086  # one argument per package
  { if DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $1 2>&1; then s=0; else s=$?; fi
    echo "$s" >"$work/status"; } | tee "$work/apt"
  status=$(cat "$work/status")
  [ "$status" = 0 ] && return 0
  reason=$(grep '^E: ' "$work/apt" | tail -n 1)
  [ -n "$reason" ] || reason=$(grep -v '^[[:space:]]*$' "$work/apt" | tail -n 1)
  [ -n "$reason" ] || reason="apt-get install exited with status $status"
  return 1
}

for group in "$@"; do
  group_missing=$(lacking "$group")
  [ -n "$group_missing" ] || continue
  if [ -n "$i386_failed" ]; then
    case "$group_missing" in
      *:i386*)
        skip "$group" "$i386_failed"
        continue ;;
    esac
  fi
  echo "$me: installing $group:$group_missing"
  install "$group_missing" && continue
  if [ "$group" = core ]; then
    echo "$me: apt-get could not install core, which every build needs: $reason" >&2
    echo "$me: to install it by hand, as root: apt-get update && apt-get install -y$group_missing" >&2
    exit "$status"
  fi
  skip "$group" "apt-get could not install$group_missing: $reason"
done
save_skips "$@"
