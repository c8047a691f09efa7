#include <cairo.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "qx/platform/gfx/internal/dc_impl.h"
#include "qx/platform/gfx/targets.h"
#include "qx/platform/os/file_system.h"

namespace {

std::unique_ptr<qx::gfx::DcImpl> MakeImageImpl(int width, int height, const ImageTargetOptions& options) {
    auto impl = std::make_unique<qx::gfx::DcImpl>();
    width = std::max(width, 1);
    height = std::max(height, 1);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    impl->SetTarget(surface, cr);
    impl->SetSourceColor(options.background);
    cairo_paint(cr);
    qx::gfx::DeviceCaps& caps = impl->caps;
    caps.technology = options.technology;
    caps.horzRes = caps.physicalWidth = width;
    caps.vertRes = caps.physicalHeight = height;
    caps.logPixelsX = caps.logPixelsY = options.dpi > 0 ? options.dpi : 96;
    caps.numColors = options.numColors;
    caps.printing = options.printing;
    return impl;
}

cairo_status_t AppendToString(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

CImageDC::CImageDC(int widthPixels, int heightPixels, const ImageTargetOptions& options)
    : CDC(MakeImageImpl(widthPixels, heightPixels, options)) {}

CImageDC::~CImageDC() = default;

bool CImageDC::SavePng(const CString& path) const {
    cairo_surface_flush(impl_->surface);
    std::string png;
    if (cairo_surface_write_to_png_stream(impl_->surface, &AppendToString, &png) != CAIRO_STATUS_SUCCESS) {
        return false;
    }
    return qx::WriteFileAtomically(path.str(), png);
}

COLORREF CImageDC::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= WidthPixels() || y >= HeightPixels()) return 0xFFFFFFFF;
    cairo_surface_flush(impl_->surface);
    const unsigned char* data = cairo_image_surface_get_data(impl_->surface);
    const int stride = cairo_image_surface_get_stride(impl_->surface);
    std::uint32_t pixel;
    std::memcpy(&pixel, data + static_cast<std::ptrdiff_t>(y) * stride + x * 4, 4);
    // Premultiplied ARGB; the image is opaque unless a caller painted alpha.
    unsigned alpha = pixel >> 24;
    auto channel = [&](int shift) {
        unsigned value = (pixel >> shift) & 0xFF;
        return static_cast<int>(alpha == 0 ? 0 : (value * 255 + alpha / 2) / alpha);
    };
    return RGB(channel(16), channel(8), channel(0));
}

int CImageDC::WidthPixels() const { return cairo_image_surface_get_width(impl_->surface); }

int CImageDC::HeightPixels() const { return cairo_image_surface_get_height(impl_->surface); }
