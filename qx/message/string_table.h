// The string table of the current resource module: the texts that the
// family's code loads by number (LoadString on Windows, sformat(id, ...)).
//
// Process-wide and empty until the language module loader fills it; a
// number the table lacks has no text. Single-threaded, like the user
// interface that shows the texts.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>

#include "qx/platform/base/export.h"

namespace qx {

// The text of string resource *id*; nullopt when the table has none.
QX_API std::optional<std::wstring> LoadResourceString(unsigned id);

// Replaces the whole table (as switching the resource module does).
QX_API void ReplaceStringTable(std::unordered_map<unsigned, std::wstring> table);
QX_API void ClearStringTable();

}  // namespace qx
