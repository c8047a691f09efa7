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

#include <cstddef>
#include <string>
#include <string_view>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/tree/node.h"

namespace qx {

struct VdiImportOptions {
    // Records of a type outside the placement table are kept instead of
    // ending the import: each becomes a record node (named after its type,
    // with its leaf "<>") in a group node "GRUPPE " and the type below the
    // most recent record the table placed. Consecutive records of one such
    // type share a group; a record of another type in between starts a new
    // one, so that the export writes the records in the order they were
    // read. A type the export could not give back is not kept: one with a
    // space after its first character (written cut at the space) or ending
    // in a backslash (its separator would read back as part of it).
    bool keepUnknownRecords = false;
};

// How an import ended: complete, or stopped at a line, and why. What was
// read before that line is the tree the import returned.
struct VdiImportOutcome {
    enum class Stop {
        kNone,           // every record was read (white space may follow)
        kUnreadable,     // the file could not be read (the os layer's last error says why)
        kNotVdi,         // the text does not begin with the record 010
        kNoRecordType,   // a line whose type is no number
        kUnknownType,    // a type outside the placement table for the part number
        kMissingParent,  // no current record of the type it goes below
        kSecondRoot,     // a further record 010
        kTypeNotKept,    // an unknown type that cannot be kept (see VdiImportOptions)
    };
    Stop stop = Stop::kNone;
    size_t line = 0;         // where reading stopped, counted from 1; 0 when nothing stopped it
    std::wstring type;       // that line's record type as the file holds it
    std::wstring parent;     // for kMissingParent: the type(s) it goes below
    int partNumber = 0;      // the file's part number (second field of 010)

    bool Complete() const { return stop == Stop::kNone; }
};

// The outcome in a line of English for tools: "import stopped at line 12:
// record type 740 is outside the placement table of part 3". Record types
// are cut after 40 characters ("..."), control characters shown as '?'.
QX_API std::wstring DescribeVdiImportOutcome(const VdiImportOutcome& outcome);

// The tree of a VDI file's decoded text; null when the text does not begin
// (after white space) with the record 010. Reading ends silently at a line
// whose type is no number or at a record whose parent record is missing,
// and after the message "Unknown VDI-Node: %s" at a type outside the
// placement table; the tree built so far is the result. The caller owns it.
// Naming the 970.02 and 970.03 records restarts the process-wide packed
// value reader, as every single-value read does.
QX_API CNode* ImportVdi(const wchar_t* text);

// The same import with *options*, telling in *outcome* how it ended. It
// shows no message: the caller reports the outcome.
QX_API CNode* ImportVdi(const wchar_t* text, const VdiImportOptions& options, VdiImportOutcome& outcome);

// Reads the VDI file at *path* as CNode::ReadFromFile does (decoded with
// *codePage*, in the encoded form when *encoded*) and imports it with
// *options*; null when the file cannot be read or the import gives no tree,
// *outcome* telling which.
QX_API CNode* ReadVdiFile(const wchar_t* path, bool encoded, unsigned codePage, const VdiImportOptions& options,
                          VdiImportOutcome& outcome);

// The VDI text of *root*'s records, depth first, one line each with CR LF.
// Nodes whose name is no number (the groups) write nothing. The tree is not
// changed.
QX_API CString ExportVdi(const CNode& root);

// Why ExportVdi cannot write *root* whole as a VDI file, "" when it can: the
// root must be the record 010 (a text that begins otherwise is no VDI file),
// a record holds at most one leaf (only its first is written), and a node
// whose name is no number (a group) holds no leaves (they are not written).
// Names in the reason are cut to 40 characters.
QX_API CString VdiExportProblem(const CNode& root);

// Whether the tree file layer takes *path* for a VDI file: longer than four
// characters and ending in ".vdi" in any case.
QX_API bool IsVdiPath(std::wstring_view path);

}  // namespace qx
