// Writing the text form of a tree piece by piece, for outputs that should not
// be held whole: the indentation of a deep document alone grows with the
// square of its depth, far beyond the size of the tree itself.
#pragma once

#include <functional>
#include <string_view>

#include "qx/platform/base/export.h"

class CNode;

namespace qx {

// Receives the bytes of a text in order, one piece at a time. It may throw
// to stop the writing; the exception passes to the writer's caller.
using ByteSink = std::function<void(std::string_view bytes)>;

// Writes *node*'s text form (indented from level 0 when *indent*, else not at
// all) in code page *codePage* (as qx::CodePageWriter writes it, without a
// mark) to *sink*, in pieces of about 64 KB: the bytes CNode::WriteToFile
// writes for the same arguments, with memory for one piece, the longest
// name or value, and a stack as deep as the tree. *lossy*, when given, tells
// whether the code page lacked characters of the text (written as '?').
QX_API void WriteTreeText(const CNode& node, bool indent, wchar_t separator, unsigned codePage, const ByteSink& sink,
                          bool* lossy = nullptr);

}  // namespace qx
