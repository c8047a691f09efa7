#include "qx/image/raster_decoder.h"

#include <cstring>
#include <new>

#include "qx/image/internal/raster_rows.h"
#include "qx/platform/gfx/dib_rows.h"

namespace qx {

bool RasterSizeAllowed(std::int64_t width, std::int64_t height) {
    return gfx::DibSizeAllowed(width, height, kMaxRasterPixels);
}

ImageErrors StartRaster(std::int64_t width, std::int64_t height, int bitCount, RasterPixels* out) {
    BITMAPINFOHEADER header;
    if (!gfx::MakeDibHeader(width, height, bitCount, kMaxRasterPixels, &header)) return IMAGE_NO_MEMORY;
    try {
        out->bits.assign(header.biSizeImage, 0);
        out->palette.assign(bitCount == 8 ? 256 : 0, RGBQUAD{});
    } catch (const std::bad_alloc&) {
        *out = RasterPixels{};
        return IMAGE_NO_MEMORY;
    }
    out->header = header;
    return IMAGE_OK;
}

std::size_t RasterStride(const RasterPixels& picture) {
    return gfx::DibStride(picture.header.biWidth, picture.header.biBitCount);
}

std::uint8_t* RasterRow(RasterPixels& picture, int y) {
    const auto stored = static_cast<std::size_t>(picture.header.biHeight - 1 - y);
    return picture.bits.data() + stored * RasterStride(picture);
}

ImageErrors Deliver(ImageErrors result, RasterPixels& made, RasterPixels* out) {
    *out = result == IMAGE_OK ? std::move(made) : RasterPixels{};
    return result;
}

bool ReadQuadPalette(const ByteReader& file, std::uint64_t at, int count, RasterPixels* picture) {
    const std::span<const std::uint8_t> entries = file.Bytes(at, std::uint64_t{4} * count);
    if (entries.empty() && count > 0) return false;
    for (int k = 0; k < count; ++k) {
        RGBQUAD& entry = picture->palette[k];
        entry.rgbBlue = entries[4 * k];
        entry.rgbGreen = entries[4 * k + 1];
        entry.rgbRed = entries[4 * k + 2];
    }
    return true;
}

DibHeader ReadDibHeader(const ByteReader& file, std::uint64_t at) {
    DibHeader header;
    header.size = file.U32(at);
    header.width = file.S32(at + 4);
    header.height = file.S32(at + 8);
    header.planes = file.U16(at + 12);
    header.bitCount = file.U16(at + 14);
    header.compression = file.U32(at + 16);
    header.colorsUsed = file.U32(at + 32);
    return header;
}

ImageErrors ReadDibRows(const ByteReader& file, std::uint64_t bitsAt, const DibHeader& header, RasterPixels* out) {
    const bool topDown = header.height < 0;
    const std::int64_t height = topDown ? -header.height : header.height;
    BITMAPINFOHEADER layout;
    if (!gfx::MakeDibHeader(header.width, height, header.bitCount, kMaxRasterPixels, &layout)) {
        return IMAGE_NO_MEMORY;
    }
    if (bitsAt > file.size()) return IMAGE_SEEK_FAILED;
    const std::span<const std::uint8_t> rows = file.Bytes(bitsAt, layout.biSizeImage);
    if (rows.empty()) return IMAGE_READ_FAILED;
    if (const ImageErrors started = StartRaster(header.width, height, header.bitCount, out)) return started;
    if (!topDown) {
        std::memcpy(out->bits.data(), rows.data(), rows.size());
        return IMAGE_OK;
    }
    const std::size_t stride = RasterStride(*out);
    for (int y = 0; y < static_cast<int>(height); ++y) {
        std::memcpy(RasterRow(*out, y), rows.data() + static_cast<std::size_t>(y) * stride, stride);
    }
    return IMAGE_OK;
}

ImageErrors DecodeRaster(std::span<const std::uint8_t> file, RasterPixels* out) {
    if (file.empty()) {
        *out = RasterPixels{};
        return IMAGE_NO_MEMORY;
    }
    // The formats' first bytes differ; each decoder checks the rest of its
    // signature, and the DWG decoder answers IMAGE_UNKNOWN_FORMAT for a file
    // that carries none of its version marks.
    switch (file[0]) {
        case 0xFF: return DecodeJpeg(file, out);
        case 'B': return DecodeBmp(file, out);
        case 'I':
        case 'M': return DecodeTiff(file, out);
        case 10: return DecodePcx(file, out);
        default: return DecodeDwgPreview(file, out);
    }
}

}  // namespace qx
