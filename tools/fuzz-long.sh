#!/usr/bin/env bash
# Builds the native tree and runs every fuzz target for SECONDS each (default 600), for the
# long runs that tools/test.sh has no time for.
#   tools/fuzz-long.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/native/build.ninja ] ||
  CC=clang CXX=clang++ cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
ninja -C build/native | grep -v '^\[' || [ "${PIPESTATUS[0]}" -eq 0 ]
exec tools/fuzz.sh "${1:-600}" build/native
