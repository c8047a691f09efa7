// The writer of the text form, for the file writer.
#pragma once

#include <string>

class CNode;

namespace qx {
class CodePageWriter;
}

namespace qx::detail {

// Appends the text form of *node* (indented from *level*, or not at all for
// -1) to *out* in the writer's code page, without the wide text in between.
// Each name and value is encoded on its own (see qx::CodePageWriter).
void AppendNodeEncoded(const CNode& node, int level, wchar_t separator, const qx::CodePageWriter& writer,
                       std::string& out);

}  // namespace qx::detail
