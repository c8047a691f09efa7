// The family's face names mapped to installed metric-compatible faces.
#pragma once

#include <string>
#include <string_view>

namespace qx::gfx {

// The family name to ask fontconfig for: the metric-compatible face for the
// Windows faces the family uses ("Arial" -> "Liberation Sans"), a sans face
// for an empty name, otherwise the name itself (UTF-8).
std::string FontconfigFamilyFor(std::wstring_view faceName);

}  // namespace qx::gfx
