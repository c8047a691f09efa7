// The scrambled form of layout files (".prx"): each line's UTF-16 code units
// are shifted by 1 to 3 (wrapping at 16 bits), the amounts drawn from a
// pseudo-random sequence seeded with the line's length. Lines are scrambled
// one by one, without their line ends.
#pragma once

#include <string>
#include <string_view>

#include "qx/platform/base/export.h"

namespace qx {

QX_API std::wstring UnscrambleLine(std::wstring_view line);
// The inverse of UnscrambleLine.
QX_API std::wstring ScrambleLine(std::wstring_view line);

}  // namespace qx
