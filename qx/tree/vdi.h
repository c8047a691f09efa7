// VDI 3805 product data files: import into a tree document and export from
// one. Import and export are inverse for what the import produces.
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/tree/node.h"

namespace qx {

// The tree of a VDI file's decoded text; null when the text is not a VDI
// file. The caller owns the result.
QX_API CNode* ImportVdi(const wchar_t* text);

// The VDI file text of a tree made by ImportVdi.
QX_API CString ExportVdi(const CNode& root);

}  // namespace qx
