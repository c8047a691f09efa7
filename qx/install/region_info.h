// What the localiser would find in an installation, with where each answer
// comes from, for tools that explain an installation (qxtool install-info).
// Reads the registry and the Support folder; changes nothing.
#pragma once

#include <string>
#include <vector>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

namespace qx {

struct SettingLine {
    std::wstring what;    // "region", "edition", ...
    std::wstring answer;  // the value, or "not found"
    std::wstring source;  // where it came from, or why there is none
};

// The region maps merged, the regions they describe, the region an
// application starts in with its default languages, and the edition and
// version names of *installDir*'s Support folder.
QX_API std::vector<SettingLine> DescribeRegionAndEdition(const CString& installDir);

}  // namespace qx
