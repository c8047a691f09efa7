#include "qx/print/layout_reader.h"

#include <algorithm>
#include <cwchar>
#include <optional>

#include "qx/platform/base/ascii.h"
#include "qx/platform/base/list.h"
#include "qx/platform/base/number_parse.h"
#include "qx/platform/os/file_system.h"
#include "qx/print/internal/int_range.h"
#include "qx/print/object_record.h"
#include "qx/print/page_geometry.h"
#include "qx/print/prx_scramble.h"
#include "qx/print/record_line.h"
#include "qx/text/str_util.h"
#include "qx/platform/os/path_split.h"

namespace qx {
namespace {

using detail::ClampToInt;

constexpr unsigned kLayoutCodePage = 1252;
constexpr double kMinimumVersion = 2.0;

// How reading a section ended.
enum class Stop { kEndOfFile, kNextSection, kEndMark, kRejected };

class SectionReader {
public:
    explicit SectionReader(LayoutState& state) : state_(state) {}

    // Takes one record; says whether reading goes on.
    std::optional<Stop> Take(const RecordLine& record) {
        const CString& keyword = record.keyword;
        const std::vector<CString>& fields = record.fields;
        if (keyword == L"VER" && fields.size() == 1) {
            if (ParseDouble(fields[0]) < kMinimumVersion) return Stop::kRejected;
        } else if (keyword == L"DOC" && fields.size() == 2) {
            ApplyPageGeometry(ParseInt(fields[0]), ParseInteger(fields[1]) != 0);
        } else if (keyword == L"PAG" && !fields.empty()) {
            return TakeSectionStart(fields);
        } else if (keyword == L"FRM" && fields.size() >= 3 && inSection_) {
            TakeFrame(fields);
        } else if (keyword == L"OBJ" && inSection_) {
            TakeObject(ReadObjectRecord(fields, state_.scale));
        }
        return std::nullopt;
    }

    bool InSection() const { return inSection_; }

    // The parts are paired from the outside in: the first and the last are
    // level 0, the second and the last but one level 1, and so on.
    void AssignLevels() {
        const int count = static_cast<int>(state_.parts.size());
        for (int i = 0; i < count / 2; ++i) {
            state_.parts[static_cast<size_t>(i)].level = i;
            state_.parts[static_cast<size_t>(count - 1 - i)].level = i;
        }
    }

private:
    void ApplyPageGeometry(int layoutWidth, bool landscape) {
        PageGeometry& geometry = SharedPageGeometry();
        geometry.landscape = landscape;
        if (geometry.width <= 0) geometry.width = layoutWidth;
        const double pageWidth = geometry.width;
        state_.pageHeight = PageHeightFor(geometry.width, landscape);
        // A layout of no width would give an infinite scale: it is drawn as
        // it stands, as a layout wider than the page is.
        const double scale =
            layoutWidth > 0 ? std::min(pageWidth / layoutWidth, state_.pageHeight / (kPageRatio * layoutWidth)) : 1.0;
        state_.scale = std::max(scale, 1.0);
    }

    std::optional<Stop> TakeSectionStart(const std::vector<CString>& fields) {
        // A later section starts here even when it is the end mark, so that
        // the section before the mark is still used.
        if (inSection_) return Stop::kNextSection;
        if (fields[0] == L"%EOF") return Stop::kEndMark;
        if (fields.size() < 2) return std::nullopt;
        inSection_ = true;
        state_.pageMode = ParseInt(fields[1]);
        state_.continueSection = fields.size() >= 3 && ParseInteger(fields[2]) != 0;
        return std::nullopt;
    }

    void TakeFrame(const std::vector<CString>& fields) {
        if (framed_) {
            state_.parts.back().SortObjectsByTop();
            state_.parts.emplace_back();
        }
        framed_ = true;
        CPagePart& part = state_.parts.back();
        part.name = UnescapeComma(fields[0].str());
        part.height = ClampToInt(ParseInteger(fields[1]) * state_.scale);
        part.repeat = ParseInt(fields[2]);
        part.splittable = fields.size() >= 4 ? ParseInt(fields[3]) : 0;
    }

    void TakeObject(std::unique_ptr<PRINTOBJ> object) {
        CPagePart& part = state_.parts.back();
        if (object->name == L"PAGE_WRAP") part.hasPageWrap = 1;
        if (object->name.Left(4) == L"SUM(") state_.sums.push_back(SumOf(object->name));
        part.objects.push_back(std::move(object));
    }

    // "SUM(key;decimals)": the key ends at the first ';' (or the closing
    // parenthesis when there is none).
    static SUM SumOf(const CString& name) {
        SUM sum;
        const int semicolon = name.Find(L';', 4);
        if (semicolon < 0) {
            const int close = name.Find(L')', 4);
            sum.key = close < 0 ? name.Mid(4) : name.Mid(4, close - 4);
        } else {
            sum.key = name.Mid(4, semicolon - 4);
            sum.decimals = ParseInt(name.Mid(semicolon + 1));
        }
        return sum;
    }

    LayoutState& state_;
    bool inSection_ = false;  // a PAG record of this section has been read
    bool framed_ = false;     // the first part has been opened by an FRM record
};

}  // namespace

bool LayoutFile::Set(const CString& newPath) {
    folder = CString(std::wstring(FolderPart(newPath.str())));
    if (!FileExists(newPath.str()) || !IsReadable(newPath.str())) return false;
    path = newPath;
    scrambled = EndsWithIgnoringAsciiCase(newPath.str(), L".prx");
    return true;
}

int LoadSection(LayoutState& state, const LayoutFile& file, int startLine) {
    state.parts.clear();
    state.sums.clear();
    state.found = SectionFound::kUnreadable;
    CStringList lines;
    if (file.path.IsEmpty() || !qxStrUtil::readStringlistFromFile(lines, file.path, kLayoutCodePage, 0)) return 0;
    if (startLine == 0) state.scale = 1.0;
    state.parts.emplace_back();

    SectionReader reader(state);
    int number = 0;
    std::optional<Stop> stop;
    for (POSITION pos = lines.GetHeadPosition(); pos; ++number) {
        CString line = lines.GetNext(pos);
        if (number < startLine) continue;
        line.TrimRight(L"\r\n");
        if (file.scrambled) line = CString(UnscrambleLine(line.str()));
        const std::optional<RecordLine> record = SplitRecordLine(line);
        if (record && (stop = reader.Take(*record))) break;
    }
    reader.AssignLevels();
    state.found = stop == Stop::kRejected ? SectionFound::kOldVersion
                  : reader.InSection()    ? SectionFound::kSection
                                          : SectionFound::kNone;
    switch (stop.value_or(Stop::kEndOfFile)) {
        case Stop::kNextSection: return number;
        case Stop::kEndOfFile: return std::max(lines.GetCount() - 1, 0);
        case Stop::kEndMark: return 0;
        case Stop::kRejected: state.parts.clear(); return 0;
    }
    return 0;
}

}  // namespace qx
