#include "qx/platform/os/internal/registry_hive.h"

#include <algorithm>

#include "qx/platform/base/unicode.h"

namespace qx::detail {

std::optional<size_t> HiveKey::Position(std::wstring_view name) const {
    if (index_.empty()) {
        for (size_t i = 0; i < values.size(); ++i)
            if (EqualsFolded(values[i].name, name)) return i;
        return std::nullopt;
    }
    const auto it = index_.find(FoldRegName(name));
    if (it == index_.end()) return std::nullopt;
    return it->second;
}

const HiveValue* HiveKey::Find(std::wstring_view name) const {
    const auto position = Position(name);
    return position ? &values[*position] : nullptr;
}

void HiveKey::Set(std::wstring_view name, RegValue value) {
    if (const auto position = Position(name)) {
        values[*position].value = std::move(value);
        return;
    }
    values.push_back({std::wstring(name), std::move(value)});
    if (!index_.empty()) {
        index_.emplace(FoldRegName(name), values.size() - 1);
    } else if (values.size() >= kIndexFrom) {
        for (size_t i = 0; i < values.size(); ++i) index_.emplace(FoldRegName(values[i].name), i);
    }
}

bool HiveKey::Remove(std::wstring_view name) {
    const auto position = Position(name);
    if (!position) return false;
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(*position));
    if (!index_.empty()) {
        index_.erase(FoldRegName(name));
        for (auto& [folded, i] : index_)
            if (i > *position) --i;
    }
    return true;
}

const HiveKey* Hive::Find(std::wstring_view key) const {
    const auto it = keys_.find(FoldRegName(key));
    return it == keys_.end() ? nullptr : &it->second;
}

HiveKey* Hive::Find(std::wstring_view key) {
    const auto it = keys_.find(FoldRegName(key));
    return it == keys_.end() ? nullptr : &it->second;
}

HiveKey& Hive::Create(std::wstring_view key) {
    const std::wstring folded = FoldRegName(key);
    if (const auto it = keys_.find(folded); it != keys_.end()) return it->second;
    // Each missing key on the way takes its name from *key*; existing ones
    // keep theirs, so "software\\x" below "Software" becomes "Software\\x".
    // The keys above an existing key exist, so the walk starts below the
    // deepest one that does: mostly the parent, as files list it first.
    std::wstring display;
    HiveKey* current = nullptr;
    size_t start = 0;
    for (size_t end = folded.rfind(L'\\'); end != folded.npos;
         end = end == 0 ? folded.npos : folded.rfind(L'\\', end - 1)) {
        if (const auto it = keys_.find(folded.substr(0, end)); it != keys_.end()) {
            display = it->second.path;
            start = end + 1;
            break;
        }
    }
    while (true) {
        const size_t end = std::min(key.find(L'\\', start), key.size());
        const std::wstring_view component = key.substr(start, end - start);
        const std::wstring prefix = folded.substr(0, end);
        auto [it, added] = keys_.try_emplace(prefix);
        if (added) it->second.path = start == 0 ? std::wstring(component) : display + L'\\' + std::wstring(component);
        display = it->second.path;
        current = &it->second;
        if (end == key.size()) break;
        start = end + 1;
    }
    return *current;
}

bool Hive::Remove(std::wstring_view key) {
    const std::wstring folded = FoldRegName(key);
    if (folded.empty()) {
        const bool any = !keys_.empty();
        keys_.clear();
        return any;
    }
    const auto self = keys_.find(folded);
    if (self == keys_.end()) return false;
    keys_.erase(self);
    keys_.erase(keys_.lower_bound(folded + L'\\'), keys_.lower_bound(folded + L']'));
    return true;
}

std::vector<std::wstring> Hive::Subkeys(std::wstring_view key) const {
    const std::wstring folded = FoldRegName(key);
    const std::wstring first = folded.empty() ? std::wstring() : folded + L'\\';
    const auto end = folded.empty() ? keys_.end() : keys_.lower_bound(folded + L']');
    std::vector<std::wstring> names;
    for (auto it = keys_.lower_bound(first); it != end; ++it) {
        const std::wstring_view rest = std::wstring_view(it->first).substr(first.size());
        if (rest.empty() || rest.find(L'\\') != rest.npos) continue;
        const std::wstring& path = it->second.path;
        names.push_back(path.substr(path.size() - rest.size()));
    }
    return names;
}

}  // namespace qx::detail
