#!/usr/bin/env bash
# Writes the seed corpora of the raster fuzz targets (bmp, pcx, tiff,
# dwg_preview and jpeg) into fuzz/corpus/<target>/, with the picture
# writers of the image tests: small generated files of each kind a decoder
# takes, thumbnails of every kind for the JPEG reader.
#
#   gen-image-fuzz-seeds.sh BUILD_DIR
#
# BUILD_DIR holds a built tests/test_image.
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
source_dir=$(cd "$(dirname "$0")/.." && pwd)
program=$1/tests/test_image
[ -x "$program" ] || { echo "gen-image-fuzz-seeds: $program is not built" >&2; exit 1; }
QX_WRITE_FUZZ_SEEDS="$source_dir/fuzz/corpus" "$program" --gtest_filter=RasterFuzzSeeds.Write --gtest_brief=1
