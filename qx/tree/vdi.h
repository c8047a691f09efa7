// VDI 3805 product data files (".vdi"): import into a tree document and
// export from one. The tree file layer calls these for ".vdi" paths.
//
// Tree form: each record is a node named after its type ("100", "710.03",
// "930_01"; 970.02 and 970.03 also carry their fourth field: "970.02 ABC")
// with one leaf "<>" whose packed value holds the fields after the type (a
// colon inside a field held as U+00AE, a real U+00AE as U+00AE followed by
// a semicolon). Records hang below the most recent record of their parent
// type, mostly inside group nodes named "GRUPPE " and a type; the root is
// the record 010. Record 800 holds each piece of its fixed-width field
// followed by "~".
//
// Import and export are inverse for what the import produces, except that
// every exported record ends with a field separator (unless its last field
// ends in a backslash, where "\;" would read back as part of the field).
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/tree/node.h"

namespace qx {

// The tree of a VDI file's decoded text; null when the text does not begin
// (after white space) with the record 010. Reading ends silently at a line
// whose type is no number or at a record whose parent record is missing,
// and after the message "Unknown VDI-Node: %s" at a type outside the
// placement table; the tree built so far is the result. The caller owns it.
// Naming the 970.02 and 970.03 records restarts the process-wide packed
// value reader, as every single-value read does.
QX_API CNode* ImportVdi(const wchar_t* text);

// The VDI text of *root*'s records, depth first, one line each with CR LF.
// Nodes whose name is no number (the groups) write nothing. The tree is not
// changed.
QX_API CString ExportVdi(const CNode& root);

}  // namespace qx
