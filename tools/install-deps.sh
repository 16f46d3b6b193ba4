#!/bin/sh
# Installs with apt whatever the build and the tests need and this machine
# lacks; does nothing when all is there. Without root it prints the commands.
set -eu

packages="cmake make g++ libgtest-dev googletest libcli11-dev libpng-dev g++-mingw-w64-i686-posix binutils-mingw-w64-i686 wine wine32:i386 espeak-ng sox clang libclang-rt-dev zip unzip chromium valgrind libbenchmark-dev python3"

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

missing=""
for p in $packages; do
  installed "$p" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

add_i386=""
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  add_i386="dpkg --add-architecture i386 && "
fi

if [ "$(id -u)" != 0 ]; then
  echo "missing packages:$missing" >&2
  echo "run as root: ${add_i386}apt-get update && apt-get install -y$missing" >&2
  exit 1
fi

echo "installing:$missing"
[ -n "$add_i386" ] && dpkg --add-architecture i386
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing
