// The row layout of a device-independent bitmap: every row padded to a
// multiple of 4 bytes, the rows stored bottom-up. Decoders that build a
// bitmap size it here, from checked numbers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "qx/platform/gfx/gdi_types.h"

namespace qx::gfx {

// Bitmaps wider or taller than this are refused (the largest image a
// drawing surface takes).
inline constexpr int kMaxDibSide = 32767;

// Bytes of one row of `width` pixels at `bitCount` bits, padded to 4.
// Callers keep width within kMaxDibSide, so this cannot overflow.
constexpr std::size_t DibStride(std::int64_t width, int bitCount) {
    return static_cast<std::size_t>((width * bitCount + 31) / 32 * 4);
}

// Whether a bitmap of width x height pixels may be made: each side from 1 to
// kMaxDibSide (checked first, so the product cannot overflow) and at most
// maxPixels in all.
constexpr bool DibSizeAllowed(std::int64_t width, std::int64_t height, std::int64_t maxPixels) {
    return width >= 1 && height >= 1 && width <= kMaxDibSide && height <= kMaxDibSide && width * height <= maxPixels;
}

// The header of a bottom-up bitmap of width x height pixels at bitCount bits
// (8 means 256 palette entries), with its image size. False (and the header
// left alone) when a side is below 1 or above kMaxDibSide, or when
// width x height exceeds maxPixels.
inline bool MakeDibHeader(std::int64_t width, std::int64_t height, int bitCount, std::int64_t maxPixels,
                          BITMAPINFOHEADER* header) {
    if (!DibSizeAllowed(width, height, maxPixels)) return false;
    const std::uint64_t size = DibStride(width, bitCount) * static_cast<std::uint64_t>(height);
    if (size > UINT32_MAX) return false;
    BITMAPINFOHEADER made;
    made.biWidth = static_cast<std::int32_t>(width);
    made.biHeight = static_cast<std::int32_t>(height);
    made.biPlanes = 1;
    made.biBitCount = static_cast<std::uint16_t>(bitCount);
    made.biSizeImage = static_cast<std::uint32_t>(size);
    made.biClrUsed = bitCount == 8 ? 256 : 0;
    *header = made;
    return true;
}

}  // namespace qx::gfx
