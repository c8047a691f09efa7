// Reading one slide from a slide file or a slide library (see slide_image.h
// for the format and what each record gives).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "qx/image/slide_image.h"

namespace qx::detail {

struct SlideContents {
    std::uint16_t maxX = 0;
    std::uint16_t maxY = 0;
    std::vector<SlidePoint> points;
};

// Reads the slide at the start of the file *path*, or, with *slideName*, the
// slide of that name in the library *path*. False, with *out* left as it
// was, when the file cannot be opened, a header is wrong or the library has
// no such slide.
bool ReadSlide(std::wstring_view path, const wchar_t* slideName, SlideContents* out);

}  // namespace qx::detail
