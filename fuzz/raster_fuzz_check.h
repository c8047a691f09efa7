// What every raster fuzz target checks of a decoder's result: a picture is
// a well-formed bitmap whose every byte was written (reading them lets the
// sanitizers see uninitialised or foreign memory), and a refusal leaves no
// picture behind.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "qx/image/raster_decoder.h"

namespace qx::fuzz {

inline void CheckRaster(ImageErrors result, const RasterPixels& picture) {
    if (result != IMAGE_OK) {
        if (!picture.bits.empty() || !picture.palette.empty() || !picture.regions.empty()) std::abort();
        return;
    }
    const BITMAPINFOHEADER& h = picture.header;
    if (h.biWidth <= 0 || h.biHeight <= 0) std::abort();
    if (static_cast<std::int64_t>(h.biWidth) * h.biHeight > kMaxRasterPixels) std::abort();
    const std::uint64_t stride = (static_cast<std::uint64_t>(h.biWidth) * h.biBitCount + 31) / 32 * 4;
    if (h.biSizeImage != stride * h.biHeight || picture.bits.size() != h.biSizeImage) std::abort();
    if (picture.palette.size() != (h.biBitCount == 8 ? 256u : 0u)) std::abort();
    unsigned sum = 0;
    for (std::uint8_t b : picture.bits) sum += b;
    if (sum == 0xFFFFFFFFu) std::abort();  // keeps the reads
}

}  // namespace qx::fuzz
