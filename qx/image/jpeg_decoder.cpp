// JPEG pictures through the graphics layer's reader, which delivers an
// embedded thumbnail in place of the whole picture when the file has one.
#include "qx/image/internal/raster_rows.h"
#include "qx/platform/gfx/jpeg_reader.h"

namespace qx {
namespace {

ImageErrors ImageError(gfx::JpegStatus status) {
    switch (status) {
        case gfx::JpegStatus::kOk: return IMAGE_OK;
        case gfx::JpegStatus::kNotJpeg: return IMAGE_UNKNOWN_FORMAT;
        // The file is a JPEG whose data cannot be read as a picture.
        case gfx::JpegStatus::kCorrupt:
        case gfx::JpegStatus::kCutShort: return IMAGE_READ_FAILED;
        case gfx::JpegStatus::kUnsupported: return IMAGE_BAD_DEPTH;
        case gfx::JpegStatus::kTooLarge:
        case gfx::JpegStatus::kNoMemory: return IMAGE_NO_MEMORY;
    }
    return IMAGE_READ_FAILED;
}

}  // namespace

ImageErrors DecodeJpeg(std::span<const std::uint8_t> file, RasterPixels* out) {
    gfx::JpegRows rows;
    RasterPixels made;
    const ImageErrors result = ImageError(gfx::ReadJpegPicture(file, kMaxRasterPixels, &rows));
    if (result == IMAGE_OK) {
        made.header = rows.header;
        made.bits = std::move(rows.bits);
    }
    return Deliver(result, made, out);
}

}  // namespace qx
