#include "qx/image/builtin_picture.h"

#include "qx/platform/gfx/dib_rows.h"

namespace qx {

RasterPixels BuiltinPicture() {
    constexpr int kSide = 32;
    constexpr std::uint8_t kField = 224;
    constexpr std::uint8_t kLine = 128;
    RasterPixels picture;
    qx::gfx::MakeDibHeader(kSide, kSide, 8, kSide * kSide, &picture.header);
    const size_t stride = qx::gfx::DibStride(kSide, 8);
    picture.bits.resize(picture.header.biSizeImage);
    picture.palette.resize(256);
    for (int i = 0; i < 256; ++i) {
        const auto grey = static_cast<std::uint8_t>(i);
        picture.palette[static_cast<size_t>(i)] = RGBQUAD{grey, grey, grey, 0};
    }
    for (int y = 0; y < kSide; ++y) {
        std::uint8_t* row = picture.bits.data() + static_cast<size_t>(y) * stride;
        for (int x = 0; x < kSide; ++x) {
            const bool frame = x == 0 || y == 0 || x == kSide - 1 || y == kSide - 1;
            const bool diagonal = x == y || x == kSide - 1 - y;
            row[x] = frame || diagonal ? kLine : kField;
        }
    }
    return picture;
}

}  // namespace qx
