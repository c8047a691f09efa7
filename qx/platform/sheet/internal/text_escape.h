// Cell texts in XML. XML cannot carry most control characters, nor a
// carriage return that survives line-end normalisation, so the file form
// writes them as "_xHHHH_" (the code in hex), and a text that holds such a
// sequence literally has its underscore written as "_x005F_".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qx::sheet::detail {

// The text of *utf8* with its escapes undone.
std::string DecodeEscapes(std::string_view utf8);
// *utf8* with the characters XML cannot hold escaped, then escaped for XML
// element content.
void AppendCellText(std::string& out, std::string_view utf8);
// Whether a <t> element holding *utf8* needs xml:space="preserve".
bool NeedsPreserve(std::string_view utf8);

// The length of *text* in UTF-16 units, as spreadsheet programs count it
// for their limits.
size_t Utf16Length(std::wstring_view text);

}  // namespace qx::sheet::detail
