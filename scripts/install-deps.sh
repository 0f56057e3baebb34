#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing. The shipped
# program is 32-bit, so Wine needs its i386 part (wine32:i386), which needs the i386 architecture.
# The shipped program's runtime is rebuilt for the 486 (scripts/build-486-runtime.sh) from Debian's
# GCC and MinGW-w64 sources: gcc-12-source, and mingw-w64 through apt-get source, which needs
# deb-src entries for the archive the packages come from.
set -euo pipefail
packages=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev googletest libbenchmark-dev
          g++-mingw-w64-i686-win32 g++-mingw-w64-i686-posix binutils-mingw-w64-i686
          wine wine32:i386 xvfb xauth x11-utils imagemagick mtools genisoimage xorriso
          gcc-12-source dpkg-dev libgmp-dev libmpfr-dev libmpc-dev xz-utils bzip2 patch)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
if ! grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  echo "adding deb-src entries for the runtime's sources"
  for list in /etc/apt/sources.list.d/*.sources; do
    [[ -e "$list" ]] || continue
    sed 's/^Types: deb$/Types: deb-src/' "$list" >"${list%.sources}-src.sources"
  done
  if [[ -f /etc/apt/sources.list ]]; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >/etc/apt/sources.list.d/deb-src.list
  fi
  apt-get update -qq
fi
