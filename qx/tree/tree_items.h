// TreeItems: the convenience readers applications call with a file name or
// a text. They report failures in message boxes (unless quiet) and return
// 1 on success, 0 on failure.
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/tree/node.h"

namespace TreeItems {

// Reads a tree file with the family's defaults: the encoded form when the
// name ends in x (either case), the colon as separator, code page 0; a
// ".vdi" file through the VDI import. *root* is set only on success. A file
// that does not exist fails without a message.
QX_API int ReadFromFile(const CString& path, CNode*& root, int quiet);

// Reads a tree text into a new node in *root*. On a read error *root* still
// holds the partly read node, which the caller deletes.
QX_API int ReadFromString(const CString& text, CNode*& root, int quiet);

}  // namespace TreeItems
