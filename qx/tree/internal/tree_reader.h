// The reader of the text form, for CNode/CLeaf::ReadFromMem and the file
// reader. Text is zero-terminated; a malformed text throws CExcRead and
// leaves what was read in the items.
#pragma once

#include <string_view>

class CLeaf;
class CNode;

namespace qx::detail {

// Reads one node (the first start tag after white space, everything inside
// it, its end tag) into *node*, appending to what it holds; returns the
// position after it. On a read error *stop*, when given, gets the position
// where reading stopped.
const wchar_t* ReadNodeText(CNode& node, const wchar_t* text, wchar_t separator, const wchar_t** stop);
// Reads one leaf line of the bracket form (after white space) into *leaf*.
const wchar_t* ReadLeafText(CLeaf& leaf, const wchar_t* text, wchar_t separator);

// Reads one node from bytes without widening them as a whole: UTF-8 when
// *widening* is null, else 8-bit text widened by that table (see
// qx::WideningTable). A zero byte must follow *text* (a std::string's own
// does); reading ends at the first zero. False, with nothing read, when the
// separator is not ASCII and so cannot be found among the bytes.
bool ReadNodeBytes(CNode& node, std::string_view text, const wchar_t* widening, wchar_t separator);

}  // namespace qx::detail
