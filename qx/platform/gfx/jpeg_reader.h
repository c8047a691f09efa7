// JPEG pictures from memory, through libjpeg-turbo: their parameters, and
// their pixels as bitmap rows. A file that carries an embedded thumbnail is
// delivered as that thumbnail (the picture a preview window wants), else as
// the whole picture. Every file is untrusted: the picture's size is bounded
// before anything is decompressed, and a decoding error, or data that end
// before the picture does, is reported, never shown as a picture.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "qx/platform/base/export.h"
#include "qx/platform/gfx/gdi_types.h"

namespace qx::gfx {

// Where an embedded thumbnail comes from: the JFIF header's own RGB
// thumbnail, a JFXX extension (JPEG-coded, 1-byte palettized or 3-byte RGB),
// or the second directory of an EXIF block (a JPEG stream).
enum class JpegThumbnail { kNone, kJfif, kJfxxJpeg, kJfxxPalette, kJfxxRgb, kExif };

struct JpegInfo {
    int width = 0;
    int height = 0;
    int channels = 0;  // 1 grey, 3 colour, 4 CMYK
    JpegThumbnail thumbnail = JpegThumbnail::kNone;
    int thumbnailWidth = 0;  // 0 without a thumbnail
    int thumbnailHeight = 0;
};

enum class JpegStatus {
    kOk,
    kNotJpeg,      // no start-of-image marker
    kCorrupt,      // libjpeg refused the data
    kCutShort,     // the data end before the picture does
    kTooLarge,     // more pixels than the caller allows
    kUnsupported,  // a colour space other than grey, YCbCr, RGB, CMYK and YCCK
    kNoMemory,
};

// A decoded picture: 24-bit BGR or 32-bit BGRX rows, bottom-up and padded to
// 4 bytes, as a device-independent bitmap (header.biSizeImage bytes).
struct JpegRows {
    BITMAPINFOHEADER header;
    std::vector<std::uint8_t> bits;
};

// The parameters of the picture and of the thumbnail that ReadJpegPicture
// would deliver first.
QX_API JpegStatus ReadJpegInfo(std::span<const std::uint8_t> file, JpegInfo* info);

// The first embedded thumbnail (in file order) that decodes, as 24-bit
// rows; without one the whole picture: grey and colour pictures as 24-bit
// rows, CMYK pictures as 32-bit rows. Pictures (and thumbnails) with more
// than maxPixels pixels are refused. *info, when given, tells what was
// delivered.
QX_API JpegStatus ReadJpegPicture(std::span<const std::uint8_t> file, std::int64_t maxPixels, JpegRows* out,
                                  JpegInfo* info = nullptr);

}  // namespace qx::gfx
