// Finding the thumbnails a JPEG file embeds in its APP0 and APP1 segments,
// without decoding anything: the segments' own lengths bound every read.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "qx/platform/gfx/jpeg_reader.h"

namespace qx::gfx {

// One application segment as saved by the decoder: its marker (0xE0 for
// APP0, 0xE1 for APP1) and its data after the length.
struct JpegSegment {
    int marker = 0;
    std::span<const std::uint8_t> data;
};

// A thumbnail found in a segment. The raw kinds (JFIF, JFXX palettized and
// RGB) know their size and pixels (RGB triples, or indexes into a palette
// of 256 RGB triples); the JPEG kinds hold a JPEG stream whose size comes
// from its own header. The spans point into the segment data.
struct ThumbnailSource {
    JpegThumbnail kind = JpegThumbnail::kNone;
    int width = 0;
    int height = 0;
    std::span<const std::uint8_t> pixels;   // raw kinds
    std::span<const std::uint8_t> palette;  // JFXX palettized: 768 bytes
    std::span<const std::uint8_t> stream;   // JPEG kinds, from its FF D8
};

// The thumbnails of the segments in their order; a thumbnail whose size is
// 0 or whose bytes are not all inside its segment is left out.
std::vector<ThumbnailSource> FindThumbnails(std::span<const JpegSegment> segments);

}  // namespace qx::gfx
