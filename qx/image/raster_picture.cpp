#include "qx/image/raster_picture.h"

#include <cstring>
#include <optional>

#include "qx/image/builtin_picture.h"
#include "qx/image/picture_placement.h"
#include "qx/platform/gfx/dc.h"
#include "qx/platform/gfx/dib_rows.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/last_error.h"

namespace qx {
namespace {

enum class ReadFailure { None, Missing, Refused, Locked, TooLarge };

std::optional<std::string> ReadPicture(const std::wstring& path, ReadFailure* failure) {
    std::optional<std::string> bytes = ReadWholeFileShared(path, kMaxPictureFileBytes);
    if (bytes) {
        *failure = ReadFailure::None;
        return bytes;
    }
    switch (GetLastError()) {
        case kErrorFileNotFound:
        case kErrorPathNotFound: *failure = ReadFailure::Missing; break;
        case kErrorSharingViolation: *failure = ReadFailure::Locked; break;
        case kErrorFileTooLarge: *failure = ReadFailure::TooLarge; break;
        default: *failure = ReadFailure::Refused; break;
    }
    return std::nullopt;
}

ImageErrors Decode(const std::string& bytes, RasterPixels* pixels) {
    return DecodeRaster(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), pixels);
}

COLORREF ColorOf(const RGBQUAD& quad) { return RGB(quad.rgbRed, quad.rgbGreen, quad.rgbBlue); }
RGBQUAD QuadOf(COLORREF color) {
    return RGBQUAD{static_cast<std::uint8_t>(GetBValue(color)), static_cast<std::uint8_t>(GetGValue(color)),
                   static_cast<std::uint8_t>(GetRValue(color)), 0};
}

// The pixels with the look's colour mapping applied: the palette of an
// 8-bit picture, every pixel of a 24- or 32-bit one.
RasterPixels Mapped(const RasterPixels& pixels, COLORREF from, COLORREF to) {
    RasterPixels mapped = pixels;
    const RGBQUAD target = QuadOf(to);
    if (pixels.header.biBitCount == 8) {
        for (RGBQUAD& entry : mapped.palette) {
            if (ColorOf(entry) == from) entry = target;
        }
        return mapped;
    }
    const size_t step = pixels.header.biBitCount / 8;
    const size_t width = static_cast<size_t>(pixels.header.biWidth);
    const size_t stride = qx::gfx::DibStride(pixels.header.biWidth, pixels.header.biBitCount);
    for (size_t row = 0; row + stride <= mapped.bits.size(); row += stride) {
        for (size_t x = 0; x < width; ++x) {
            std::uint8_t* pixel = mapped.bits.data() + row + x * step;
            if (RGB(pixel[2], pixel[1], pixel[0]) == from) {
                pixel[0] = target.rgbBlue;
                pixel[1] = target.rgbGreen;
                pixel[2] = target.rgbRed;
            }
        }
    }
    return mapped;
}

}  // namespace

ImageErrors RasterPicture::Load(const std::wstring& path, const std::wstring& standIn) {
    pixels_ = RasterPixels();
    ReadFailure failure;
    std::optional<std::string> bytes = ReadPicture(path, &failure);
    if (failure == ReadFailure::Locked) {
        pixels_ = BuiltinPicture();
        return IMAGE_FILE_LOCKED;
    }
    if (failure == ReadFailure::TooLarge) return IMAGE_NO_MEMORY;
    if (bytes) return Decode(*bytes, &pixels_);

    ReadFailure standInFailure;
    std::optional<std::string> standInBytes = ReadPicture(standIn, &standInFailure);
    if (standInBytes) {
        const ImageErrors error = Decode(*standInBytes, &pixels_);
        return error == IMAGE_OK ? IMAGE_DEFAULT_SHOWN : error;
    }
    pixels_ = BuiltinPicture();
    const bool bothMissing = failure == ReadFailure::Missing && standInFailure == ReadFailure::Missing;
    return bothMissing ? IMAGE_BUILTIN_SHOWN : IMAGE_OPEN_FAILED;
}

CSize RasterPicture::Size() const {
    if (IsEmpty()) return CSize();
    const int height = pixels_.header.biHeight;
    return CSize(pixels_.header.biWidth, height < 0 ? -height : height);
}

COLORREF RasterPicture::BackgroundColor() const {
    if (IsEmpty()) return RGB(0, 0, 0);
    // Rows are stored bottom-up: the bottom-left pixel comes first.
    const std::uint8_t* first = pixels_.bits.data();
    if (pixels_.header.biBitCount == 8) {
        return first[0] < pixels_.palette.size() ? ColorOf(pixels_.palette[first[0]]) : RGB(0, 0, 0);
    }
    return RGB(first[2], first[1], first[0]);
}

CRect RasterPicture::Draw(CDC& dc, const CRect& area, const PictureLook& look) const {
    if (IsEmpty() || area.IsRectEmpty()) return CRect();
    const CSize size = Size();
    const CRect destination = PlacePicture(size, area, look.stretchMode, look.alignFlags);
    CRect visible;
    CRect source;
    if (!ClipPlacement(size, destination, area, &visible, &source)) return destination;
    const bool mapping = look.mapFrom != look.mapTo;
    const RasterPixels mapped = mapping ? Mapped(pixels_, look.mapFrom, look.mapTo) : RasterPixels();
    const RasterPixels& pixels = mapping ? mapped : pixels_;
    const RGBQUAD* palette = pixels.palette.empty() ? nullptr : pixels.palette.data();
    if (look.stretchMode & STRETCH_TRANSPARENT) {
        dc.TransparentDIBits(visible.left, visible.top, visible.Width(), visible.Height(), source.left, source.top,
                             source.Width(), source.Height(), pixels.bits.data(), pixels.header, palette,
                             BackgroundColor());
    } else {
        dc.StretchDIBits(visible.left, visible.top, visible.Width(), visible.Height(), source.left, source.top,
                         source.Width(), source.Height(), pixels.bits.data(), pixels.header, palette);
    }
    return destination;
}

int RasterPicture::RegionAt(CPoint point) const {
    int found = -1;
    long long smallest = 0;
    for (size_t i = 0; i < pixels_.regions.size(); ++i) {
        const ImageRegion& region = pixels_.regions[i];
        if (point.x < region.left || point.x > region.right || point.y < region.top || point.y > region.bottom) {
            continue;
        }
        const long long area = static_cast<long long>(region.right - region.left + 1) * (region.bottom - region.top + 1);
        if (found < 0 || area < smallest) {
            found = static_cast<int>(i);
            smallest = area;
        }
    }
    return found;
}

}  // namespace qx
