// Tree file bytes from arbitrary input: undo the encoded form (or not),
// decode by the marks and the code-page argument, read the text as a tree.
//
// Input: byte 0 picks the encoded form (bit 0) and the code-page argument
// (the rest: an index into the table below), byte 1 the separator; the
// other bytes are the file.
//
// What holds: decoding never fails and ends the text at its first zero;
// the mark check looks at no more than three bytes; reading either succeeds
// or throws CExcRead; and the file reader, which reads UTF-8 and 8-bit text
// from the bytes, gives exactly the tree (or the error) that reading the
// decoded wide text gives.
#include <cstddef>
#include <cstdint>
#include <string>

#include "qx/text/text_codec.h"
#include "qx/tree/exc.h"
#include "qx/tree/internal/tree_reader.h"
#include "qx/tree/node.h"

namespace {

constexpr unsigned kCodePages[] = {0, 1, 437, 850, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258,
                                   3331, 3332, 65001, 0xFFFFFFFFu, 12345};
constexpr wchar_t kSeparators[] = {L':', L';', L'\u00A7', L'<', L'\r'};

template <typename T, size_t N>
constexpr size_t CountOf(const T (&)[N]) {
    return N;
}

std::wstring Outcome(const CNode& root) {
    CString text;
    root.WriteToString(text);
    return text.str();
}

std::wstring Outcome(const CExcRead& error) { return std::wstring(L"error: ") + error.GetMessage(); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const bool encoded = data[0] & 1;
    const unsigned codePage = kCodePages[(data[0] >> 1) % CountOf(kCodePages)];
    const wchar_t separator = kSeparators[data[1] % CountOf(kSeparators)];
    std::string bytes(reinterpret_cast<const char*>(data + 2), size - 2);

    const bool unicode = qx::HasUnicodeMark(bytes, encoded);
    if (bytes.size() < 3 && unicode) __builtin_trap();
    if (encoded) qx::DecodeStoredBytes(bytes);
    const std::wstring text = qx::DecodeText(bytes, codePage);
    if (text.find(L'\0') != std::wstring::npos) __builtin_trap();

    std::wstring expected;
    {
        CNode root;
        const wchar_t* cursor = text.c_str();
        try {
            root.ReadFromMem(cursor, separator);
            expected = Outcome(root);
        } catch (const CExcRead& e) {
            expected = Outcome(e);
        }
        if (cursor < text.c_str() || cursor > text.c_str() + text.size()) __builtin_trap();
    }
    std::wstring actual;
    {
        CNode root;
        try {
            qx::detail::ReadTreeBytes(root, bytes, codePage, separator);
            actual = Outcome(root);
        } catch (const CExcRead& e) {
            actual = Outcome(e);
        }
    }
    if (actual != expected) __builtin_trap();
    return 0;
}
