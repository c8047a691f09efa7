// The VDI import of a file's bytes and its message, for the tree file layer.
#pragma once

#include <string>

#include "qx/platform/base/export.h"
#include "qx/tree/vdi.h"

namespace qx::detail {

// Imports the bytes of a VDI file (freed of the encoded form), decoded as
// qx::DecodeText decodes them with *codePage*, as ImportVdi imports the
// decoded text. UTF-8 and 8-bit text are read from the bytes themselves,
// widening one line at a time; UTF-16 and 8-bit text with bytes that
// compose with what precedes them are widened whole first (*bytes* is then
// emptied to free it early). Exported for the fuzz target.
QX_API CNode* ImportVdiBytes(std::string& bytes, unsigned codePage, const VdiImportOptions& options,
                             VdiImportOutcome& outcome);

// The message the family's import shows for how it ended: "Unknown
// VDI-Node: %s" after a type outside the placement table, else none.
void ShowVdiImportMessage(const VdiImportOutcome& outcome);

}  // namespace qx::detail
