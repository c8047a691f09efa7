// What the raster decoders share: the bitmap a picture is decoded into, its
// rows, and the device-independent bitmaps that BMP files and DWG previews
// both carry.
#pragma once

#include <cstddef>
#include <cstdint>

#include "qx/image/raster_decoder.h"
#include "qx/platform/base/byte_reader.h"

namespace qx {

// Whether a picture of width x height pixels may be decoded (the check of
// StartRaster, for decoders that refuse a picture before reading further).
bool RasterSizeAllowed(std::int64_t width, std::int64_t height);

// Sizes *out for a bottom-up picture of width x height pixels at 8 bits
// (with a black palette of 256 entries) or 24 bits. IMAGE_NO_MEMORY for a
// side below 1, a picture larger than kMaxRasterPixels or a side the
// drawing surfaces cannot take (nothing is allocated then), or when the
// memory cannot be had.
ImageErrors StartRaster(std::int64_t width, std::int64_t height, int bitCount, RasterPixels* out);

// Bytes of one stored row of the picture.
std::size_t RasterStride(const RasterPixels& picture);

// The stored bytes of picture row y, counted from the top.
std::uint8_t* RasterRow(RasterPixels& picture, int y);

// Hands a decoded picture over when the decoder succeeded; *out is emptied
// otherwise. Returns result.
ImageErrors Deliver(ImageErrors result, RasterPixels& made, RasterPixels* out);

// Palette entries stored as blue, green, red, reserved (count at most 256),
// at the position given; false when they are not all in the file.
bool ReadQuadPalette(const ByteReader& file, std::uint64_t at, int count, RasterPixels* picture);

// The fields of a BITMAPINFOHEADER that the decoders use.
struct DibHeader {
    std::uint32_t size = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;  // negative: rows stored top-down
    int planes = 0;
    int bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
};
inline constexpr std::uint64_t kDibHeaderSize = 40;
DibHeader ReadDibHeader(const ByteReader& file, std::uint64_t at);

// Copies the uncompressed 8- or 24-bit rows of a device-independent bitmap
// that start at bitsAt into a picture of its size, bottom-up whichever way
// the file stores them. IMAGE_SEEK_FAILED when bitsAt lies outside the file,
// IMAGE_READ_FAILED when the rows are cut short, IMAGE_NO_MEMORY for a
// size StartRaster refuses. The palette is the caller's.
ImageErrors ReadDibRows(const ByteReader& file, std::uint64_t bitsAt, const DibHeader& header, RasterPixels* out);

}  // namespace qx
