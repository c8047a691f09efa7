// qxStrUtil's whole-file readers and writers and the free text-file
// functions.
#include "qx/text/text_files.h"

#include <cstring>
#include <string>

#include "qx/platform/base/codepage.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/last_error.h"
#include "qx/text/encoded_form.h"
#include "qx/text/str_util.h"
#include "qx/text/text_codec.h"

namespace {

constexpr unsigned kUtf16Writer = 0xFFFFFFFFu;

bool IsLineEnd(wchar_t c) { return c == L'\r' || c == L'\n'; }

}  // namespace

bool qxStrUtil::isUnicodeFile(const wchar_t* path, int encoded) {
    std::optional<std::string> bytes = path ? qx::ReadWholeFile(path) : std::nullopt;
    return bytes && qx::HasUnicodeMark(*bytes, encoded != 0);
}

bool qxStrUtil::readStringBufferFromFile(wchar_t*& text, const wchar_t* path, unsigned codePage, int encoded) {
    std::optional<std::wstring> decoded = qx::ReadTextFile(path, codePage, encoded != 0);
    if (!decoded) return false;
    text = new wchar_t[decoded->size() + 1];
    std::memcpy(text, decoded->c_str(), (decoded->size() + 1) * sizeof(wchar_t));
    return true;
}

bool qxStrUtil::readStringBufferFromFile(CString& text, const wchar_t* path, unsigned codePage, int encoded) {
    std::optional<std::wstring> decoded = qx::ReadTextFile(path, codePage, encoded != 0);
    if (!decoded) return false;
    text = CString(std::move(*decoded));
    return true;
}

bool qxStrUtil::readStringlistFromFile(CStringList& lines, const wchar_t* path, unsigned codePage, int encoded) {
    lines.RemoveAll();
    std::optional<std::wstring> decoded = qx::ReadTextFile(path, codePage, encoded != 0);
    if (!decoded) return false;
    std::vector<std::wstring_view> views;
    qx::SplitTextLines(*decoded, views);
    for (const std::wstring_view line : views) lines.AddTail(CString(std::wstring(line)));
    return true;
}

void qx::SplitTextLines(std::wstring_view text, std::vector<std::wstring_view>& lines) {
    lines.clear();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && !IsLineEnd(text[end])) ++end;
        lines.push_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n') ++end;
        start = end + 1;
    }
}

bool qxStrUtil::writeStringBufferToFile(const wchar_t* text, const wchar_t* path, bool unicode, unsigned codePage,
                                        bool encode) {
    if (!path) return false;
    std::wstring_view view = text ? std::wstring_view(text) : std::wstring_view();
    std::string bytes;
    if (unicode) {
        if (codePage == qx::kCpUtf8) bytes = qx::EncodeUtf8WithMark(view);
        else if (codePage == kUtf16Writer) bytes = qx::EncodeUtf16WithMark(view);
        // Any other code page writes an empty file.
    } else {
        bytes = qx::WideToCodePage(view, codePage);
    }
    if (encode) qx::EncodeBytes(bytes);
    return qx::WriteFileAtomically(path, bytes);
}

bool qxStrUtil::writeStringlistToFile(CStringList& lines, const wchar_t* path, unsigned codePage) {
    if (!path || (codePage != qx::kCpUtf8 && codePage != kUtf16Writer && codePage != qx::kCpAcp)) return false;
    std::wstring text;
    for (POSITION pos = lines.GetHeadPosition(); pos;) {
        text += lines.GetNext(pos).str();
        text += L"\r\n";
    }
    std::string bytes;
    if (codePage == qx::kCpUtf8) bytes = qx::EncodeUtf8WithMark(text);
    else if (codePage == kUtf16Writer) bytes = qx::EncodeUtf16WithMark(text);
    else bytes = qx::WideToCodePage(text, qx::kCpAcp);
    return qx::WriteFileAtomically(path, bytes);
}

int LoadFromFile(const wchar_t* path, CString& text, CFileException* error) {
    text.Empty();
    std::optional<std::string> bytes = path ? qx::ReadWholeFile(path) : std::nullopt;
    if (!bytes) {
        if (error) {
            long code = static_cast<long>(qx::GetLastError());
            *error = CFileException(CFileException::OsErrorToException(code), code, path);
        }
        return 0;
    }
    if (bytes->size() >= 2 && (*bytes)[0] == '\xFF' && (*bytes)[1] == '\xFE') {
        text = CString(qx::Utf16BytesToWide(std::string_view(*bytes).substr(2), false));
    } else {
        text = CString(qx::CodePageToWide(*bytes, qx::kCpAcp));
    }
    return 1;
}

int quOrixReadLine(CString& line, const CString& text, wchar_t*& cursor) {
    line.Empty();
    if (!cursor) cursor = const_cast<wchar_t*>(text.GetString());
    const wchar_t* p = cursor;
    const wchar_t* start = p;
    while (*p && !IsLineEnd(*p)) ++p;
    if (!*p && p == start) {
        cursor = const_cast<wchar_t*>(p);
        return 0;
    }
    CString copied(start, static_cast<int>(p - start));
    if ((p[0] == L'\n' && p[1] == L'\r') || (p[0] == L'\r' && p[1] == L'\n')) ++p;
    if (*p) ++p;
    cursor = const_cast<wchar_t*>(p);
    copied.TrimLeft(L" \t");
    line = copied;
    return 1;
}
