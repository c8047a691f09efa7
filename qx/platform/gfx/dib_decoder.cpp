#include "qx/platform/gfx/internal/dib_decoder.h"

#include <cstring>
#include <limits>

namespace qx::gfx {
namespace {

constexpr std::uint32_t kRgbUncompressed = 0;
constexpr std::uint32_t kHeaderSize = 40;

std::uint32_t Opaque(int r, int g, int b) {
    return 0xFF000000u | static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 |
           static_cast<std::uint32_t>(b);
}

}  // namespace

std::optional<DibLayout> CheckDib(const BITMAPINFOHEADER& header, const RGBQUAD* palette) {
    if (header.biSize < kHeaderSize || header.biPlanes != 1 || header.biCompression != kRgbUncompressed) {
        return std::nullopt;
    }
    if (header.biBitCount != 8 && header.biBitCount != 24 && header.biBitCount != 32) return std::nullopt;
    if (header.biWidth <= 0 || header.biWidth > kMaxDibSide || header.biHeight == 0 ||
        header.biHeight < -kMaxDibSide || header.biHeight > kMaxDibSide) {
        return std::nullopt;
    }
    DibLayout layout;
    layout.width = header.biWidth;
    layout.height = header.biHeight > 0 ? header.biHeight : -header.biHeight;
    layout.bottomUp = header.biHeight > 0;
    layout.bitCount = header.biBitCount;
    layout.stride = DibStride(layout.width, layout.bitCount);
    // A stated image size smaller than the rows need means the caller holds
    // fewer bytes than we would read.
    if (header.biSizeImage != 0 && header.biSizeImage < layout.stride * static_cast<std::size_t>(layout.height)) {
        return std::nullopt;
    }
    if (layout.bitCount == 8) {
        if (!palette || header.biClrUsed > 256) return std::nullopt;
        layout.paletteSize = header.biClrUsed == 0 ? 256 : static_cast<int>(header.biClrUsed);
    }
    return layout;
}

void DecodeDibArea(const DibLayout& layout, const std::uint8_t* bits, const RGBQUAD* palette,
                   const CRect& area, std::optional<COLORREF> transparent, std::uint8_t* out,
                   std::size_t outStride) {
    const int bytesPerPixel = layout.bitCount / 8;
    for (int row = area.top; row < area.bottom; ++row) {
        const int storedRow = layout.bottomUp ? layout.height - 1 - row : row;
        const std::uint8_t* source = bits + static_cast<std::size_t>(storedRow) * layout.stride;
        std::uint8_t* target = out + static_cast<std::size_t>(row - area.top) * outStride;
        for (int column = area.left; column < area.right; ++column) {
            const std::uint8_t* p = source + static_cast<std::size_t>(column) * bytesPerPixel;
            int r = 0, g = 0, b = 0;
            if (layout.bitCount == 8) {
                if (*p < layout.paletteSize) {
                    const RGBQUAD& entry = palette[*p];
                    r = entry.rgbRed, g = entry.rgbGreen, b = entry.rgbBlue;
                }
            } else {
                b = p[0], g = p[1], r = p[2];
            }
            std::uint32_t pixel = (transparent && RGB(r, g, b) == *transparent) ? 0u : Opaque(r, g, b);
            std::memcpy(target + static_cast<std::size_t>(column - area.left) * 4, &pixel, 4);
        }
    }
}

}  // namespace qx::gfx
