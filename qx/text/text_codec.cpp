#include "qx/text/text_codec.h"

#include <algorithm>

#include "qx/platform/base/codepage.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/file_system.h"
#include "qx/text/encoded_form.h"

namespace qx {
namespace {

bool StartsWith(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

// The text up to its first zero character.
std::wstring CutAtZero(std::wstring text) {
    size_t zero = text.find(L'\0');
    if (zero != std::wstring::npos) text.resize(zero);
    return text;
}

}  // namespace

unsigned ReaderCodePage(unsigned codePage) {
    switch (codePage) {
        case 0xFFFFFFFFu:
        case 3332:
        case kCpUtf8: return 1252;
        case 3331: return OemCodePage();
        default: return codePage;
    }
}

void DecodeStoredBytes(std::string& bytes) {
    DecodeBytes(bytes, StartsWith(bytes, kUtf8Mark) ? kUtf8Mark.size() : 0);
}

unsigned MarkedCodePage(std::string_view bytes) {
    if (StartsWith(bytes, kUtf16LeMark)) return kCpUtf16Le;
    if (StartsWith(bytes, kUtf16BeMark)) return kCpUtf16Be;
    if (StartsWith(bytes, "\xEF\xBB")) return kCpUtf8;
    return 0;
}

std::string_view TextMark(unsigned codePage) {
    switch (codePage) {
        case kCpUtf8: return kUtf8Mark;
        case kCpUtf16Le: return kUtf16LeMark;
        case kCpUtf16Be: return kUtf16BeMark;
        default: return {};
    }
}

std::wstring DecodeText(std::string_view bytes, unsigned codePage) {
    switch (MarkedCodePage(bytes)) {
        case kCpUtf16Le: return CutAtZero(Utf16BytesToWide(bytes.substr(2), false));
        case kCpUtf16Be: return CutAtZero(Utf16BytesToWide(bytes.substr(2), true));
        case kCpUtf8: return CutAtZero(Utf8ToWide(bytes.substr(std::min<size_t>(3, bytes.size()))));
        default: break;
    }
    // A zero byte ends the text before conversion, so nothing past it costs.
    size_t zero = bytes.find('\0');
    return CodePageToWide(bytes.substr(0, zero), ReaderCodePage(codePage));
}

bool HasUnicodeMark(std::string_view bytes, bool encoded) {
    if (bytes.size() < 3) return false;
    std::string head(bytes.substr(0, 3));
    if (encoded) DecodeStoredBytes(head);
    return StartsWith(head, kUtf16LeMark) || StartsWith(head, kUtf16BeMark) || StartsWith(head, kUtf8Mark);
}

std::optional<std::wstring> ReadTextFile(const wchar_t* path, unsigned codePage, bool encoded) {
    if (!path) return std::nullopt;
    std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) return std::nullopt;
    if (encoded) DecodeStoredBytes(*bytes);
    return DecodeText(*bytes, codePage);
}

std::string EncodeUtf8WithMark(std::wstring_view text) {
    std::string bytes(kUtf8Mark);
    AppendUtf8(text, bytes);
    return bytes;
}

std::string EncodeUtf16WithMark(std::wstring_view text) {
    return std::string(kUtf16LeMark) + WideToUtf16Bytes(text, false);
}

}  // namespace qx
