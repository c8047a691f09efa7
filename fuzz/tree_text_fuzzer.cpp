// Tree texts from arbitrary bytes: read, measure, write, read again.
//
// Input: byte 0 is the leaf separator (a zero byte stands for ':', since a
// zero separator cannot be written into a text), the rest is the tree text
// as UTF-8.
//
// What holds:
// - the reader moves its cursor within the text and reports how far;
// - GetTextLength is exactly what WriteToMem writes (the buffer below has
//   no slack, so a longer write is caught by ASan), indented or not;
// - a tree that was read whole writes a text that reads again without
//   error, and writing that second tree gives the same text, except where a
//   simple XML node holds several leaves or leaves and children: those
//   leaves are written as "name, separator, value" lines, which the XML
//   reader takes as nameless values, so every round trip adds a separator;
// - a copy of a tree without simple XML nodes writes the same text.
// The round trip holds for separators the text form can carry: a
// separator that is a bracket, a line end or white space makes some leaf
// lines (a nameless leaf: separator, then value) read back as tags or lose
// the separator with the indentation. Such texts are still read, measured
// and written.
#include <cstddef>
#include <cstdint>
#include <cwchar>
#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/base/unicode.h"
#include "qx/platform/base/utf.h"
#include "qx/tree/exc.h"
#include "qx/tree/node.h"

namespace {

std::wstring Write(const CNode& node, int indent, wchar_t separator) {
    const unsigned length = node.GetTextLength(indent);
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    wchar_t* cursor = buffer.data();
    const unsigned written = node.WriteToMem(cursor, indent, separator);
    if (written != length || cursor != buffer.data() + length || buffer[length] != L'\0') __builtin_trap();
    return std::wstring(buffer.data(), length);
}

// Reads *text* into *node*; false on a read error (the node keeps what was
// read up to it).
bool Read(CNode& node, const std::wstring& text, wchar_t separator) {
    const wchar_t* cursor = text.c_str();
    const wchar_t* const end = text.c_str() + text.size();
    try {
        const unsigned long consumed = node.ReadFromMem(cursor, separator);
        if (cursor < text.c_str() || cursor > end || consumed != static_cast<unsigned long>(cursor - text.c_str())) {
            __builtin_trap();
        }
        return true;
    } catch (const CExcRead& error) {
        if (cursor < text.c_str() || cursor > end || !error.GetMessage()) __builtin_trap();
        return false;
    }
}

bool SeparatorRoundTrips(wchar_t separator) {
    return std::wcschr(L"<>[]", separator) == nullptr && !qx::IsSpace(separator);
}

struct TreeForms {
    bool anyXml = false;
    bool xmlWithLeafLines = false;  // an XML node not written on one line that has leaves
};

// Walks the tree without recursion: the input may nest deeply.
TreeForms Inspect(const CNode& root) {
    TreeForms forms;
    std::vector<const CNode*> pending{&root};
    while (!pending.empty()) {
        const CNode* node = pending.back();
        pending.pop_back();
        if (node->isSimpleXML()) {
            forms.anyXml = true;
            bool oneLine = node->NrOfChildren() == 0 && node->NrOfLeaves() == 1;
            if (!oneLine && node->NrOfLeaves() > 0) forms.xmlWithLeafLines = true;
        }
        for (POSITION pos = node->Children().GetHeadPosition(); pos;) pending.push_back(node->Children().GetNext(pos));
    }
    return forms;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const wchar_t separator = data[0] ? static_cast<wchar_t>(data[0]) : L':';
    std::wstring text = qx::Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    text.resize(std::wcslen(text.c_str()));

    CNode first;
    const bool whole = Read(first, text, separator);
    const std::wstring written = Write(first, 0, separator);
    (void)Write(first, -1, separator);

    CNode second;
    const bool again = Read(second, written, separator);
    if (!whole || !SeparatorRoundTrips(separator)) return 0;
    if (!again) __builtin_trap();
    const TreeForms forms = Inspect(first);
    if (!forms.xmlWithLeafLines && Write(second, 0, separator) != written) __builtin_trap();
    if (!forms.anyXml) {
        CNode copy(first);
        if (Write(copy, 0, separator) != written) __builtin_trap();
    }
    return 0;
}
