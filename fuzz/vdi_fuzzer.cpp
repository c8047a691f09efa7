// VDI texts from arbitrary bytes: import, export, import the export again,
// with records outside the placement table ending the import (the family's
// way) and kept.
//
// Input: the text as UTF-8 (ended at its first zero, as the file layer ends
// decoded text).
//
// What holds:
// - the family's import gives null or a tree, the tree the import with an
//   outcome gives, and a message exactly when that outcome is a type
//   outside the table; the import with an outcome shows none, and a stop
//   names a line of the text;
// - the file's bytes, read as code page 1252 and as UTF-8 after its mark,
//   import line by line into the tree and outcome of the import of the
//   whole decoded text;
// - the export of a tree is bounded by the text it came from (a few
//   characters per line more: the separators and CR LF);
// - the export reads back completely, in the same mode, into a tree of the
//   same shape, and exporting that tree gives the same text again, unless a
//   value has a backslash right before a separator: the format reads "\;"
//   as a semicolon inside the field, so such a field cannot be written. The
//   import never makes one, but joining record 800's pieces drops every "~"
//   of its text, and "\~;" becomes "\;". From the second export on the text
//   is stable in every case.
#include <cstddef>
#include <cstdint>
#include <cwchar>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/base/utf.h"
#include "qx/platform/wnd/message_box.h"
#include "qx/text/text_codec.h"
#include "qx/tree/internal/vdi_import.h"
#include "qx/tree/vdi.h"

namespace {

struct Imported {
    std::unique_ptr<CNode> root;
    qx::VdiImportOutcome outcome;
    size_t messages = 0;
};

// The family's import (no outcome) or the one with an outcome, keeping
// records outside the table or not.
Imported Import(const std::wstring& text, bool withOutcome, bool keepUnknown) {
    Imported result;
    qx::ScopedMessageHandler quiet([&result](const wchar_t*, const wchar_t*, unsigned) {
        ++result.messages;
        return IDOK;
    });
    if (!withOutcome) {
        result.root.reset(qx::ImportVdi(text.c_str()));
        return result;
    }
    qx::VdiImportOptions options;
    options.keepUnknownRecords = keepUnknown;
    result.root.reset(qx::ImportVdi(text.c_str(), options, result.outcome));
    return result;
}

// Calls *visit* for every node of the tree depth first, without recursion.
template <typename Visit>
void VisitDepthFirst(const CNode* root, Visit visit) {
    std::vector<const CNode*> pending;
    if (root) pending.push_back(root);
    while (!pending.empty()) {
        const CNode* node = pending.back();
        pending.pop_back();
        visit(*node);
        for (unsigned i = node->NrOfChildren(); i-- > 0;) pending.push_back(node->GetChild(i));
    }
}

// Node names depth first.
std::vector<std::wstring> Shape(const CNode* root) {
    std::vector<std::wstring> names;
    VisitDepthFirst(root, [&names](const CNode& node) {
        names.push_back(node.GetName().str() + L'/' + std::to_wstring(node.NrOfChildren()));
    });
    return names;
}

// Node names with their leaves' names and values, depth first.
std::vector<std::wstring> Contents(const CNode* root) {
    std::vector<std::wstring> items;
    VisitDepthFirst(root, [&items](const CNode& node) {
        items.push_back(L"[" + node.GetName().str());
        for (unsigned i = 0; i < node.NrOfLeaves(); ++i) {
            items.push_back(node.GetLeaf(i)->GetName().str() + L"=" + node.GetLeaf(i)->GetRawData().str());
        }
    });
    return items;
}

bool SameOutcome(const qx::VdiImportOutcome& a, const qx::VdiImportOutcome& b) {
    return a.stop == b.stop && a.line == b.line && a.type == b.type && a.parent == b.parent &&
           a.partNumber == b.partNumber;
}

// *bytes* imported as a file's bytes and as their decoded text agree.
void CheckBytesImport(std::string bytes, unsigned codePage, bool keepUnknown) {
    qx::VdiImportOptions options;
    options.keepUnknownRecords = keepUnknown;
    const std::wstring text = qx::DecodeText(bytes, codePage);
    qx::VdiImportOutcome fromText;
    std::unique_ptr<CNode> expected(qx::ImportVdi(text.c_str(), options, fromText));
    qx::VdiImportOutcome fromBytes;
    std::unique_ptr<CNode> read(qx::detail::ImportVdiBytes(bytes, codePage, options, fromBytes));
    if (!SameOutcome(fromBytes, fromText) || Contents(read.get()) != Contents(expected.get())) __builtin_trap();
}

// Whether a record's value, as the export writes it, has a backslash right
// before a separator.
bool HasBackslashBeforeSeparator(const CNode& root) {
    bool found = false;
    VisitDepthFirst(&root, [&found](const CNode& node) {
        if (node.NrOfLeaves() == 0) return;
        std::wstring value = node.GetLeaf(0)->GetRawData().str();
        if (node.GetName() == L"800") std::erase(value, L'~');
        found = found || value.find(L"\\:") != std::wstring::npos;
    });
    return found;
}

// The lines of *text*, as the import counts them.
size_t LineCount(const std::wstring& text) {
    size_t lines = 1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' || (text[i] == L'\r' && (i + 1 == text.size() || text[i + 1] != L'\n'))) ++lines;
    }
    return lines;
}

// *first* is *text* imported with an outcome.
void CheckRoundTrip(const std::wstring& text, const Imported& first, bool keepUnknown) {
    if (first.messages != 0) __builtin_trap();
    if (!first.outcome.Complete() && (first.outcome.line == 0 || first.outcome.line > LineCount(text))) {
        __builtin_trap();
    }
    if (!first.root) return;
    const std::wstring exported = qx::ExportVdi(*first.root).str();
    if (exported.size() > 4 * text.size() + 8) __builtin_trap();

    Imported second = Import(exported, true, keepUnknown);
    if (!second.root || !second.outcome.Complete()) __builtin_trap();
    if (Shape(second.root.get()) != Shape(first.root.get())) __builtin_trap();
    const std::wstring again = qx::ExportVdi(*second.root).str();
    if (!HasBackslashBeforeSeparator(*first.root) && again != exported) __builtin_trap();

    Imported third = Import(again, true, keepUnknown);
    if (!third.root || qx::ExportVdi(*third.root).str() != again) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring text = qx::Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data), size));
    text.resize(std::wcslen(text.c_str()));

    Imported family = Import(text, false, false);
    Imported plain = Import(text, true, false);
    const bool unknownType = plain.outcome.stop == qx::VdiImportOutcome::Stop::kUnknownType;
    if (family.messages != (unknownType ? 1u : 0u)) __builtin_trap();
    if (Shape(family.root.get()) != Shape(plain.root.get())) __builtin_trap();

    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (bool keepUnknown : {false, true}) {
        CheckBytesImport(bytes, 1252, keepUnknown);
        CheckBytesImport("\xEF\xBB\xBF" + bytes, 1252, keepUnknown);
    }

    CheckRoundTrip(text, plain, false);
    CheckRoundTrip(text, Import(text, true, true), true);
    return 0;
}
