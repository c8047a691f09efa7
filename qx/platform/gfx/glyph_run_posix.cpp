#include "qx/platform/gfx/internal/glyph_run.h"

#include "qx/platform/base/checked_length.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/gfx/internal/font_system.h"

namespace qx::gfx {

void GlyphRun::Clear() {
    glyphs.clear();
    clusters.clear();
    utf8.clear();
    width = 0;
}

void GlyphRun::Append(wchar_t c, unsigned long glyph, double baseline, double advance) {
    const std::size_t before = utf8.size();
    AppendUtf8(std::wstring_view(&c, 1), utf8);
    clusters.push_back({qx::CheckedLength<int>(utf8.size() - before), 1});
    glyphs.push_back({glyph, width, baseline});
    width += advance;
}

void ShowGlyphRun(cairo_t* cr, cairo_scaled_font_t* scaledFont, const GlyphRun& run, const FontFace& font) {
    cairo_set_scaled_font(cr, scaledFont);
    cairo_show_text_glyphs(cr, run.utf8.data(), qx::CheckedLength<int>(run.utf8.size()), run.glyphs.data(),
                           qx::CheckedLength<int>(run.glyphs.size()), run.clusters.data(),
                           qx::CheckedLength<int>(run.clusters.size()), cairo_text_cluster_flags_t{});
    if (!font.underline && !font.strikeOut) return;
    // Lines across the run's advance, their positions measured upwards from
    // the baseline, as the layout draws them.
    const FaceMetrics& metrics = font.face->metrics;
    const double baseline = metrics.ascent * kMeasureEm;
    auto addLine = [&](const LineMetrics& line) {
        cairo_rectangle(cr, 0, baseline - line.position * kMeasureEm, run.width, line.thickness * kMeasureEm);
    };
    if (font.underline) addLine(metrics.underline);
    if (font.strikeOut) addLine(metrics.strikeOut);
    cairo_fill(cr);
}

}  // namespace qx::gfx
