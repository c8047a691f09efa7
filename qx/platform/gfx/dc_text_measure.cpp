// Text measuring of a device context: the selected font's face measured in
// ems and scaled to its logical height, the same on every target.
#include <cmath>
#include <string_view>

#include "qx/platform/gfx/dc.h"
#include "qx/platform/gfx/internal/dc_impl.h"
#include "qx/platform/gfx/internal/font_face.h"
#include "qx/platform/gfx/internal/font_system.h"

CSize CDC::GetTextExtent(const CString& text) const {
    return GetTextExtent(text.GetString(), text.GetLength());
}

CSize CDC::GetTextExtent(const wchar_t* text, int count) const {
    const qx::gfx::FontFace& font = impl_->state.font->Face();
    std::wstring_view view = (text && count > 0) ? std::wstring_view(text, static_cast<std::size_t>(count))
                                                 : std::wstring_view();
    double width = qx::gfx::MeasureEms(*font.face, view) * font.emHeight;
    return {static_cast<int>(std::lround(width)), font.CellHeight()};
}

bool CDC::GetTextMetrics(TEXTMETRIC* metrics) const {
    if (!metrics) return false;
    const qx::gfx::FontFace& font = impl_->state.font->Face();
    const qx::gfx::FaceMetrics& ems = font.face->metrics;
    auto scaled = [&](double value) { return static_cast<int>(std::lround(value * font.emHeight)); };
    metrics->tmAscent = font.Ascent();
    metrics->tmDescent = font.Descent();
    metrics->tmHeight = font.CellHeight();
    metrics->tmInternalLeading = metrics->tmHeight - static_cast<int>(std::lround(font.emHeight));
    metrics->tmExternalLeading = scaled(ems.externalLeading);
    metrics->tmAveCharWidth = scaled(ems.averageCharWidth);
    metrics->tmMaxCharWidth = scaled(ems.maxCharWidth);
    return true;
}
