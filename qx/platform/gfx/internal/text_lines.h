// How DrawText cuts its text into lines: at line feeds (CR LF, LF or CR)
// unless single-line, and with word-break at spaces so that each line fits
// the width; a word wider than the width stands alone on its line.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qx::gfx {

struct TextLine {
    std::wstring text;
    int width = 0;  // logical units
};

using MeasureLine = std::function<int(std::wstring_view)>;

std::vector<TextLine> BreakTextLines(std::wstring_view text, unsigned format, int maxWidth,
                                     const MeasureLine& measure);

}  // namespace qx::gfx
