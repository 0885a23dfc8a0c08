#!/usr/bin/env bash
# Every test: installs what is missing, builds all three trees, runs the native tests, a
# bounded fuzz run, the import check, and the Windows tests under a private Wine session.
set -uo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh || exit 1
tools/build.sh || exit 1
status=0
step() { echo; echo "== $*"; "$@" || status=1; }
step ctest --test-dir build/native --output-on-failure --timeout 120
step tools/fuzz.sh "${ZELVO_FUZZ_SECONDS:-10}"
step tools/check-imports.sh
step tools/with-wine.sh ctest --test-dir build/win64 --output-on-failure --timeout 300
echo
[ $status -eq 0 ] && echo "all tests passed" || echo "SOME TESTS FAILED"
exit $status
