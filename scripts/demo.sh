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
echo "== An installation (examples/install): drive C, a registry of its own"
# A copy of the example's registry, so the machine's own is never touched.
registry="$(mktemp -d)"
trap 'rm -rf "$registry"' EXIT
cp examples/install/registry/system.reg examples/install/registry/user.reg "$registry/"
inst='C:\Program Files\quOrix\Heizlast'
{
  export QX_REGISTRY_DIR="$registry" QX_DRIVES="C=$PWD/examples/install/c"
  echo "\$ qxtool install-info --install '$inst'"
  "$qxtool" install-info --install "$inst"
  echo "\$ qxtool translate --wordbooks '$inst\Heizlast' --lang fr Abbrechen 'Heizlast berechnen' '@Menü@Datei'"
  "$qxtool" translate --wordbooks "$inst\Heizlast" --lang fr Abbrechen 'Heizlast berechnen' '@Menü@Datei'
  echo "\$ qxtool translate --wordbooks '$inst\Heizlast' --lang en Raum"
  "$qxtool" translate --wordbooks "$inst\Heizlast" --lang en Raum
  module='C:\Program Files\Common Files\quOrix GmbH\quOsysDll\qxbase.fr'
  echo "\$ qxtool translate --module '$module' Deutschland Französisch"
  "$qxtool" translate --module "$module" Deutschland Französisch
  for options in "--display" "--region OES --print" "--region CHF --display" "--region FRA --prefix Std"; do
    echo "\$ qxtool locate 'Data\Deckblatt.txt' --install '$inst' $options"
    # shellcheck disable=SC2086  # the options are words
    "$qxtool" locate 'Data\Deckblatt.txt' --install "$inst" $options | sed "s|$PWD/||"
  done
} | tee "$out/install.txt"

echo
echo "== A report (examples/report): a parts list from a layout and a tree document"
report_args=(examples/report/parts_list.msk examples/report/parts_list_data.txt)
echo "\$ qxtool print ${report_args[*]} --pdf $out/report.pdf --png $out/report --text $out/report.txt"
"$qxtool" print "${report_args[@]}" --pdf "$out/report.pdf" --png "$out/report" --text "$out/report.txt"
echo "\$ qxtool print examples/report/parts_list.prx examples/report/parts_list_data.txt --pdf $out/report_prx.pdf"
"$qxtool" print examples/report/parts_list.prx examples/report/parts_list_data.txt --pdf "$out/report_prx.pdf"
echo "report: $out/report.pdf, PNG pages in $out/report/, text in $out/report.txt"

echo
echo "== Pictures and slides (examples/images) in the family's image window"
"$qxtool" image show "examples/images/symbols?PUMP" --size 200x150 --out "$out/slide_pump.png"
"$qxtool" slide list examples/images/symbols.slb
"$qxtool" image show tests/data/images/pillow_hopper.tif --stretch 4 --out "$out/picture.png"
"$qxtool" image show tests/data/images/pillow_hopper_lzw.tif || true

echo
echo "== A spreadsheet list (examples/export): rows laid out by a format template"
export_args=(examples/export/list_rows.txt "$out/list.xlsx" --format-template examples/export/list_format.xlsx
             --base-template examples/export/list_base.xlsx --project "4711;Schule Nord;10.12.2026")
echo "\$ qxtool export list ${export_args[*]}"
echo "pages of the last table: $("$qxtool" export list "${export_args[@]}")"
"$qxtool" xlsx dump "$out/list.xlsx" | sed -n 1,8p
echo "list: $out/list.xlsx"

echo
echo "== Parts lists (examples/export): articles as a text file and in a spreadsheet"
project="4711;Schule Nord;10.12.2026"
text_args=(examples/export/parts_list_articles.txt "$out/parts_list.txt" --template examples/export/parts_list_template.txt
           --project "$project")
echo "\$ qxtool export parts-list ${text_args[*]}"
"$qxtool" export parts-list "${text_args[@]}"
head -n 14 "$out/parts_list.txt"
sheet_args=(examples/export/parts_list_articles.txt "$out/parts_list.xlsx"
            --format-template examples/export/parts_list_format.xlsx --base-template examples/export/parts_list_base.xlsx
            --project "$project")
echo "\$ qxtool export parts-list ${sheet_args[*]}"
"$qxtool" export parts-list "${sheet_args[@]}"
"$qxtool" xlsx dump "$out/parts_list.xlsx" | sed -n 1,8p
echo "parts lists: $out/parts_list.txt, $out/parts_list.xlsx"

echo
echo "demo: output written to $out/"
