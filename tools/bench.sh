#!/usr/bin/env bash
# Benchmark: the real program under Wine on records of N file entries (with the files to
# delete), against the floor of the same deletions in a bare DeleteFileA loop.
#   tools/bench.sh [N ...]      (default: 1000 10000 50000)
# Prints one row per size: wall seconds, entries per second, peak memory, floor, ratio.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${ZELVO_BENCH_BUILD:-build/win64}
sizes=("$@"); [ ${#sizes[@]} -gt 0 ] || sizes=(1000 10000 50000)
[ -x "$build/bin/zelvo_drive.exe" ] || { tools/setup.sh; tools/build.sh; }
exec tools/with-wine.sh bash -c '
  build=$1; shift
  scratch=$(mktemp -d "$ZELVO_WINE_SESSION/bench.XXXXXX")
  winpath() { echo "Z:${1//\//\\}"; }
  make_files() {  # FOLDER N
    mkdir -p "$1"; (cd "$1" && seq 0 $(($2 - 1)) | sed "s/^/f/; s/$/.dat/" | xargs touch)
  }
  printf "%8s %10s %12s %14s %10s %8s\n" entries seconds entries/s peak-memory-MB floor-s ratio
  for n in "$@"; do
    folder=$scratch/run$n; make_files "$folder/files" "$n"
    dir=$(winpath "$folder/files") awk -v n="$n" \
      "BEGIN { printf \"%s\r\n\", \"Zelvo Benchmark\"; for (i = 0; i < n; i++) printf \"f    0 0 %s\\\\f%d.dat\r\n\", ENVIRON[\"dir\"], i }" \
      > "$folder/.UnInst.inf"
    out=$(tools/wine-run.sh "$build/bin/zelvo_drive.exe" --pane "$(winpath "$folder/pane.txt")" --timeout 3600 \
          "$(winpath "$PWD/$build/bin/Uninstall.exe")" "$(winpath "$folder")")
    seconds=$(echo "$out" | sed -n "s/^seconds: //p" | tr -d "\r")
    peak=$(echo "$out" | sed -n "s/^peak-memory-kb: //p" | tr -d "\r")
    deleted=$(grep -o "Deleted\." "$folder/pane.txt" | wc -l)
    [ "$deleted" -eq "$n" ] || echo "bench: only $deleted of $n deleted" >&2
    make_files "$folder/files" "$n"
    floor=$(tools/wine-run.sh "$build/bin/zelvo_delete_floor.exe" "$(winpath "$folder/files")" "$n" | sed -n "s/^seconds: //p" | tr -d "\r")
    awk -v n="$n" -v s="$seconds" -v p="$peak" -v f="$floor" \
      "BEGIN { printf \"%8d %10.2f %12.0f %14.1f %10.3f %8.1f\n\", n, s, n / s, p / 1024, f, s / f }"
    rm -rf "$folder"
  done
' bench "$build" "${sizes[@]}"
