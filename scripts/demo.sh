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
echo "== Tree documents in every form (examples/trees), converted"
"$qxtool" tree cat examples/trees/config_encoded.txx | tee "$out/config.txt"
"$qxtool" tree convert examples/trees/config_cp1252.txt "$out/config_utf8.txt" --utf8
"$qxtool" tree convert examples/trees/config_utf16.txt "$out/config_encoded.txx"
"$qxtool" tree cat examples/trees/room_xml_utf8.txt
echo "window width: $("$qxtool" tree get examples/trees/config_utf8.txt 'Fenster\' Position 3)"

echo
echo "== A VDI 3805 file as a tree document, and back"
"$qxtool" tree convert examples/vdi/muster_heizkoerper.vdi "$out/muster_heizkoerper.txt"
"$qxtool" tree convert "$out/muster_heizkoerper.txt" "$out/muster_heizkoerper.vdi"
"$qxtool" tree cat "$out/muster_heizkoerper.txt" | head -n 12
cmp -s examples/vdi/muster_heizkoerper.vdi "$out/muster_heizkoerper.vdi" && echo "(VDI -> text -> VDI gives the file back unchanged)"

echo
echo "demo: output written to $out/"
