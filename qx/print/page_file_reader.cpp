#include "qx/print/page_file_reader.h"

#include "qx/platform/base/list.h"
#include "qx/platform/base/number_parse.h"
#include "qx/print/object_record.h"
#include "qx/print/record_line.h"
#include "qx/text/str_util.h"

namespace qx {
namespace {

constexpr unsigned kPageCodePage = 1252;
constexpr double kMinimumVersion = 2.0;

}  // namespace

CString ResolveImagePath(const CString& path, const CString& layoutFolder) {
    const bool absolute = path.GetLength() >= 2 && (path[1] == L':' || path[1] == L'\\');
    return absolute ? path : layoutFolder + path;
}

LoadedPage ReadPageFile(const CString& path, const CString& layoutFolder) {
    LoadedPage page;
    CStringList lines;
    if (!qxStrUtil::readStringlistFromFile(lines, path, kPageCodePage, 0)) return page;
    for (POSITION pos = lines.GetHeadPosition(); pos;) {
        CString line = lines.GetNext(pos);
        // Text written in the 8-bit page of old keeps its euro sign there.
        line.Replace(L'\u0080', L'\u20AC');
        const std::optional<RecordLine> record = SplitRecordLine(line);
        if (!record) continue;
        const std::vector<CString>& fields = record->fields;
        if (record->keyword == L"VER" && fields.size() == 1) {
            if (ParseDouble(fields[0]) < kMinimumVersion) break;
        } else if (record->keyword == L"DOC" && fields.size() == 2) {
            page.width = ParseInt(fields[0]);
            page.landscape = ParseInt(fields[1]);
        } else if (record->keyword == L"PAG" && fields.size() == 2) {
            page.number = fields[0];
            page.mode = ParseInt(fields[1]);
        } else if (record->keyword == L"OBJ") {
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
