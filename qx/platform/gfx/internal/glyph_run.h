// A line of text as one run of glyphs of one face, positioned in measuring
// pixels: drawn with a single glyph operation (and one fill for underline
// and strike-out), which a recording replays cheaply.
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

#include "qx/platform/gfx/internal/font_face.h"

namespace qx::gfx {

struct GlyphRun {
    std::vector<cairo_glyph_t> glyphs;  // baseline at the cell's ascent below the origin
    std::vector<cairo_text_cluster_t> clusters;  // one character, one glyph
    std::string utf8;  // the characters, so that a PDF keeps the text
    double width = 0;  // advance of the whole run, measuring pixels

    void Clear();
    // Appends one character drawn with `glyph` at the run's current end.
    void Append(wchar_t c, unsigned long glyph, double baseline, double advance);
};

// Draws `run` in `scaledFont` onto `cr`, whose user space the caller scales so
// that one unit is a measuring pixel with the cell's top-left at the origin,
// with the font's underline and strike-out lines.
void ShowGlyphRun(cairo_t* cr, cairo_scaled_font_t* scaledFont, const GlyphRun& run, const FontFace& font);

}  // namespace qx::gfx
