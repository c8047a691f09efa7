// Translation of the library's own user-visible texts.
//
// A German text is its own key; "@context@text" makes otherwise equal texts
// distinct keys. What is shown is the table's entry for the key (when it has
// a non-empty one) or the key itself, with a leading "@context@" removed:
//
//   "@Button@OK"  -> "OK"        "Abbrechen" -> "Abbrechen"
//   "@Kontext"    -> ""          (no second "@")
//
// The table is process-wide, filled by the language module loader, and works
// empty. Single-threaded, like the user interface that shows the texts.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "qx/platform/base/export.h"

namespace qx {

// The text to show for *key*. The result points into the message table or
// into *key* and stays valid while both do (until the table is replaced).
QX_API const wchar_t* TranslateMessage(const wchar_t* key);

// The same for an 8-bit message in code page 1252. Each distinct message is
// converted once; the conversion is cached under the text's address (and
// checked against its bytes, so a reused buffer is converted again).
QX_API const wchar_t* TranslateMessage(const char* message);

// Replaces the whole table (as loading a language module does).
QX_API void ReplaceMessageTable(std::vector<std::pair<std::wstring, std::wstring>> entries);
QX_API void ClearMessageTable();
QX_API size_t MessageTableSize();

// Frees the cache of converted 8-bit messages (when the last language
// resource scope ends).
QX_API void ClearMessageConversionCache();

}  // namespace qx
