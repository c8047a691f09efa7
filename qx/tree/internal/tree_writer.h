// The writer of the text form, for the file writer.
#pragma once

#include <string>

class CNode;

namespace qx::detail {

// Appends the text form of *node* (indented from *level*, or not at all for
// -1) to *out* as UTF-8: the bytes CNode::WriteToString's text gives in
// UTF-8, without the wide text in between.
void AppendNodeUtf8(const CNode& node, int level, wchar_t separator, std::string& out);

}  // namespace qx::detail
