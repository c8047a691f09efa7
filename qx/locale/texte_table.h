// The "TEXTE" table of a language module: the library's own messages,
// German key to translation, in one of two forms.
//
//   UTF-16  FF FE, then pairs of zero-terminated UTF-16LE strings key,
//           translation; ends at an empty key.
//   8-bit   pairs of zero-terminated strings key, translation; ends at an
//           empty key (two zero bytes). Keys are in the system's 8-bit code
//           page, translations in the code page of the module's language.
//
// Translations that are empty, " <*> " or "<*?*>" (the marks of an entry
// nobody translated yet) are left out in both forms: showing the mark would
// be worse than showing the German text. A table cut short ends where its
// last complete pair ends.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "qx/platform/base/export.h"

namespace qx {

using TextTable = std::vector<std::pair<std::wstring, std::wstring>>;
using TexteEntrySink = std::function<void(std::wstring key, std::wstring translation)>;

// Hands the entries of table *bytes* to *onEntry* in their order, one at a
// time; *language* (e.g. "pl") chooses the code page of 8-bit translations,
// the default 8-bit page when it is unknown. A table of tiny entries takes
// many times its own size once each entry is a pair of strings, so a
// caller keeps only what it needs (one translation per key, say).
QX_API void ForEachTexteEntry(std::string_view bytes, std::wstring_view language, const TexteEntrySink& onEntry);

// All the entries of table *bytes*, as ForEachTexteEntry hands them.
QX_API TextTable ReadTexteTable(std::string_view bytes, std::wstring_view language);

// The UTF-16 form of *entries*. Pairs that the reader would leave out, or
// whose key is empty or holds a zero character, are not written.
QX_API std::string WriteTexteTable(const TextTable& entries);

}  // namespace qx
