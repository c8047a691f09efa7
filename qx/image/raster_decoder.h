// The raster pictures the image windows read themselves: PCX, BMP, TIFF, the
// preview bitmap of a DWG drawing, and JPEG (through the graphics layer's
// JPEG reader, which prefers an embedded thumbnail). Every file is untrusted:
// each size, offset and count is checked against the file before it is used,
// and the picture's width times height is bounded.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "qx/image/image_types.h"
#include "qx/platform/base/export.h"
#include "qx/platform/gfx/gdi_types.h"

namespace qx {

// A named rectangle of a picture, in picture pixels (right and bottom
// inclusive, as the file gives them).
struct ImageRegion {
    std::string name;  // 8-bit text as stored
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
};

// A decoded picture as a device-independent bitmap: 8 bits with a palette of
// 256 entries, 24 bits (BGR) or 32 bits (BGRX); rows bottom-up (biHeight > 0)
// and padded to 4 bytes, ready for CDC::StretchDIBits.
struct RasterPixels {
    BITMAPINFOHEADER header{};
    std::vector<RGBQUAD> palette;    // 256 entries for 8 bits, else empty
    std::vector<std::uint8_t> bits;  // header.biSizeImage bytes
    std::vector<ImageRegion> regions;
};

// The largest picture any decoder builds (width times height).
inline constexpr std::int64_t kMaxRasterPixels = std::int64_t{1} << 26;

// Decodes a picture by its first bytes: JPEG (FF D8), BMP ("BM"), TIFF (42 at
// offset 2), PCX (first byte 10), DWG (a version mark). Returns IMAGE_OK and
// fills *out, or the image error of the table (out is then empty).
QX_API ImageErrors DecodeRaster(std::span<const std::uint8_t> file, RasterPixels* out);

// The decoders one by one (DecodeRaster picks one of them).
QX_API ImageErrors DecodePcx(std::span<const std::uint8_t> file, RasterPixels* out);
QX_API ImageErrors DecodeBmp(std::span<const std::uint8_t> file, RasterPixels* out);
QX_API ImageErrors DecodeTiff(std::span<const std::uint8_t> file, RasterPixels* out);
QX_API ImageErrors DecodeDwgPreview(std::span<const std::uint8_t> file, RasterPixels* out);
QX_API ImageErrors DecodeJpeg(std::span<const std::uint8_t> file, RasterPixels* out);

}  // namespace qx
