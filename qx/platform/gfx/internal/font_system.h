// The process-wide text machinery: one fontconfig-backed Pango font map, one
// measuring context (no hinting, unrounded glyph positions), the table of
// resolved faces, a reused layout and the bounded cache of measured widths.
// Single-threaded, like the rest of the drawing layer.
#pragma once

#include <string_view>

#include "qx/platform/base/export.h"
#include "qx/platform/gfx/internal/font_face.h"

typedef struct _cairo cairo_t;

namespace qx::gfx {

// Text is laid out at this em size (pixels of the measuring context) and
// scaled to the font's em height.
constexpr double kMeasureEm = 2048.0;

// Generation of the face table; ResetFontState advances it, and a FontFace of
// an older generation resolves its face again.
unsigned FontGeneration();

// The face for a requested face name, weight and slant (the name is mapped to
// an installed family first).
const ResolvedFace& ResolveFace(std::wstring_view faceName, int weight, bool italic);

// Advance width of one line of text, in ems.
double MeasureEms(const ResolvedFace& face, std::wstring_view text);

// Draws one line of text with its cell's top-left at the origin of `cr`'s
// user space, which the caller scales so that one unit is a measuring pixel.
// A line made only of characters of simple scripts that the face has is
// drawn as a run of its glyphs, any other line through a Pango layout.
void ShowTextLine(cairo_t* cr, const FontFace& font, std::wstring_view text);

// Draws every line through a Pango layout (true) or simple-script lines as
// glyph runs (false, the default), so that tests can compare the two;
// ResetFontState sets it back.
QX_API void SetLayoutTextOnly(bool layoutOnly);

}  // namespace qx::gfx
