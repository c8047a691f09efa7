// The platform font behind a CFont: the resolved face (family, weight, slant
// and its metrics as fractions of the em height) and the em height in logical
// units. Text is measured once per face in a fixed large unit and scaled, so
// every size and every target measures alike.
#pragma once

#include <string>
#include <string_view>

#include "qx/platform/base/cstring.h"

namespace qx::gfx {

// A line drawn across text: the top of the line above the baseline and its
// thickness, in ems.
struct LineMetrics {
    double position = 0;
    double thickness = 0;
};

// Metrics of a face, in ems (multiply by the em height).
struct FaceMetrics {
    double ascent = 0;
    double descent = 0;
    double externalLeading = 0;
    double averageCharWidth = 0;
    double maxCharWidth = 0;
    LineMetrics underline;
    LineMetrics strikeOut;
};

// One face of the process-wide face table. Its id keys the measuring cache.
struct ResolvedFace {
    int id = 0;
    std::string family;  // as fontconfig names the face it chose
    int weight = 400;
    bool italic = false;
    FaceMetrics metrics;
    void* description = nullptr;  // PangoFontDescription at the measuring size
};

struct FontFace {
    const ResolvedFace* face = nullptr;
    unsigned generation = 0;  // of the face table `face` points into
    double emHeight = 0;      // logical units
    int escapement = 0;       // tenths of a degree, counter-clockwise
    bool underline = false;
    bool strikeOut = false;

    // Cell height (ascent + descent) and its parts in whole logical units.
    int Ascent() const;
    int Descent() const;
    int CellHeight() const { return Ascent() + Descent(); }
};

// The em height of a LOGFONT height on a face: negative heights are em
// heights, positive ones cell heights, 0 is kDefaultEmHeight.
constexpr double kDefaultEmHeight = 12.0;
double EmHeightFor(int logfontHeight, const FaceMetrics& metrics);

}  // namespace qx::gfx
