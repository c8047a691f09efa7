// VDI 3805 import: one record per line, fields separated by semicolons,
// each record placed in the tree below the most recent record of its parent
// type (see qx/tree/internal/vdi_records.h).
//
// The text is read line by line and never past its terminating zero; the
// tree is as deep as the placement table allows (records kept outside it
// add two levels), so nothing here recurses.

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "qx/message/message_table.h"
#include "qx/platform/base/format.h"
#include "qx/platform/base/number_parse.h"
#include "qx/platform/base/unicode.h"
#include "qx/platform/wnd/message_box.h"
#include "qx/tree/internal/vdi_records.h"
#include "qx/tree/vdi.h"

namespace qx {
namespace {

using detail::VdiPlacement;
using Stop = VdiImportOutcome::Stop;

bool IsLineEnd(wchar_t c) { return c == L'\r' || c == L'\n'; }

const wchar_t* LineEnd(const wchar_t* p) {
    while (*p && !IsLineEnd(*p)) ++p;
    return p;
}

// The lines that [begin, end) ends: a line feed, carriage return plus line
// feed, or a carriage return alone each end one.
size_t CountLineEnds(const wchar_t* begin, const wchar_t* end) {
    size_t count = 0;
    for (const wchar_t* p = begin; p < end; ++p) {
        if (*p == L'\n' || (*p == L'\r' && (p + 1 == end || p[1] != L'\n'))) ++count;
    }
    return count;
}

// Whether only white space (or the old end-of-file mark, ^Z) follows.
bool OnlyFillerFrom(const wchar_t* p) {
    while (*p && (IsSpace(*p) || *p == L'\x1A')) ++p;
    return *p == 0;
}

// A semicolon separates fields unless a backslash stands right before it.
bool IsFieldSeparator(const wchar_t* p, const wchar_t* lineBegin) {
    return *p == L';' && (p == lineBegin || p[-1] != L'\\');
}

// The end of a line's record type: its first field separator.
const wchar_t* TypeEnd(const wchar_t* begin, const wchar_t* end) {
    const wchar_t* p = begin;
    while (p < end && !IsFieldSeparator(p, begin)) ++p;
    return p;
}

// The part number: the field after "010" and its separator, as an integer.
int PartNumber(const wchar_t* text) {
    const wchar_t* field = text + 3;  // the text begins with "010"
    if (*field && !IsLineEnd(*field)) ++field;
    const wchar_t* end = field;
    while (*end && *end != L';' && !IsLineEnd(*end)) ++end;
    return ParseInt(std::wstring(field, end).c_str());
}

// Turns a record line into the packed form: field separators become colons,
// a colon inside a field is held as U+00AE and a real U+00AE as U+00AE and
// a semicolon. A semicolon escaped by a backslash belongs to its field and
// stays.
void RewriteLine(const wchar_t* begin, const wchar_t* end, std::wstring& out) {
    out.clear();
    for (const wchar_t* p = begin; p < end; ++p) {
        if (*p == L':') {
            out.push_back(detail::kPackedColon);
        } else if (*p == detail::kRegisteredSign) {
            out.push_back(detail::kPackedColon);
            out.push_back(detail::kRealSignMark);
        } else {
            out.push_back(IsFieldSeparator(p, begin) ? L':' : *p);
        }
    }
}

// Record 800 holds a fixed-width field right after its first field: fifteen
// codes of 3 characters, one of 5 and one of 3, and for part 6 one more of
// 5. The tree keeps each piece followed by "~" and then the rest of the
// value, so that the export joins them again by dropping the "~". Widths
// count the file's characters (a real U+00AE is two in the tree). A value
// shorter than the field gives short or empty pieces; a value without a
// second field has no pieces and stays as it is.
std::wstring SplitRecord800(const std::wstring& value, int partNumber) {
    static constexpr size_t kWidths[] = {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 5, 3};
    const size_t colon = value.find(L':');
    if (colon == std::wstring::npos) return value;
    std::wstring out;
    out.reserve(value.size() + std::size(kWidths) + 2);
    out.append(value, 0, colon + 1);
    size_t pos = colon + 1;
    auto piece = [&](size_t width) {
        const size_t from = pos;
        for (size_t n = 0; n < width && pos < value.size(); ++n) {
            const bool pair = value[pos] == detail::kPackedColon && pos + 1 < value.size() &&
                              value[pos + 1] == detail::kRealSignMark;
            pos += pair ? 2 : 1;
        }
        out.append(value, from, pos - from);
        out.push_back(detail::kVdiPieceEnd);
    };
    for (size_t width : kWidths) piece(width);
    if (partNumber == 6) piece(5);
    out.append(value, pos);
    return out;
}

// The record's node: named after its type (970.02 and 970.03 also after
// their third value), with the leaf "<>" holding the fields after the type.
std::unique_ptr<CNode> MakeRecord(const CString& type, std::wstring value, const VdiPlacement* placement,
                                  int partNumber) {
    auto record = std::make_unique<CNode>(type);
    if (type == detail::kVdiPiecedRecord) value = SplitRecord800(value, partNumber);
    CLeaf* leaf = record->AddLeaf(new CLeaf(detail::kVdiValueLeaf));
    leaf->SetRawData(CString(std::move(value)));
    if (placement && placement->namedByThirdValue) {
        record->SetName(type + L' ' + leaf->GetStrLeafValue(3, L':', L""));
    }
    return record;
}

// Builds the tree: keeps the current record of every parent key and the
// group nodes made below it, and the most recent record the table placed
// for the records kept outside it.
class VdiTreeBuilder {
public:
    // Places *record* by the table; otherwise the reason it has no place
    // (the record is then deleted), which ends reading.
    Stop Place(std::unique_ptr<CNode> record, const VdiPlacement& placement) {
        CNode* node = nullptr;
        if (placement.parent.empty()) {
            if (root_) return Stop::kSecondRoot;  // the root is the first record only
            root_ = std::move(record);
            node = root_.get();
        } else {
            auto parent = current_.find(placement.parent);
            if (parent == current_.end()) return Stop::kMissingParent;
            CNode* under = placement.group.empty() ? parent->second.record : GroupOf(parent->second, placement);
            node = under->AddChild(record.release());
        }
        // A new record of a key starts new groups below it, and the records
        // below the one it follows are no longer anybody's current ones: a
        // record that needs them has its parent missing.
        for (std::wstring_view below : detail::VdiKeysBelow(placement)) current_.erase(below);
        Current& current = current_[detail::CurrentKey(placement)];
        current.record = node;
        current.groups.clear();
        lastPlaced_ = node;
        outsideGroup_ = nullptr;
        return Stop::kNone;
    }

    // Keeps a record of a type outside the table in a group named after the
    // type below the most recent record placed; a run of one type shares
    // the group.
    Stop Keep(std::unique_ptr<CNode> record, const CString& type) {
        if (!lastPlaced_) return Stop::kUnknownType;
        if (!outsideGroup_ || outsideType_ != type) {
            outsideGroup_ = lastPlaced_->AddChild((CString(L"GRUPPE ") + type).GetString());
            outsideType_ = type;
        }
        outsideGroup_->AddChild(record.release());
        return Stop::kNone;
    }

    CNode* Release() { return root_.release(); }

private:
    struct Current {
        CNode* record = nullptr;
        std::vector<std::pair<std::wstring_view, CNode*>> groups;  // slot, group node
    };

    static CNode* GroupOf(Current& parent, const VdiPlacement& placement) {
        const std::wstring_view slot = placement.groupSlot.empty() ? placement.group : placement.groupSlot;
        for (const auto& [groupSlot, group] : parent.groups) {
            if (groupSlot == slot) return group;
        }
        CNode* group = parent.record->AddChild(std::wstring(placement.group).c_str());
        parent.groups.emplace_back(slot, group);
        return group;
    }

    std::unique_ptr<CNode> root_;
    std::unordered_map<std::wstring_view, Current> current_;  // keys point into the placement table
    CNode* lastPlaced_ = nullptr;
    CNode* outsideGroup_ = nullptr;  // the group of the run of kept records, while it lasts
    CString outsideType_;
};

// Whether the export gives back a kept record of *type*: a space after the
// first character would make the node name read as a type and a name
// ("970.02 ABC"), and a backslash at the end would escape the separator
// written after it.
bool CanKeep(const CString& type) { return type.Find(L' ') <= 0 && type.Right(1) != L"\\"; }

}  // namespace

CNode* ImportVdi(const wchar_t* text, const VdiImportOptions& options, VdiImportOutcome& outcome) {
    outcome = VdiImportOutcome();
    if (!text) {
        outcome.stop = Stop::kNotVdi;
        return nullptr;
    }
    const wchar_t* p = text;
    while (*p && IsSpace(*p)) ++p;
    size_t lineNumber = 1 + CountLineEnds(text, p);
    if (std::wcsncmp(p, L"010", 3) != 0) {
        outcome.stop = Stop::kNotVdi;
        outcome.line = lineNumber;
        return nullptr;
    }
    const int partNumber = PartNumber(p);
    outcome.partNumber = partNumber;

    VdiTreeBuilder builder;
    std::wstring line;
    while (*p) {
        const wchar_t* end = LineEnd(p);
        RewriteLine(p, end, line);

        // The type ends at the first separator; a line without one is a
        // record without fields.
        const size_t colon = std::min(line.find(L':'), line.size());
        const CString type(line.substr(0, colon));
        const bool numbered = ParseInt(type) != 0;
        if (!numbered && OnlyFillerFrom(p)) break;
        const VdiPlacement* placement = numbered ? detail::FindVdiPlacement(type.str(), partNumber) : nullptr;
        Stop stop = Stop::kNone;
        if (!numbered) {
            stop = Stop::kNoRecordType;
        } else if (!placement && !options.keepUnknownRecords) {
            stop = Stop::kUnknownType;
        } else if (!placement && !CanKeep(type)) {
            stop = Stop::kTypeNotKept;
        } else {
            std::wstring value = colon < line.size() ? line.substr(colon + 1) : std::wstring();
            std::unique_ptr<CNode> record = MakeRecord(type, std::move(value), placement, partNumber);
            stop = placement ? builder.Place(std::move(record), *placement) : builder.Keep(std::move(record), type);
        }
        if (stop != Stop::kNone) {
            outcome.stop = stop;
            outcome.line = lineNumber;
            outcome.type.assign(p, TypeEnd(p, end));
            if (stop == Stop::kMissingParent) outcome.parent = placement->parent;
            break;
        }

        p = end;
        while (IsLineEnd(*p)) ++p;
        lineNumber += CountLineEnds(end, p);
    }
    return builder.Release();
}

CNode* ImportVdi(const wchar_t* text) {
    VdiImportOutcome outcome;
    CNode* root = ImportVdi(text, VdiImportOptions(), outcome);
    if (outcome.stop == Stop::kUnknownType) {
        const std::wstring type = detail::ShortRecordType(outcome.type);
        ShowAppMessage(Format(TranslateMessage("Unknown VDI-Node: %s"), type.c_str()).c_str(), MB_OK);
    }
    return root;
}

}  // namespace qx
