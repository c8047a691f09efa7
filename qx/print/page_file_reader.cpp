#include "qx/print/page_file_reader.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "qx/platform/base/number_parse.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/file_system.h"
#include "qx/print/internal/int_range.h"
#include "qx/print/object_record.h"
#include "qx/print/record_line.h"
#include "qx/text/text_codec.h"
#include "qx/text/text_files.h"
#include "qx/platform/os/path_split.h"

namespace qx {
namespace {

using detail::ClampToInt;

constexpr unsigned kPageCodePage = 1252;
constexpr double kMinimumVersion = 2.0;
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";

// The engine writes page files as UTF-16 with its mark, and their texts may
// hold zero characters, at which the reader of text files would end the
// text; so such a file is decoded whole. Other files read as text files do.
std::optional<std::wstring> ReadPageText(const CString& path) {
    std::optional<std::string> bytes = ReadWholeFile(path.str());
    if (!bytes) return std::nullopt;
    const std::string_view view(*bytes);
    if (view.starts_with(kUtf16LeMark)) return Utf16BytesToWide(view.substr(kUtf16LeMark.size()), false);
    return DecodeText(view, kPageCodePage);
}

}  // namespace

// A drive path ("C:..."), a network path ("\\\\server...") and, as on every
// POSIX system, a path that begins with a separator are absolute.
CString ResolveImagePath(const CString& path, const CString& layoutFolder) {
    const bool absolute = (path.GetLength() >= 1 && IsPathSeparator(path[0])) ||
                          (path.GetLength() >= 2 && (path[1] == L':' || IsPathSeparator(path[1])));
    return absolute ? path : layoutFolder + path;
}

LoadedPage ReadPageFile(const CString& path, const CString& layoutFolder) {
    LoadedPage page;
    std::optional<std::wstring> text = ReadPageText(path);
    if (!text) return page;
    // Text written in the 8-bit page of old keeps its euro sign there.
    std::replace(text->begin(), text->end(), L'\u0080', L'\u20AC');
    std::vector<std::wstring_view> lines;
    SplitTextLines(*text, lines);
    std::wstring_view keyword;
    std::vector<std::wstring_view> fields;
    for (const std::wstring_view line : lines) {
        if (!SplitRecordFields(line, keyword, fields)) continue;
        if (keyword == L"VER" && fields.size() == 1) {
            if (ParseDouble(std::wstring(fields[0]).c_str()) < kMinimumVersion) break;
        } else if (keyword == L"DOC" && fields.size() == 2) {
            page.width = ClampToInt(ParseInteger(fields[0]));
            page.landscape = ClampToInt(ParseInteger(fields[1]));
        } else if (keyword == L"PAG" && fields.size() == 2) {
            page.number = CString(std::wstring(fields[0]));
            page.mode = ClampToInt(ParseInteger(fields[1]));
        } else if (keyword == L"OBJ") {
            std::unique_ptr<PRINTOBJ> object = ReadObjectRecord(fields, 1.0);
            if (object->kind == kPrintImage) {
                if (object->text.IsEmpty()) continue;
                object->text = ResolveImagePath(object->text, layoutFolder);
            }
            page.objects.push_back(std::move(object));
        }
    }
    return page;
}

}  // namespace qx
