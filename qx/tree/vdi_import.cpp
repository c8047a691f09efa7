// VDI 3805 import: one record per line, fields separated by semicolons,
// each record placed in the tree below the most recent record of its parent
// type (see qx/tree/internal/vdi_records.h).
//
// The text is read line by line and never past its terminating zero; the
// tree is as deep as the placement table allows (records kept outside it
// add two levels), so nothing here recurses. A file's bytes are read as
// they are (see qx/tree/internal/text_source.h): only the line at hand is
// widened, into a buffer every line reuses, and each value is written once,
// straight into the string its leaf keeps.

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "qx/message/message_table.h"
#include "qx/platform/base/codepage.h"
#include "qx/platform/base/format.h"
#include "qx/platform/base/number_parse.h"
#include "qx/platform/wnd/message_box.h"
#include "qx/text/text_codec.h"
#include "qx/tree/internal/item_memory.h"
#include "qx/tree/internal/text_source.h"
#include "qx/tree/internal/vdi_import.h"
#include "qx/tree/internal/vdi_records.h"
#include "qx/tree/vdi.h"

namespace qx {
namespace {

using detail::VdiPlacement;
using Stop = VdiImportOutcome::Stop;

// The lines that [begin, end) ends: a line feed, carriage return plus line
// feed, or a carriage return alone each end one.
template <typename Unit>
size_t CountLineEnds(const Unit* begin, const Unit* end) {
    size_t count = 0;
    for (const Unit* p = begin; p < end; ++p) {
        if (*p == '\n' || (*p == '\r' && (p + 1 == end || p[1] != '\n'))) ++count;
    }
    return count;
}

// The position after the white space at *p*.
template <typename Source>
const typename Source::Unit* SkipSpace(const Source& source, const typename Source::Unit* p) {
    while (*p) {
        const size_t length = source.SpaceAt(p);
        if (!length) break;
        p += length;
    }
    return p;
}

// Whether only white space (or the old end-of-file mark, ^Z) follows.
template <typename Source>
bool OnlyFillerFrom(const Source& source, const typename Source::Unit* p) {
    for (;; ++p) {
        p = SkipSpace(source, p);
        if (*p != '\x1A') return *p == 0;
    }
}

// The text of the line [begin, end): wide text as it stands, bytes widened
// into *buffer*.
std::wstring_view LineText(const detail::WideSource&, const wchar_t* begin, const wchar_t* end, std::wstring&) {
    return {begin, static_cast<size_t>(end - begin)};
}

template <typename Source>
std::wstring_view LineText(const Source& source, const char* begin, const char* end, std::wstring& buffer) {
    source.Widen(begin, end, buffer);
    return buffer;
}

// A semicolon separates fields unless a backslash stands right before it.
bool IsFieldSeparator(std::wstring_view line, size_t i) {
    return line[i] == L';' && (i == 0 || line[i - 1] != L'\\');
}

// The end of a line's record type: its first field separator.
size_t TypeEnd(std::wstring_view line) {
    size_t i = 0;
    while (i < line.size() && !IsFieldSeparator(line, i)) ++i;
    return i;
}

// The part number: the field after "010" and its separator, as an integer.
int PartNumber(std::wstring_view firstLine) {
    const size_t field = std::min<size_t>(4, firstLine.size());  // the line begins with "010"
    const size_t end = std::min(firstLine.find(L';', field), firstLine.size());
    return ParseInt(std::wstring(firstLine.substr(field, end - field)).c_str());
}

// Appends line[from, to) in the packed form: field separators become
// colons, a colon inside a field is held as U+00AE and a real U+00AE as
// U+00AE and a semicolon. A semicolon escaped by a backslash belongs to its
// field and stays. *out* grows once, by exactly what it takes: a value is
// kept in the string as it is made.
void AppendPacked(std::wstring_view line, size_t from, size_t to, std::wstring& out) {
    const std::wstring_view part = line.substr(from, to - from);
    const size_t start = out.size();
    const auto signs = std::count(part.begin(), part.end(), detail::kRegisteredSign);
    out.resize(start + part.size() + static_cast<size_t>(signs));
    wchar_t* w = out.data() + start;
    for (size_t i = from; i < to; ++i) {
        const wchar_t c = line[i];
        if (c == L':') {
            *w++ = detail::kPackedColon;
        } else if (c == detail::kRegisteredSign) {
            *w++ = detail::kPackedColon;
            *w++ = detail::kRealSignMark;
        } else {
            *w++ = c == L';' && IsFieldSeparator(line, i) ? L':' : c;
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
std::unique_ptr<CNode> MakeRecord(std::wstring_view type, std::wstring value, const VdiPlacement* placement,
                                  int partNumber) {
    auto record = std::make_unique<CNode>();
    record->SetName(type);
    if (type == detail::kVdiPiecedRecord) value = SplitRecord800(value, partNumber);
    CLeaf* leaf = record->AddLeaf(new CLeaf(detail::kVdiValueLeaf));
    leaf->SetRawData(CString(std::move(value)));
    if (placement && placement->namedByThirdValue) {
        record->SetName(std::wstring(type) + L' ' + leaf->GetStrLeafValue(3, L':', L"").str());
    }
    return record;
}

// Builds the tree: keeps the current record of every parent key and the
// group nodes made below it, and the most recent record the table placed
// for the records kept outside it.
class VdiTreeBuilder {
public:
    VdiTreeBuilder() : current_(detail::VdiKeyCount()) {}

    // Places *record* by the table; otherwise the reason it has no place
    // (the record is then deleted), which ends reading.
    Stop Place(std::unique_ptr<CNode> record, const VdiPlacement& placement) {
        const detail::VdiRowKeys& keys = detail::VdiKeysOf(placement);
        CNode* node = nullptr;
        if (placement.parent.empty()) {
            if (root_) return Stop::kSecondRoot;  // the root is the first record only
            root_ = std::move(record);
            node = root_.get();
        } else {
            Current& parent = current_[keys.parent];
            if (!parent.record) return Stop::kMissingParent;
            CNode* under = placement.group.empty() ? parent.record : GroupOf(parent, placement);
            node = under->AddChild(record.release());
        }
        // A new record of a key starts new groups below it, and the records
        // below the one it follows are no longer anybody's current ones: a
        // record that needs them has its parent missing.
        for (size_t below : keys.below) Forget(current_[below]);
        Current& current = current_[keys.current];
        Forget(current);
        current.record = node;
        lastPlaced_ = node;
        outsideGroup_ = nullptr;
        return Stop::kNone;
    }

    // Keeps a record of a type outside the table in a group named after the
    // type below the most recent record placed; a run of one type shares
    // the group.
    Stop Keep(std::unique_ptr<CNode> record, std::wstring_view type) {
        if (!lastPlaced_) return Stop::kUnknownType;
        if (!outsideGroup_ || outsideType_ != type) {
            outsideGroup_ = lastPlaced_->AddChild((L"GRUPPE " + std::wstring(type)).c_str());
            outsideType_ = type;
        }
        outsideGroup_->AddChild(record.release());
        return Stop::kNone;
    }

    CNode* Release() { return root_.release(); }

private:
    struct Current {
        CNode* record = nullptr;  // null: the key has no current record
        std::vector<std::pair<std::wstring_view, CNode*>> groups;  // slot, group node
    };

    static void Forget(Current& current) {
        current.record = nullptr;
        current.groups.clear();
    }

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
    std::vector<Current> current_;  // by key number (see detail::VdiKeysOf)
    CNode* lastPlaced_ = nullptr;
    CNode* outsideGroup_ = nullptr;  // the group of the run of kept records, while it lasts
    std::wstring outsideType_;
};

// Whether the export gives back a kept record of *type*: a space after the
// first character would make the node name read as a type and a name
// ("970.02 ABC"), and a backslash at the end would escape the separator
// written after it.
bool CanKeep(std::wstring_view type) {
    const size_t space = type.find(L' ');
    return (space == std::wstring_view::npos || space == 0) && !type.ends_with(L'\\');
}

// The placement of a record type, remembered for the next line: records
// of one type mostly come in runs.
class PlacementFinder {
public:
    explicit PlacementFinder(int partNumber) : partNumber_(partNumber) {}

    const VdiPlacement* Find(std::wstring_view type) {
        if (!known_ || type != type_) {
            type_.assign(type);
            placement_ = detail::FindVdiPlacement(type, partNumber_);
            known_ = true;
        }
        return placement_;
    }

private:
    const int partNumber_;
    bool known_ = false;
    std::wstring type_;
    const VdiPlacement* placement_ = nullptr;
};

// The import over any kind of text; *textEnd* is where its terminating
// zero stands (null for wide text, which does not need it).
template <typename Source>
CNode* ImportFrom(const Source& source, const typename Source::Unit* text, const typename Source::Unit* textEnd,
                  const VdiImportOptions& options, VdiImportOutcome& outcome) {
    using Unit = typename Source::Unit;
    outcome = VdiImportOutcome();
    const Unit* p = SkipSpace(source, text);
    size_t lineNumber = 1 + CountLineEnds(text, p);
    if (p[0] != '0' || p[1] != '1' || p[2] != '0') {  // the record 010 (a zero ends the text first)
        outcome.stop = Stop::kNotVdi;
        outcome.line = lineNumber;
        return nullptr;
    }
    std::wstring line;  // a byte line widened
    const int partNumber = PartNumber(LineText(source, p, detail::FindStop(p, textEnd, '\r', '\n', '\n'), line));
    outcome.partNumber = partNumber;

    const detail::ItemArena arena;  // the records' items are made together
    VdiTreeBuilder builder;
    PlacementFinder placements(partNumber);
    std::wstring type;
    while (*p) {
        const Unit* end = detail::FindStop(p, textEnd, '\r', '\n', '\n');
        const std::wstring_view lineText = LineText(source, p, end, line);

        // The type ends at the first separator; a line without one is a
        // record without fields.
        const size_t typeEnd = TypeEnd(lineText);
        type.clear();
        AppendPacked(lineText, 0, typeEnd, type);
        const bool numbered = ParseInteger(type) != 0;
        if (!numbered && OnlyFillerFrom(source, p)) break;
        const VdiPlacement* placement = numbered ? placements.Find(type) : nullptr;
        Stop stop = Stop::kNone;
        if (!numbered) {
            stop = Stop::kNoRecordType;
        } else if (!placement && !options.keepUnknownRecords) {
            stop = Stop::kUnknownType;
        } else if (!placement && !CanKeep(type)) {
            stop = Stop::kTypeNotKept;
        } else {
            std::wstring value;
            if (typeEnd < lineText.size()) AppendPacked(lineText, typeEnd + 1, lineText.size(), value);
            std::unique_ptr<CNode> record = MakeRecord(type, std::move(value), placement, partNumber);
            stop = placement ? builder.Place(std::move(record), *placement) : builder.Keep(std::move(record), type);
        }
        if (stop != Stop::kNone) {
            outcome.stop = stop;
            outcome.line = lineNumber;
            outcome.type.assign(lineText.substr(0, typeEnd));
            if (stop == Stop::kMissingParent) outcome.parent = placement->parent;
            break;
        }

        p = end;
        while (*p == '\r' || *p == '\n') ++p;
        lineNumber += CountLineEnds(end, p);
    }
    return builder.Release();
}

}  // namespace

CNode* ImportVdi(const wchar_t* text, const VdiImportOptions& options, VdiImportOutcome& outcome) {
    if (!text) {
        outcome = VdiImportOutcome();
        outcome.stop = Stop::kNotVdi;
        return nullptr;
    }
    return ImportFrom(detail::WideSource{}, text, nullptr, options, outcome);
}

CNode* ImportVdi(const wchar_t* text) {
    VdiImportOutcome outcome;
    CNode* root = ImportVdi(text, VdiImportOptions(), outcome);
    detail::ShowVdiImportMessage(outcome);
    return root;
}

namespace detail {

void ShowVdiImportMessage(const VdiImportOutcome& outcome) {
    if (outcome.stop != Stop::kUnknownType) return;
    const std::wstring type = ShortRecordType(outcome.type);
    ShowAppMessage(Format(TranslateMessage("Unknown VDI-Node: %s"), type.c_str()).c_str(), MB_OK);
}

CNode* ImportVdiBytes(std::string& bytes, unsigned codePage, const VdiImportOptions& options,
                      VdiImportOutcome& outcome) {
    const unsigned marked = MarkedCodePage(bytes);
    if (marked == kCpUtf8) {
        const size_t start = std::min<size_t>(3, bytes.size());
        return ImportFrom(Utf8Source{}, bytes.data() + start, bytes.data() + bytes.size(), options, outcome);
    }
    if (marked == 0) {
        if (const wchar_t* table = WideningTable(bytes, ReaderCodePage(codePage))) {
            return ImportFrom(TableSource{table}, bytes.data(), bytes.data() + bytes.size(), options, outcome);
        }
    }
    const std::wstring text = DecodeText(bytes, codePage);
    std::string().swap(bytes);  // the text is all that is needed from here on
    return ImportVdi(text.c_str(), options, outcome);
}

}  // namespace detail
}  // namespace qx
