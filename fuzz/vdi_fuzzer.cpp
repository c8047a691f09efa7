// VDI texts from arbitrary bytes: import, export, import the export again.
//
// Input: the text as UTF-8 (ended at its first zero, as the file layer ends
// decoded text).
//
// What holds:
// - the import gives null or a tree, and messages only for unknown types;
// - the export of a tree is bounded by the text it came from (a few
//   characters per line more: the separators and CR LF);
// - the export reads back without a message into a tree of the same shape,
//   and exporting that tree gives the same text again, unless a value has
//   a backslash right before a separator: the format reads "\;" as a
//   semicolon inside the field, so such a field cannot be written. The
//   import never makes one, but joining record 800's pieces drops every
//   "~" of its text, and "\~;" becomes "\;". From the second export on the
//   text is stable in every case.
#include <cstddef>
#include <cstdint>
#include <cwchar>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/base/number_parse.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/message_box.h"
#include "qx/tree/vdi.h"

namespace {

struct Imported {
    std::unique_ptr<CNode> root;
    size_t messages = 0;
};

Imported Import(const std::wstring& text) {
    Imported result;
    qx::ScopedMessageHandler quiet([&result](const wchar_t*, const wchar_t*, unsigned) {
        ++result.messages;
        return IDOK;
    });
    result.root.reset(qx::ImportVdi(text.c_str()));
    return result;
}

// Node names depth first, without recursion.
std::vector<std::wstring> Shape(const CNode& root) {
    std::vector<std::wstring> names;
    std::vector<const CNode*> pending{&root};
    while (!pending.empty()) {
        const CNode* node = pending.back();
        pending.pop_back();
        names.push_back(node->GetName().str() + L'/' + std::to_wstring(node->NrOfChildren()));
        for (unsigned i = node->NrOfChildren(); i-- > 0;) pending.push_back(node->GetChild(i));
    }
    return names;
}

// Whether a record's value, as the export writes it, has a backslash right
// before a separator.
bool HasBackslashBeforeSeparator(const CNode& root) {
    std::vector<const CNode*> pending{&root};
    while (!pending.empty()) {
        const CNode* node = pending.back();
        pending.pop_back();
        for (unsigned i = 0; i < node->NrOfChildren(); ++i) pending.push_back(node->GetChild(i));
        if (node->NrOfLeaves() == 0) continue;
        std::wstring value = node->GetLeaf(0)->GetRawData().str();
        if (qx::ParseInt(node->GetName()) == 800) std::erase(value, L'~');
        if (value.find(L"\\:") != std::wstring::npos) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring text = qx::Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data), size));
    text.resize(std::wcslen(text.c_str()));

    Imported first = Import(text);
    if (first.messages > 1) __builtin_trap();
    if (!first.root) return 0;
    const std::wstring exported = qx::ExportVdi(*first.root).str();
    if (exported.size() > 4 * text.size() + 8) __builtin_trap();

    Imported second = Import(exported);
    if (!second.root || second.messages != 0) __builtin_trap();
    if (Shape(*second.root) != Shape(*first.root)) __builtin_trap();
    const std::wstring again = qx::ExportVdi(*second.root).str();
    if (!HasBackslashBeforeSeparator(*first.root) && again != exported) __builtin_trap();

    Imported third = Import(again);
    if (!third.root || qx::ExportVdi(*third.root).str() != again) __builtin_trap();
    return 0;
}
