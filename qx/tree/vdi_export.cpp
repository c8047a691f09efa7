// VDI 3805 export: every record node of the tree, depth first, as one line
// "type;fields;" with CR LF. Group nodes (and any other node whose name is
// no number) write nothing but their records do.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "qx/platform/base/number_parse.h"
#include "qx/tree/internal/vdi_records.h"
#include "qx/tree/vdi.h"

namespace qx {
namespace {

// The record type of a node: its name up to the first space when that
// space is not the first character ("970.02 ABC" is a 970.02).
CString TypeText(const CString& name) {
    const int space = name.Find(L' ');
    return space > 0 ? name.Left(space) : name;
}

// Appends *text* in the file's form: the packed separator becomes the
// field separator, U+00AE the colon it stands for, and U+00AE with its mark
// a real registered sign.
void AppendFileText(std::wstring& out, std::wstring_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L':') {
            out.push_back(L';');
        } else if (c == detail::kPackedColon) {
            const bool real = i + 1 < text.size() && text[i + 1] == detail::kRealSignMark;
            out.push_back(real ? detail::kRegisteredSign : L':');
            i += real ? 1 : 0;
        } else {
            out.push_back(c);
        }
    }
}

// Record 800 is written with its pieces joined again: every "~" goes and
// nothing else, so that import and export are inverse. (Dropping the
// value's last character as well, as older exports did, loses a trailing
// empty field, or the last character of a line without closing separator.)
void AppendRecord(std::wstring& out, const CNode& node) {
    const CString type = TypeText(node.GetName());
    if (ParseInt(type) == 0) return;
    static const std::wstring kNoValue;
    const std::wstring& held = node.NrOfLeaves() ? node.GetLeaf(0)->GetRawData().str() : kNoValue;
    const bool pieced = type == detail::kVdiPiecedRecord;
    std::wstring joined;
    if (pieced) {
        joined = held;
        std::erase(joined, detail::kVdiPieceEnd);
    }
    const std::wstring& value = pieced ? joined : held;

    AppendFileText(out, type.str());
    out.push_back(L';');
    AppendFileText(out, value);
    // Every record ends with a field separator; a value already ending in
    // one keeps just that, so an empty last field survives. After a
    // backslash the separator would read back as an escaped semicolon
    // inside the field, so such a line ends without it.
    const wchar_t last = value.empty() ? 0 : value.back();
    if (last != L':' && last != L'\\') out.push_back(L';');
    out.append(L"\r\n");
}

// Calls *visit* for *root* and every node below it, depth first, each node
// before its children, until it returns false. Without recursion: a tree of
// any depth costs heap, not stack.
template <typename Visit>
void VisitDepthFirst(const CNode& root, Visit visit) {
    if (!visit(root)) return;
    std::vector<std::pair<const CNode*, POSITION>> stack;
    stack.emplace_back(&root, root.Children().GetHeadPosition());
    while (!stack.empty()) {
        auto& [node, next] = stack.back();
        if (!next) {
            stack.pop_back();
            continue;
        }
        const CNode* child = node->Children().GetNext(next);
        if (!visit(*child)) return;
        stack.emplace_back(child, child->Children().GetHeadPosition());
    }
}

// A node's name for a message: quoted, and cut to 40 characters.
CString Quoted(const CString& name) { return L"'" + CString(detail::ShortRecordType(name.str())) + L"'"; }

}  // namespace

CString ExportVdi(const CNode& root) {
    std::wstring out;
    VisitDepthFirst(root, [&out](const CNode& node) {
        AppendRecord(out, node);
        return true;
    });
    return CString(std::move(out));
}

CString VdiExportProblem(const CNode& root) {
    if (TypeText(root.GetName()) != L"010") {
        return L"the root node " + Quoted(root.GetName()) + L" is not the record 010 a VDI file begins with";
    }
    CString problem;
    VisitDepthFirst(root, [&problem](const CNode& node) {
        const bool record = ParseInt(TypeText(node.GetName())) != 0;
        if (record && node.NrOfLeaves() > 1) {
            problem.Format(L"the record %s holds %u leaves; a record holds one, its fields",
                           Quoted(node.GetName()).GetString(), node.NrOfLeaves());
        } else if (!record && node.NrOfLeaves() > 0) {
            problem = L"the node " + Quoted(node.GetName()) + L" holds leaves but its name is no record type";
        }
        return problem.IsEmpty();
    });
    return problem;
}

}  // namespace qx
