#!/usr/bin/env bash
# The main job on the shipped examples: what the landed subsystems can show.
# Usage: scripts/demo.sh BUILD_DIR
set -euo pipefail
build="${1:-build}"
out="$build/demo"
mkdir -p "$out"

echo "== A tree document built in memory (examples/tree_basics.cpp)"
"$build/examples/tree_basics" | tee "$out/tree_basics.txt"

echo
echo "== Packed value lists with qxtool"
qxtool="$build/tools/qxtool/qxtool"
{
  echo "\$ qxtool pack 'DN 15' 'a:b' 'two
lines'"
  "$qxtool" pack 'DN 15' 'a:b' 'two
lines'
  echo "\$ qxtool unpack --sep ';' '1;2,5;x'"
  "$qxtool" unpack --sep ';' '1;2,5;x'
} | tee "$out/packed_values.txt"

echo
echo "demo: output written to $out/ (tree_basics.txt, packed_values.txt)"
