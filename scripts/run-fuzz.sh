#!/usr/bin/env bash
# Runs libFuzzer targets of a fuzzing build on their seed corpora.
#
#   run-fuzz.sh BUILD_DIR SECONDS [TARGET...]
#
# Each target (all of BUILD_DIR/fuzz/*_fuzzer when none is named) runs for
# SECONDS on fuzz/corpus/<target>; what it finds goes to a scratch folder
# that is removed afterwards, so the seed corpora stay as they are. A crash,
# a leak or a sanitizer report stops the script with the target's exit
# status and leaves the reproducer in fuzz-findings/<target>/.
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 BUILD_DIR SECONDS [TARGET...]" >&2
  exit 2
fi
build_dir=$1
seconds=$2
shift 2
source_dir=$(cd "$(dirname "$0")/.." && pwd)

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for program in "$build_dir"/fuzz/*_fuzzer; do
    [ -x "$program" ] && targets+=("$(basename "$program")")
  done
fi
[ ${#targets[@]} -gt 0 ] || { echo "run-fuzz: no fuzz targets in $build_dir/fuzz" >&2; exit 1; }

scratch=$(mktemp -d "${TMPDIR:-/tmp}/qx-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT INT TERM

for target in "${targets[@]}"; do
  corpus=$source_dir/fuzz/corpus/$target
  findings=$source_dir/fuzz-findings/$target
  mkdir -p "$scratch/$target" "$findings"
  echo "== $target: $seconds s"
  if ! "$build_dir/fuzz/$target" -max_total_time="$seconds" -print_final_stats=0 \
      -artifact_prefix="$findings/" "$scratch/$target" ${corpus:+"$corpus"} \
      >"$scratch/$target.log" 2>&1; then
    tail -n 60 "$scratch/$target.log" >&2
    echo "run-fuzz: $target found a fault; the input is in $findings/" >&2
    exit 1
  fi
  rmdir "$findings" 2>/dev/null || true
  grep -E "^#[0-9]+.*DONE" "$scratch/$target.log" | tail -n 1 || true
done
rmdir "$source_dir/fuzz-findings" 2>/dev/null || true
echo "run-fuzz: ${#targets[@]} targets ran $seconds s each without a finding"
