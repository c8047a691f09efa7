// Word-wrapping the runs of a rich text into a rectangle with Pango, and
// drawing the lines that fit. Internal to the drawing layer.
#pragma once

#include "qx/platform/gfx/gdi_types.h"
#include "qx/platform/gfx/rtf_reader.h"

class CDC;

namespace qx::gfx {

struct RichTextFrame {
    CRect rect;             // logical units
    double unitsPerInch;    // logical units per inch, > 0
    long first;             // characters first..last-1 are laid out
    long last;
};

struct LaidOutRange {
    long nextCharacter = 0;  // first character of the first line that did not fit
    int heightUsed = 0;      // logical units, from the rectangle's top
};

// Lays out whole lines from the top of the frame while they fit into its
// height, and draws them on *dc* when it is not null.
LaidOutRange LayOutRange(const RtfDocument& document, const RichTextFrame& frame, CDC* dc);

}  // namespace qx::gfx
