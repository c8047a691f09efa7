#include "qx/platform/os/internal/registry_hive.h"

#include <algorithm>

namespace qx::detail {

const HiveValue* HiveKey::Find(std::wstring_view name) const {
    const auto it = index.find(FoldRegName(name));
    return it == index.end() ? nullptr : &values[it->second];
}

void HiveKey::Set(std::wstring_view name, RegValue value) {
    const auto [it, added] = index.try_emplace(FoldRegName(name), values.size());
    if (added) values.push_back({std::wstring(name), std::move(value)});
    else values[it->second].value = std::move(value);
}

bool HiveKey::Remove(std::wstring_view name) {
    const auto it = index.find(FoldRegName(name));
    if (it == index.end()) return false;
    const size_t position = it->second;
    index.erase(it);
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(position));
    for (auto& [folded, i] : index)
        if (i > position) --i;
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
    std::wstring display;
    HiveKey* current = nullptr;
    size_t start = 0;
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
