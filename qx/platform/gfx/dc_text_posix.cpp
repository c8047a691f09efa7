// Drawing text: one line at a time, placed in the measuring context's pixels
// (by the advances that measure it, or by its layout) and drawn scaled from
// measuring pixels to the target's device pixels, so glyphs land where
// measuring put them.
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "qx/platform/base/checked_length.h"
#include "qx/platform/gfx/dc.h"
#include "qx/platform/gfx/internal/dc_impl.h"
#include "qx/platform/gfx/internal/font_face.h"
#include "qx/platform/gfx/internal/font_system.h"
#include "qx/platform/gfx/internal/text_lines.h"

namespace {

// One line with the cell's top-left at logical (x, y), turned by the font's
// escapement around that point. Text stays upright whatever direction the
// mapping gives the axes, as GDI draws it.
void DrawLine(const qx::gfx::DcImpl& impl, double x, double y, std::wstring_view text) {
    const qx::gfx::FontFace& font = impl.state.font->Face();
    cairo_t* cr = impl.cr;
    qx::gfx::DevicePoint origin = impl.ToDevice(x, y);
    cairo_save(cr);
    cairo_translate(cr, origin.x, origin.y);
    cairo_rotate(cr, -font.escapement / 10.0 * std::numbers::pi / 180.0);
    cairo_scale(cr, impl.ScaleX(), impl.ScaleY());
    if (impl.state.bkMode == OPAQUE) {
        // The cell GetTextExtent reports, in whole logical units.
        double width = std::lround(qx::gfx::MeasureEms(*font.face, text) * font.emHeight);
        impl.SetSourceColor(impl.state.bkColor);
        cairo_rectangle(cr, 0, 0, width, font.CellHeight());
        cairo_fill(cr);
    }
    double scale = font.emHeight / qx::gfx::kMeasureEm;
    cairo_scale(cr, scale, scale);
    impl.SetSourceColor(impl.state.textColor);
    qx::gfx::ShowTextLine(cr, font, text);
    cairo_restore(cr);
}

}  // namespace

bool CDC::TextOut(int x, int y, const CString& text) {
    return TextOut(x, y, text.GetString(), text.GetLength());
}

bool CDC::TextOut(int x, int y, const wchar_t* text, int count) {
    if (count < 0 || (!text && count > 0)) return false;
    if (impl_->cr && count > 0) DrawLine(*impl_, x, y, std::wstring_view(text, static_cast<std::size_t>(count)));
    return true;
}

// Vertical centring and bottom alignment apply to single lines only, as in
// GDI; the text is clipped to the rectangle.
int CDC::DrawText(const CString& text, CRect* rect, unsigned format) {
    if (!rect) return 0;
    const int lineHeight = impl_->state.font->Face().CellHeight();
    auto measure = [this](std::wstring_view line) {
        return GetTextExtent(line.data(), qx::CheckedLength<int>(line.size())).cx;
    };
    std::vector<qx::gfx::TextLine> lines = qx::gfx::BreakTextLines(text.str(), format, rect->Width(), measure);
    const int height = lineHeight * qx::CheckedLength<int>(lines.size());
    if (format & DT_CALCRECT) {
        int widest = 0;
        for (const qx::gfx::TextLine& line : lines) widest = std::max(widest, line.width);
        rect->right = rect->left + widest;
        rect->bottom = rect->top + height;
        return height;
    }
    int top = rect->top;
    if (format & DT_SINGLELINE) {
        if (format & DT_BOTTOM) {
            top = rect->bottom - lineHeight;
        } else if (format & DT_VCENTER) {
            top = rect->top + (rect->Height() - lineHeight) / 2;
        }
    }
    // GDI's result: from the rectangle's top to the bottom of the text.
    const int result = top - rect->top + height;
    if (!impl_->cr) return result;
    qx::gfx::DeviceRect clip = impl_->ToDevice(*rect);
    cairo_save(impl_->cr);
    cairo_rectangle(impl_->cr, clip.x0, clip.y0, clip.x1 - clip.x0, clip.y1 - clip.y0);
    cairo_clip(impl_->cr);
    int y = top;
    for (const qx::gfx::TextLine& line : lines) {
        int x = rect->left;
        if (format & DT_CENTER) {
            x = rect->left + (rect->Width() - line.width) / 2;
        } else if (format & DT_RIGHT) {
            x = rect->right - line.width;
        }
        if (!line.text.empty()) DrawLine(*impl_, x, y, line.text);
        y += lineHeight;
    }
    cairo_restore(impl_->cr);
    return result;
}
