#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the demonstration need.
# Safe to run again: packages already present are left alone.
set -euo pipefail
pkgs=(cmake ninja-build make g++ clang libclang-rt-14-dev googletest
      g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
      wine64 xvfb x11-utils imagemagick python3)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
