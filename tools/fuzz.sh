#!/usr/bin/env bash
# Runs every libFuzzer target of the native build for SECONDS each (default 10), starting
# from its seed corpus in fuzz/corpus/<name>/. The repo's corpus is only read; what the
# run learns stays in a scratch folder. A crash leaves its input in build/native/fuzz-findings/.
#   tools/fuzz.sh [SECONDS] [BUILD_DIR]
set -euo pipefail
seconds=${1:-10}
build=${2:-build/native}
root=$(cd "$(dirname "$0")/.." && pwd)
findings=$root/$build/fuzz-findings
mkdir -p "$findings"
status=0
for source in "$root"/fuzz/*_fuzz.cpp; do
  name=$(basename "$source" .cpp)
  seeds=$root/fuzz/corpus/${name%_fuzz}
  work=$(mktemp -d)
  [ -d "$seeds" ] && cp -r "$seeds"/. "$work"/
  echo "fuzz: $name for ${seconds}s"
  if ! "$root/$build/bin/$name" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
       -artifact_prefix="$findings/$name-" -print_final_stats=1 "$work" >"$work.log" 2>&1; then
    echo "fuzz: $name FAILED"; tail -40 "$work.log"; status=1
  else
    grep -E 'stat::number_of_executed_units' "$work.log" | sed "s/^/fuzz: $name /"
  fi
  rm -rf "$work" "$work.log"
done
exit $status
