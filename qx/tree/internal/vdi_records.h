// The record rules of VDI 3805 files as the tree holds them: where each
// record type goes (below which record, inside which group node) and the
// characters the tree form uses. Shared by the import and the export.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qx::detail {

// The one leaf of a record node; its packed value holds the record's fields
// after the type.
inline constexpr const wchar_t* kVdiValueLeaf = L"<>";
// Packed values hold a colon inside a field as U+00AE.
inline constexpr wchar_t kPackedColon = L'\u00AE';
// The same character as the file holds it: a real registered sign. The tree
// holds it as U+00AE followed by kRealSignMark, a semicolon: the import makes
// no other semicolon that does not follow a backslash, so the pair tells it
// from a colon.
inline constexpr wchar_t kRegisteredSign = L'\u00AE';
inline constexpr wchar_t kRealSignMark = L';';
// Ends each piece of record 800's fixed-width field in the tree.
inline constexpr wchar_t kVdiPieceEnd = L'~';
// The record type whose fixed-width field is split into pieces (exactly
// this type, not every type that reads as the number 800).
inline constexpr const wchar_t* kVdiPiecedRecord = L"800";

struct VdiPlacement {
    std::wstring_view type;
    // The key of the current record the new record goes below (a record
    // type, or a key several types share through currentAs); empty for the
    // root itself.
    std::wstring_view parent;
    // The group node under the parent that collects the record; empty:
    // directly under the parent.
    std::wstring_view group;
    // Tells two groups of one name apart under one parent; empty: the group
    // name does.
    std::wstring_view groupSlot;
    // The key under which the record becomes the current one; empty: its
    // type.
    std::wstring_view currentAs;
    // The node is named after the type, a space and the record's third
    // value ("970.02 ABC").
    bool namedByThirdValue = false;
    // Part number conditions: 0 means none.
    int onlyPart = 0;
    int exceptPart = 0;

    // Row builders for the table.
    constexpr VdiPlacement InSlot(std::wstring_view slot) const {
        VdiPlacement row = *this;
        row.groupSlot = slot;
        return row;
    }
    constexpr VdiPlacement CurrentAs(std::wstring_view key) const {
        VdiPlacement row = *this;
        row.currentAs = key;
        return row;
    }
    constexpr VdiPlacement NamedByThirdValue() const {
        VdiPlacement row = *this;
        row.namedByThirdValue = true;
        return row;
    }
    constexpr VdiPlacement OnlyPart(int part) const {
        VdiPlacement row = *this;
        row.onlyPart = part;
        return row;
    }
    constexpr VdiPlacement ExceptPart(int part) const {
        VdiPlacement row = *this;
        row.exceptPart = part;
        return row;
    }
};

// The record that is the root of the tree (and must be the first).
constexpr VdiPlacement Root(std::wstring_view type) {
    VdiPlacement row;
    row.type = type;
    return row;
}

// A record placed directly under the current record of *parent*.
constexpr VdiPlacement Below(std::wstring_view type, std::wstring_view parent) {
    VdiPlacement row = Root(type);
    row.parent = parent;
    return row;
}

// A record placed in the group node *group* under the current *parent*.
constexpr VdiPlacement InGroup(std::wstring_view type, std::wstring_view parent, std::wstring_view group) {
    VdiPlacement row = Below(type, parent);
    row.group = group;
    return row;
}

// Where a record of *type* goes in a file of part *partNumber*; null when
// the type is outside the table for that part.
const VdiPlacement* FindVdiPlacement(std::wstring_view type, int partNumber);

// The key under which a record of *placement* becomes the current one.
constexpr std::wstring_view CurrentKey(const VdiPlacement& placement) {
    return placement.currentAs.empty() ? placement.type : placement.currentAs;
}

// The keys of a table row as numbers below VdiKeyCount(), so that a reader
// keeps the current record of each key in an array.
struct VdiRowKeys {
    size_t parent = 0;  // the key of placement.parent; unused for the root
    size_t current = 0;  // CurrentKey(placement)
    // Every key placed below the current key, directly or further down (in
    // any part): a new record of that key makes their current records stale.
    std::vector<size_t> below;
};

// The number of distinct keys (record types and shared keys) of the table.
size_t VdiKeyCount();

// The keys of *placement*, a row FindVdiPlacement gave.
const VdiRowKeys& VdiKeysOf(const VdiPlacement& placement);

// A record type or node name as messages show it: its first 40 characters
// ("..." after them when there are more), control characters as '?'.
std::wstring ShortRecordType(std::wstring_view type);

}  // namespace qx::detail
