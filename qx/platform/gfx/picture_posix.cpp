// Pictures are decoded by gdk-pixbuf into a Cairo image surface once, at
// load time; drawing paints that surface scaled into the device rectangle,
// so every target (PNG, PDF, recording) gets the same pixels.
#include "qx/platform/gfx/picture.h"

#include <cairo.h>
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "qx/platform/gfx/dc.h"
#include "qx/platform/gfx/internal/dc_impl.h"
#include "qx/platform/os/file_stream.h"

namespace qx::gfx {

namespace {

// Pictures above this many pixels are refused before they are decoded, so
// that a header claiming a huge picture cannot make the loader allocate
// gigabytes.
constexpr long long kMaxPixels = 1LL << 26;
constexpr double kDefaultDpi = 96.0;
constexpr double kHiMetricPerInch = 2540.0;

struct GObjectUnref {
    void operator()(void* object) const { g_object_unref(object); }
};
using LoaderPtr = std::unique_ptr<GdkPixbufLoader, GObjectUnref>;

// What the loader reports while it decodes. A picture is refused when its
// loader announces its size, before any pixels are allocated: when it is a
// vector picture (it has no pixels of its own) or larger than kMaxPixels.
// Some loaders (BMP) accept a file that ends early and leave the missing
// rows blank; so the rows decoded are counted, and a picture counts as
// loaded only when every row came from the file.
struct Decoding {
    bool refused = false;
    int width = 0;
    int height = 0;
    std::vector<bool> rows;
    size_t count = 0;

    static void OnSizePrepared(GdkPixbufLoader* loader, gint width, gint height, gpointer self) {
        auto& decoding = *static_cast<Decoding*>(self);
        GdkPixbufFormat* format = gdk_pixbuf_loader_get_format(loader);
        if (!format || gdk_pixbuf_format_is_scalable(format) || width <= 0 || height <= 0 ||
            static_cast<long long>(width) * height > kMaxPixels) {
            decoding.refused = true;
            // A size of zero tells the format's loader to stop here.
            gdk_pixbuf_loader_set_size(loader, 0, 0);
            return;
        }
        decoding.width = width;
        decoding.height = height;
        decoding.rows.assign(static_cast<size_t>(height), false);
    }

    static void OnAreaUpdated(GdkPixbufLoader*, gint, gint y, gint, gint height, gpointer self) {
        auto& decoding = *static_cast<Decoding*>(self);
        const size_t end = std::min(decoding.rows.size(), static_cast<size_t>(std::max(y + height, 0)));
        for (size_t row = static_cast<size_t>(std::max(y, 0)); row < end; ++row) {
            if (!decoding.rows[row]) {
                decoding.rows[row] = true;
                ++decoding.count;
            }
        }
    }
};

// Feeds the whole file to a loader of the format its first bytes show and
// to `fileDigest`. Null when the file cannot be read (a FIFO or device
// included), is no raster picture, is refused by Decoding or is damaged (a
// truncated file included).
GdkPixbuf* DecodeFile(const CString& path, LoaderPtr& loader, GChecksum* fileDigest) {
    const auto file = qx::FileReader::Open(path.str());
    if (!file) return nullptr;
    loader.reset(gdk_pixbuf_loader_new());
    Decoding decoding;
    g_signal_connect(loader.get(), "size-prepared", G_CALLBACK(&Decoding::OnSizePrepared), &decoding);
    g_signal_connect(loader.get(), "area-updated", G_CALLBACK(&Decoding::OnAreaUpdated), &decoding);

    char buffer[65536];
    bool sound = true;
    while (sound) {
        const std::optional<size_t> got = file->Read(buffer, sizeof buffer);
        if (!got || *got == 0) {
            sound = got.has_value();
            break;
        }
        const auto* bytes = reinterpret_cast<const guchar*>(buffer);
        g_checksum_update(fileDigest, bytes, static_cast<gssize>(*got));
        sound = gdk_pixbuf_loader_write(loader.get(), bytes, *got, nullptr) && !decoding.refused;
    }
    // Close even after a failed write: the loader expects it before it goes.
    const bool closed = gdk_pixbuf_loader_close(loader.get(), nullptr);
    g_signal_handlers_disconnect_by_data(loader.get(), &decoding);
    if (!sound || !closed || decoding.refused || decoding.rows.empty() || decoding.count != decoding.rows.size()) {
        return nullptr;
    }
    GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader.get());
    if (!pixbuf || gdk_pixbuf_get_width(pixbuf) != decoding.width ||
        gdk_pixbuf_get_height(pixbuf) != decoding.height) {
        return nullptr;
    }
    return pixbuf;
}

// The resolution the file records ("x-dpi" / "y-dpi"), else 96.
double Resolution(GdkPixbuf* pixbuf, const char* key) {
    const char* value = gdk_pixbuf_get_option(pixbuf, key);
    const double dpi = value ? std::strtod(value, nullptr) : 0.0;
    return dpi > 0.0 && std::isfinite(dpi) ? dpi : kDefaultDpi;
}

// A PDF document keeps one image object per unique id of a surface. Naming
// the surface by the file it was decoded from (its bytes' digest) lets a
// picture loaded again for every page (a letterhead logo) be written and
// compressed once per document, not once per page.
void NameByFile(cairo_surface_t* surface, GChecksum* fileDigest) {
    const std::string id = std::string("qx-picture-") + g_checksum_get_string(fileDigest);
    auto* owned = static_cast<unsigned char*>(std::malloc(id.size()));
    if (!owned) return;
    std::memcpy(owned, id.data(), id.size());
    if (cairo_surface_set_mime_data(surface, CAIRO_MIME_TYPE_UNIQUE_ID, owned, id.size(), std::free, owned) !=
        CAIRO_STATUS_SUCCESS) {
        std::free(owned);
    }
}

// Cairo wants premultiplied native-endian ARGB; gdk-pixbuf gives RGB or
// RGBA bytes.
cairo_surface_t* ToSurface(GdkPixbuf* pixbuf) {
    const int width = gdk_pixbuf_get_width(pixbuf);
    const int height = gdk_pixbuf_get_height(pixbuf);
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const bool alpha = gdk_pixbuf_get_has_alpha(pixbuf);
    if (gdk_pixbuf_get_bits_per_sample(pixbuf) != 8 || channels < (alpha ? 4 : 3)) return nullptr;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    cairo_surface_flush(surface);
    const guchar* source = gdk_pixbuf_read_pixels(pixbuf);
    const int sourceStride = gdk_pixbuf_get_rowstride(pixbuf);
    unsigned char* target = cairo_image_surface_get_data(surface);
    const int targetStride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
        const guchar* in = source + static_cast<size_t>(y) * sourceStride;
        auto* out = reinterpret_cast<std::uint32_t*>(target + static_cast<size_t>(y) * targetStride);
        for (int x = 0; x < width; ++x, in += channels) {
            const unsigned a = alpha ? in[3] : 255;
            const auto premultiply = [a](unsigned c) { return (c * a + 127) / 255; };
            out[x] = (a << 24) | (premultiply(in[0]) << 16) | (premultiply(in[1]) << 8) | premultiply(in[2]);
        }
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}

}  // namespace

struct Picture::Data {
    cairo_surface_t* surface = nullptr;
    CSize pixels;
    CSize hiMetric;
    ~Data() { cairo_surface_destroy(surface); }
};

Picture::Picture() = default;
Picture::~Picture() = default;

bool Picture::Load(const CString& path) {
    data_.reset();
    LoaderPtr loader;
    std::unique_ptr<GChecksum, decltype(&g_checksum_free)> fileDigest(g_checksum_new(G_CHECKSUM_SHA256),
                                                                     &g_checksum_free);
    GdkPixbuf* pixbuf = DecodeFile(path, loader, fileDigest.get());
    if (!pixbuf) return false;
    auto data = std::make_unique<Data>();
    data->surface = ToSurface(pixbuf);
    if (!data->surface) return false;
    NameByFile(data->surface, fileDigest.get());
    const int width = gdk_pixbuf_get_width(pixbuf);
    const int height = gdk_pixbuf_get_height(pixbuf);
    data->pixels = CSize(width, height);
    data->hiMetric = CSize(static_cast<int>(std::lround(width * kHiMetricPerInch / Resolution(pixbuf, "x-dpi"))),
                           static_cast<int>(std::lround(height * kHiMetricPerInch / Resolution(pixbuf, "y-dpi"))));
    data_ = std::move(data);
    return true;
}

bool Picture::IsLoaded() const { return data_ != nullptr; }

CSize Picture::SizePixels() const { return data_ ? data_->pixels : CSize(); }

CSize Picture::SizeHiMetric() const { return data_ ? data_->hiMetric : CSize(); }

COLORREF Picture::PixelColor(int x, int y) const {
    if (!data_ || x < 0 || y < 0 || x >= data_->pixels.cx || y >= data_->pixels.cy) return CLR_INVALID;
    const unsigned char* row = cairo_image_surface_get_data(data_->surface) +
                               static_cast<size_t>(y) * static_cast<size_t>(cairo_image_surface_get_stride(data_->surface));
    std::uint32_t argb;
    std::memcpy(&argb, row + static_cast<size_t>(x) * 4, sizeof argb);
    // Premultiplied: a translucent pixel is given as it shows over black.
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

bool Picture::Draw(CDC& dc, const CRect& rect, const CRect* clip) const {
    if (!data_) return false;
    const DcImpl& impl = dc.Impl();
    if (!impl.cr) return true;  // a context that draws nowhere
    // Corners mapped one by one, so that a mapping that mirrors an axis
    // mirrors the picture as GDI's stretching does.
    const DevicePoint from = impl.ToDevice(rect.left, rect.top);
    const DevicePoint to = impl.ToDevice(rect.right, rect.bottom);
    const double scaleX = (to.x - from.x) / data_->pixels.cx;
    const double scaleY = (to.y - from.y) / data_->pixels.cy;
    if (scaleX == 0.0 || scaleY == 0.0) return true;
    cairo_t* cr = impl.cr;
    cairo_save(cr);
    if (clip) {
        const DevicePoint clipFrom = impl.ToDevice(clip->left, clip->top);
        const DevicePoint clipTo = impl.ToDevice(clip->right, clip->bottom);
        cairo_rectangle(cr, std::min(clipFrom.x, clipTo.x), std::min(clipFrom.y, clipTo.y),
                        std::abs(clipTo.x - clipFrom.x), std::abs(clipTo.y - clipFrom.y));
        cairo_clip(cr);
    }
    cairo_translate(cr, from.x, from.y);
    cairo_scale(cr, scaleX, scaleY);
    cairo_rectangle(cr, 0, 0, data_->pixels.cx, data_->pixels.cy);
    cairo_clip(cr);
    cairo_set_source_surface(cr, data_->surface, 0, 0);
    // Edge pixels are repeated outwards so that an enlarged picture does not
    // fade at its border.
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    if (impl.state.stretchMode == COLORONCOLOR) cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
    return true;
}

}  // namespace qx::gfx
