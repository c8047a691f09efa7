// The reader of the text form, for CNode/CLeaf::ReadFromMem and the file
// reader. Text is zero-terminated; a malformed text throws CExcRead and
// leaves what was read in the items.
#pragma once

#include <string>

#include "qx/platform/base/export.h"

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

// Reads the root node of a tree file from its bytes (freed of the encoded
// form), decoded as qx::DecodeText decodes them with *codePage*. UTF-8 and
// 8-bit text are read from the bytes themselves, widening only names and
// values; UTF-16, a separator beyond ASCII and 8-bit text with bytes that
// compose with what precedes them are widened whole first (*bytes* is then
// emptied to free it early). Exported for the fuzz target.
QX_API void ReadTreeBytes(CNode& root, std::string& bytes, unsigned codePage, wchar_t separator);

}  // namespace qx::detail
