// Metafiles are Cairo recording surfaces: what is drawn is kept as drawing
// operations (vector shapes, glyphs, images) and replayed through a scale, so
// a page recorded once prints at the printer's resolution.
#include <cairo.h>

#include <cmath>

#include "qx/platform/gfx/internal/dc_impl.h"
#include "qx/platform/gfx/internal/metafile_recording.h"
#include "qx/platform/gfx/internal/screen_caps.h"
#include "qx/platform/gfx/targets.h"

CEnhMetaFile::Recording::Recording(cairo_surface_t* recorded, const CRect& recordedFrame, bool boundedToFrame)
    : surface(recorded), frame(recordedFrame), bounded(boundedToFrame) {}

CEnhMetaFile::Recording::~Recording() { cairo_surface_destroy(surface); }

CEnhMetaFile::CEnhMetaFile(std::unique_ptr<Recording> recording) : recording_(std::move(recording)) {}

CEnhMetaFile::~CEnhMetaFile() = default;

CRect CEnhMetaFile::Frame() const { return recording_->frame; }

namespace {

struct MetaFileImpl : qx::gfx::DcImpl {
    bool hasFrame = false;
    CRect frame;
};

std::unique_ptr<qx::gfx::DcImpl> MakeMetaFileImpl(const CDC* reference, const CRect* frame) {
    auto impl = std::make_unique<MetaFileImpl>();
    impl->caps = reference && reference->HasAttributeContext() ? reference->Impl().caps : qx::gfx::ScreenCaps();
    // A recording with a frame is bounded to it (a new context maps logical
    // units one to one onto device units): what falls outside is not kept,
    // and such a recording plays onto PDF pages as vectors without loss.
    cairo_rectangle_t extents{};
    if (frame && !frame->IsRectEmpty()) {
        impl->hasFrame = true;
        impl->frame = *frame;
        extents = {static_cast<double>(frame->left), static_cast<double>(frame->top),
                   static_cast<double>(frame->Width()), static_cast<double>(frame->Height())};
    }
    cairo_surface_t* surface = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA,
                                                              impl->hasFrame ? &extents : nullptr);
    impl->SetTarget(surface, cairo_create(surface));
    return impl;
}

// The bounds of everything drawn, in whole device units.
CRect InkFrame(cairo_surface_t* surface) {
    double x = 0, y = 0, width = 0, height = 0;
    cairo_recording_surface_ink_extents(surface, &x, &y, &width, &height);
    if (width <= 0 || height <= 0) return {};
    return CRect(static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)),
                 static_cast<int>(std::ceil(x + width)), static_cast<int>(std::ceil(y + height)));
}

}  // namespace

CMetaFileDC::CMetaFileDC(const CDC* reference, const CRect* frame) : CDC(MakeMetaFileImpl(reference, frame)) {}

CMetaFileDC::~CMetaFileDC() = default;

std::unique_ptr<CEnhMetaFile> CMetaFileDC::CloseEnhanced() {
    auto& impl = static_cast<MetaFileImpl&>(*impl_);
    if (!impl.surface) return nullptr;
    cairo_surface_t* surface = cairo_surface_reference(impl.surface);
    impl.SetTarget(nullptr, nullptr);
    CRect frame = impl.hasFrame ? impl.frame : InkFrame(surface);
    return std::make_unique<CEnhMetaFile>(
        std::make_unique<CEnhMetaFile::Recording>(surface, frame, impl.hasFrame));
}

bool CDC::PlayMetaFile(const CEnhMetaFile& metafile, const CRect& rect) {
    const CEnhMetaFile::Recording& recording = metafile.Data();
    const CRect& frame = recording.frame;
    if (frame.IsRectEmpty()) return false;
    qx::gfx::DevicePoint from = impl_->ToDevice(rect.left, rect.top);
    qx::gfx::DevicePoint to = impl_->ToDevice(rect.right, rect.bottom);
    // An empty target rectangle shows nothing (and a zero scale would break
    // the Cairo context for good).
    if (!impl_->cr || to.x == from.x || to.y == from.y) return true;
    cairo_t* cr = impl_->cr;
    qx::gfx::DeviceRect clip = impl_->ToDevice(rect);
    cairo_save(cr);
    cairo_rectangle(cr, clip.x0, clip.y0, clip.x1 - clip.x0, clip.y1 - clip.y0);
    cairo_clip(cr);
    // Cairo replays a recording through a pure scale with the factors in
    // 24.8 fixed point, which moves far edges by whole pixels (0.2 becomes
    // 51/256); through any other matrix it transforms exactly. A shear far
    // below a pixel on any page takes that road.
    constexpr double kNegligibleShear = 1e-9;
    cairo_matrix_t placement;
    cairo_matrix_init(&placement, (to.x - from.x) / frame.Width(), 0, kNegligibleShear,
                      (to.y - from.y) / frame.Height(), from.x, from.y);
    cairo_transform(cr, &placement);
    cairo_translate(cr, -frame.left, -frame.top);
    // Cairo 1.16 loses memory each time an unbounded recording is painted
    // onto a PDF page, but nothing for a bounded one, which also stays
    // vectors: give a recording its frame (as the print engine does). An
    // unbounded one goes onto PDF through a bounded view, which does not leak
    // but is drawn as an image. The image backend misplaces such a view when
    // it starts left of or above the origin, so other targets are given the
    // recording itself.
    if (!recording.bounded && cairo_surface_get_type(cairo_get_target(cr)) == CAIRO_SURFACE_TYPE_PDF) {
        cairo_surface_t* framed = cairo_surface_create_for_rectangle(recording.surface, frame.left, frame.top,
                                                                     frame.Width(), frame.Height());
        cairo_set_source_surface(cr, framed, frame.left, frame.top);
        cairo_surface_destroy(framed);
    } else {
        cairo_set_source_surface(cr, recording.surface, 0, 0);
    }
    cairo_paint(cr);
    cairo_restore(cr);
    return true;
}
