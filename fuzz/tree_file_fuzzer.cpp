// Tree file bytes from arbitrary input: undo the encoded form (or not),
// decode by the marks and the code-page argument, read the text as a tree.
//
// Input: byte 0 picks the encoded form (bit 0) and the code-page argument
// (the rest: an index into the table below); the other bytes are the file.
//
// What holds: decoding never fails and ends the text at its first zero;
// the mark check looks at no more than three bytes; reading either succeeds
// or throws CExcRead.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "qx/text/text_codec.h"
#include "qx/tree/exc.h"
#include "qx/tree/node.h"

namespace {

constexpr unsigned kCodePages[] = {0, 1, 437, 850, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258,
                                   3331, 3332, 65001, 0xFFFFFFFFu, 12345};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const bool encoded = data[0] & 1;
    const unsigned codePage = kCodePages[(data[0] >> 1) % (sizeof kCodePages / sizeof kCodePages[0])];
    std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    const bool unicode = qx::HasUnicodeMark(bytes, encoded);
    if (bytes.size() < 3 && unicode) __builtin_trap();
    if (encoded) qx::DecodeStoredBytes(bytes);
    const std::wstring text = qx::DecodeText(bytes, codePage);
    if (text.find(L'\0') != std::wstring::npos) __builtin_trap();

    CNode root;
    const wchar_t* cursor = text.c_str();
    try {
        root.ReadFromMem(cursor, L':');
    } catch (const CExcRead&) {
    }
    if (cursor < text.c_str() || cursor > text.c_str() + text.size()) __builtin_trap();
    return 0;
}
