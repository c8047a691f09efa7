#include "qx/message/string_table.h"

#include <utility>

namespace qx {
namespace {

// The one owner of the table, alive until the end of the process.
class StringTable {
public:
    static StringTable& Instance() {
        static StringTable table;
        return table;
    }

    std::optional<std::wstring> Find(unsigned id) const {
        auto it = texts_.find(id);
        if (it == texts_.end()) return std::nullopt;
        return it->second;
    }

    void Replace(std::unordered_map<unsigned, std::wstring> texts) { texts_ = std::move(texts); }

private:
    std::unordered_map<unsigned, std::wstring> texts_;
};

}  // namespace

std::optional<std::wstring> LoadResourceString(unsigned id) { return StringTable::Instance().Find(id); }

void ReplaceStringTable(std::unordered_map<unsigned, std::wstring> table) {
    StringTable::Instance().Replace(std::move(table));
}

void ClearStringTable() { StringTable::Instance().Replace({}); }

}  // namespace qx
