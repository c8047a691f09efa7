#!/usr/bin/env bash
# Draws docs/images/image-window-alignments.png: the family's image window
# (qxtool image show) showing one picture in each of its nine alignments,
# laid out as the alignments point, and docs/images/slide-library.png: the
# slides of examples/images/symbols.slb side by side on a dark background,
# where colour 7 (white) shows.
#
#     scripts/make-image-docs.sh [BUILD_DIR]
#
# Needs the built qxtool and Debian's python3-pil for the composing.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
qxtool="$build/tools/qxtool/qxtool"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

picture="$root/tests/data/images/pillow_hopper.tif"
# Rows of the grid, each alignment where it points.
for alignment in 7 0 1 6 8 2 5 4 3; do
    "$qxtool" image show "$picture" --size 240x180 --align "$alignment" --out "$work/align-$alignment.png" >/dev/null
done
for slide in VALVE PUMP RADIATOR HEATEX; do
    "$qxtool" image show "$root/examples/images/symbols?$slide" --size 200x150 --stretch 0 \
        --background 303030 --out "$work/slide-$slide.png" >/dev/null
done

/usr/bin/python3 - "$work" "$root/docs/images" <<'PY'
import sys
from PIL import Image, ImageDraw

work, out = sys.argv[1], sys.argv[2]

def grid(names, columns, cell, path, labels):
    gap = 8
    rows = (len(names) + columns - 1) // columns
    sheet = Image.new("RGB", (columns * (cell[0] + gap) + gap, rows * (cell[1] + gap + 14) + gap), "white")
    draw = ImageDraw.Draw(sheet)
    for i, name in enumerate(names):
        x = gap + (i % columns) * (cell[0] + gap)
        y = gap + (i // columns) * (cell[1] + gap + 14)
        sheet.paste(Image.open(f"{work}/{name}.png"), (x, y))
        draw.text((x, y + cell[1] + 2), labels[i], fill="black")
    sheet.save(path)

order = [7, 0, 1, 6, 8, 2, 5, 4, 3]
grid([f"align-{a}" for a in order], 3, (240, 180), f"{out}/image-window-alignments.png",
     [f"alignment {a}" for a in order])
slides = ["VALVE", "PUMP", "RADIATOR", "HEATEX"]
grid([f"slide-{s}" for s in slides], 4, (200, 150), f"{out}/slide-library.png", [f"symbols?{s}" for s in slides])
PY
echo "wrote docs/images/image-window-alignments.png and docs/images/slide-library.png"
