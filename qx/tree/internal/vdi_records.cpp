#include "qx/tree/internal/vdi_records.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace qx::detail {
namespace {

// Key shared by the records 970.41 hangs below: the most recent of any of
// these four types is its parent.
constexpr std::wstring_view kVdi970Detail = L"970.02/970.03/970.05/970.06";

// One row per record type (two or three where the part number decides).
// Group nodes are named "GRUPPE " and a record type; the records 800, 810
// and 820 share one group, and 710.22 has a second group named like the one
// of 710.21, as the family's applications look them up.
constexpr VdiPlacement kPlacements[] = {
    Root(L"010"),
    InGroup(L"100", L"010", L"GRUPPE 100"),
    Below(L"110", L"100"),
    InGroup(L"160", L"110", L"GRUPPE 160"),
    Below(L"160.01", L"160"),

    InGroup(L"200", L"110", L"GRUPPE 200"),
    InGroup(L"300", L"110", L"GRUPPE 300"),
    InGroup(L"400", L"110", L"GRUPPE 400"),
    InGroup(L"500", L"110", L"GRUPPE 500"),
    InGroup(L"200.01", L"200", L"GRUPPE 200.01"),
    InGroup(L"300.01", L"300", L"GRUPPE 300.01"),
    InGroup(L"400.01", L"400", L"GRUPPE 400.01"),
    InGroup(L"500.01", L"500", L"GRUPPE 500.01"),
    InGroup(L"250", L"200", L"GRUPPE 250"),
    InGroup(L"260", L"200", L"GRUPPE 260"),
    InGroup(L"350", L"300", L"GRUPPE 350"),
    InGroup(L"360", L"300", L"GRUPPE 360"),
    InGroup(L"450", L"400", L"GRUPPE 450"),
    InGroup(L"460", L"400", L"GRUPPE 460"),
    InGroup(L"550", L"500", L"GRUPPE 550"),
    InGroup(L"560", L"500", L"GRUPPE 560"),
    Below(L"250.01", L"250"),
    Below(L"260.01", L"260"),
    Below(L"350.01", L"350"),
    Below(L"360.01", L"360"),
    Below(L"450.01", L"450"),
    Below(L"460.01", L"460"),
    Below(L"550.01", L"550"),
    Below(L"560.01", L"560"),

    InGroup(L"600", L"110", L"GRUPPE 600"),
    Below(L"610", L"600"),

    InGroup(L"700", L"110", L"GRUPPE 700"),
    InGroup(L"710.01", L"700", L"GRUPPE 710.01"),
    InGroup(L"710.02", L"700", L"GRUPPE 710.02"),
    InGroup(L"710.03", L"700", L"GRUPPE 710.03"),
    InGroup(L"710.04", L"700", L"GRUPPE 710.04"),
    InGroup(L"710.05", L"700", L"GRUPPE 710.05"),
    InGroup(L"710.06", L"700", L"GRUPPE 710.06"),
    InGroup(L"710.07", L"700", L"GRUPPE 710.07"),
    InGroup(L"710.08", L"700", L"GRUPPE 710.08").OnlyPart(3),
    InGroup(L"710.09", L"700", L"GRUPPE 710.09").OnlyPart(3),
    InGroup(L"710.10", L"700", L"GRUPPE 710.10").OnlyPart(3),
    Below(L"710.11", L"710.01").OnlyPart(18),
    InGroup(L"710.11", L"710.01", L"GRUPPE 710.11").ExceptPart(18),
    InGroup(L"710.12", L"700", L"GRUPPE 710.12").OnlyPart(3),
    InGroup(L"710.12", L"710.01", L"GRUPPE 710.12").ExceptPart(3),
    InGroup(L"710.21", L"710.02", L"GRUPPE 710.21"),
    InGroup(L"710.22", L"710.02", L"GRUPPE 710.21").InSlot(L"710.22"),
    InGroup(L"710.31", L"710.03", L"GRUPPE 710.31"),
    InGroup(L"710.32", L"710.03", L"GRUPPE 710.32"),
    InGroup(L"710.33", L"710.03", L"GRUPPE 710.33"),
    InGroup(L"710.34", L"710.03", L"GRUPPE 710.34"),
    InGroup(L"710.35", L"710.03", L"GRUPPE 710.35"),
    InGroup(L"710.41", L"710.04", L"GRUPPE 710.41"),
    InGroup(L"710.51", L"710.05", L"GRUPPE 710.51"),
    InGroup(L"710.61", L"710.06", L"GRUPPE 710.61"),
    InGroup(L"710.71", L"710.07", L"GRUPPE 710.71"),
    InGroup(L"720", L"700", L"GRUPPE 720"),
    InGroup(L"730", L"700", L"GRUPPE 730"),
    InGroup(L"760", L"700", L"GRUPPE 760"),
    Below(L"760.01", L"760"),

    InGroup(L"800", L"110", L"GRUPPE 800/810/820"),
    InGroup(L"810", L"110", L"GRUPPE 800/810/820"),
    InGroup(L"820", L"110", L"GRUPPE 800/810/820"),
    InGroup(L"830", L"110", L"GRUPPE 830"),
    InGroup(L"850", L"110", L"GRUPPE 850"),
    Below(L"860", L"850"),

    InGroup(L"900", L"010", L"GRUPPE 900"),
    Below(L"920", L"900"),
    InGroup(L"930", L"010", L"GRUPPE 930"),
    Below(L"930_01", L"930"),
    InGroup(L"930_02", L"930_01", L"GRUPPE 930.02"),
    InGroup(L"930_03", L"930_01", L"GRUPPE 930.03"),
    Below(L"930_04", L"930_03"),
    InGroup(L"960", L"010", L"GRUPPE 960"),
    InGroup(L"970", L"010", L"GRUPPE 970"),
    InGroup(L"970.01", L"970", L"GRUPPE 970.01"),
    InGroup(L"970.02", L"970", L"GRUPPE 970.02").CurrentAs(kVdi970Detail).NamedByThirdValue(),
    InGroup(L"970.03", L"970", L"GRUPPE 970.03").CurrentAs(kVdi970Detail).NamedByThirdValue(),
    InGroup(L"970.04", L"970", L"GRUPPE 970.04"),
    InGroup(L"970.05", L"970", L"GRUPPE 970.05").CurrentAs(kVdi970Detail),
    InGroup(L"970.06", L"970", L"GRUPPE 970.06").CurrentAs(kVdi970Detail),
    InGroup(L"970.11", L"970", L"GRUPPE 970.11"),
    InGroup(L"970.12", L"970", L"GRUPPE 970.12"),
    InGroup(L"970.13", L"970", L"GRUPPE 970.13"),
    InGroup(L"970.14", L"970", L"GRUPPE 970.14"),
    Below(L"970.41", kVdi970Detail),
};

bool AppliesTo(const VdiPlacement& placement, int partNumber) {
    if (placement.onlyPart != 0 && partNumber != placement.onlyPart) return false;
    return placement.exceptPart == 0 || partNumber != placement.exceptPart;
}

// The rows of each type, in table order; built once from the constant
// table and never changed.
const std::unordered_map<std::wstring_view, std::vector<const VdiPlacement*>>& PlacementsByType() {
    static const auto byType = [] {
        std::unordered_map<std::wstring_view, std::vector<const VdiPlacement*>> map;
        for (const VdiPlacement& placement : kPlacements) map[placement.type].push_back(&placement);
        return map;
    }();
    return byType;
}

// Every key of the table (parents and current keys) with its number, and
// for each row (by its index) its keys. The table has no cycles (every
// parent row comes before its children), so the walk for the keys below
// ends; it runs once over a constant table.
struct KeyTable {
    std::unordered_map<std::wstring_view, size_t> numbers;
    std::vector<VdiRowKeys> byRow;
};

const KeyTable& Keys() {
    static const auto table = [] {
        KeyTable keys;
        auto number = [&keys](std::wstring_view key) {
            return keys.numbers.try_emplace(key, keys.numbers.size()).first->second;
        };
        std::unordered_map<size_t, std::vector<size_t>> children;
        for (const VdiPlacement& placement : kPlacements) {
            const size_t parent = number(placement.parent);
            const size_t current = number(CurrentKey(placement));
            std::vector<size_t>& list = children[parent];
            if (std::find(list.begin(), list.end(), current) == list.end()) list.push_back(current);
        }
        keys.byRow.reserve(std::size(kPlacements));
        for (const VdiPlacement& placement : kPlacements) {
            VdiRowKeys row;
            row.parent = keys.numbers.at(placement.parent);
            row.current = keys.numbers.at(CurrentKey(placement));
            std::vector<size_t> pending{row.current};
            while (!pending.empty()) {
                const size_t key = pending.back();
                pending.pop_back();
                auto it = children.find(key);
                if (it == children.end()) continue;
                for (size_t child : it->second) {
                    if (std::find(row.below.begin(), row.below.end(), child) != row.below.end()) continue;
                    row.below.push_back(child);
                    pending.push_back(child);
                }
            }
            keys.byRow.push_back(std::move(row));
        }
        return keys;
    }();
    return table;
}

}  // namespace

std::wstring ShortRecordType(std::wstring_view type) {
    constexpr size_t kShown = 40;
    std::wstring out(type.substr(0, kShown));
    for (wchar_t& c : out) {
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0)) c = L'?';
    }
    if (type.size() > kShown) out += L"...";
    return out;
}

size_t VdiKeyCount() { return Keys().numbers.size(); }

const VdiRowKeys& VdiKeysOf(const VdiPlacement& placement) {
    return Keys().byRow[static_cast<size_t>(&placement - kPlacements)];
}

const VdiPlacement* FindVdiPlacement(std::wstring_view type, int partNumber) {
    const auto& byType = PlacementsByType();
    auto it = byType.find(type);
    if (it == byType.end()) return nullptr;
    for (const VdiPlacement* placement : it->second) {
        if (AppliesTo(*placement, partNumber)) return placement;
    }
    return nullptr;
}

}  // namespace qx::detail
