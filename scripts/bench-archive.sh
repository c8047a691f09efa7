#!/usr/bin/env bash
# Extraction speed of a 200 MB member, qxbase beside unzip and cabextract on
# the very same archives in the same run.
#
#   scripts/bench-archive.sh BUILD_DIR
#
# BUILD_DIR is a Release build with -DQX_BENCH=ON. The benchmark program
# makes the archives in $TMPDIR/qxbench-archive and keeps them for this
# script; each tool then writes the member to a file in that same folder,
# as the library writes its copy to the cache folder there. Every extraction
# runs three times; the mean is reported.
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build_dir=$1
program=$build_dir/bench/archive_benchmark
for tool in unzip cabextract gcab; do
  command -v "$tool" >/dev/null || { echo "bench-archive: $tool is not installed" >&2; exit 1; }
done
[ -x "$program" ] || { echo "bench-archive: no $program (configure with -DQX_BENCH=ON)" >&2; exit 1; }

root=${TMPDIR:-/tmp}/qxbench-archive
trap 'rm -rf "$root"' EXIT

# The library's figures: milliseconds per extraction (real time).
csv=$(QX_BENCH_KEEP_ARCHIVES=1 "$program" --benchmark_filter='Extract' --benchmark_format=csv 2>/dev/null)
ours_zip=$(echo "$csv" | awk -F, '/BM_ExtractZip200MB/ { print $4 }')
ours_cab=$(echo "$csv" | awk -F, '/BM_ExtractCab200MB/ { print $4 }')

# Mean milliseconds of three runs of a command.
mean_ms() {
  local total=0 start end
  for _ in 1 2 3; do
    start=$(date +%s%N)
    "$@" >"$root/peer.out"
    end=$(date +%s%N)
    total=$((total + (end - start) / 1000))
  done
  echo "scale=1; $total / 3000" | bc
}
peer_zip=$(mean_ms unzip -p "$root/zip/data.zip" big.txt)
peer_cab=$(mean_ms cabextract -q -p "$root/cab/data.cab")

mb=200
printf 'extracting a %d MB member (%s, %d cores)\n' "$mb" "$(date -u +%Y-%m-%d)" "$(nproc)"
printf '  %-28s %8.1f ms  %7.1f MB/s\n' "qxbase, data.zip" "$ours_zip" "$(echo "$mb * 1000 / $ours_zip" | bc -l)"
printf '  %-28s %8.1f ms  %7.1f MB/s\n' "unzip -p" "$peer_zip" "$(echo "$mb * 1000 / $peer_zip" | bc -l)"
printf '  %-28s %8.1f ms  %7.1f MB/s\n' "qxbase, data.cab" "$ours_cab" "$(echo "$mb * 1000 / $ours_cab" | bc -l)"
printf '  %-28s %8.1f ms  %7.1f MB/s\n' "cabextract -p" "$peer_cab" "$(echo "$mb * 1000 / $peer_cab" | bc -l)"
printf 'ratios (same run)\n'
printf '  %-28s %6.2fx\n' "zip: qxbase / unzip" "$(echo "$ours_zip / $peer_zip" | bc -l)"
printf '  %-28s %6.2fx\n' "cab: qxbase / cabextract" "$(echo "$ours_cab / $peer_cab" | bc -l)"
