#!/usr/bin/env bash
# Configures and builds the three trees: build/native (portable code, sanitizers, fuzzers),
# build/win64 (x86_64 program and Windows tests, run here under Wine) and build/win32
# (the i686 program and its tests, compiled and checked only).
set -euo pipefail
cd "$(dirname "$0")/.."
configure() {  # DIR [CMAKE ARGS...]
  local dir=$1; shift
  [ -f "$dir/build.ninja" ] || cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
}
CC=clang CXX=clang++ configure build/native -DCMAKE_BUILD_TYPE=Debug
configure build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
configure build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
for dir in build/native build/win64 build/win32; do
  echo "build: $dir"
  ninja -C "$dir" | grep -v '^\[' || true
  [ "${PIPESTATUS[0]}" -eq 0 ] || { echo "build: $dir FAILED" >&2; exit 1; }
done
