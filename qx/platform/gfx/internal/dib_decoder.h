// Reading device-independent bitmaps that callers pass from files: the
// header is checked before any pixel is read, and only the bytes the header
// implies are touched.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "qx/platform/gfx/dib_rows.h"
#include "qx/platform/gfx/gdi_types.h"

namespace qx::gfx {

struct DibLayout {
    int width = 0;
    int height = 0;  // rows, positive
    bool bottomUp = true;
    int bitCount = 24;
    std::size_t stride = 0;  // bytes per row, padded to 4
    int paletteSize = 0;     // entries, 8-bit bitmaps only
};

// The layout of an uncompressed 8, 24 or 32-bit bitmap, or nothing for a
// header that is inconsistent, too large or needs a missing palette.
std::optional<DibLayout> CheckDib(const BITMAPINFOHEADER& header, const RGBQUAD* palette);

// Writes the pixels of `area` (inside the bitmap, in rows as seen, top row
// first) as premultiplied native-endian ARGB32 into `out`, `outStride` bytes
// a row. Pixels of the colour `transparent` become fully transparent; palette
// indexes past the palette read as black.
void DecodeDibArea(const DibLayout& layout, const std::uint8_t* bits, const RGBQUAD* palette,
                   const CRect& area, std::optional<COLORREF> transparent, std::uint8_t* out,
                   std::size_t outStride);

}  // namespace qx::gfx
