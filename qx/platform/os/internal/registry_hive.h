// The keys of one root as the file store holds them in memory. Internal to
// the os layer.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "qx/platform/os/registry_value.h"

namespace qx::detail {

struct HiveValue {
    std::wstring name;  // as first written
    RegValue value;
};

struct HiveKey {
    std::wstring path;  // below the root, in the letter case first written; "" for the root
    std::vector<HiveValue> values;   // in enumeration order
    std::vector<std::wstring> kept;  // lines of the file not understood

    const HiveValue* Find(std::wstring_view name) const;
    // Replaces the value's content (keeping its name's letter case) or adds it.
    void Set(std::wstring_view name, RegValue value);
    bool Remove(std::wstring_view name);

private:
    // Keys of a few values, most of them, are searched in order; an index
    // would cost more memory than the values.
    static constexpr size_t kIndexFrom = 8;
    std::optional<size_t> Position(std::wstring_view name) const;

    std::unordered_map<std::wstring, size_t> index_;  // folded name -> position, once there are kIndexFrom values
};

// Keys by folded path. A key's subkeys follow it in the map: they share its
// folded path plus a backslash, and '\\' sorts before every letter after
// folding, so their range is [path + "\\", path + "]").
class Hive {
public:
    // *key* in stored form (NormalizeRegKey). The root ("") always exists.
    const HiveKey* Find(std::wstring_view key) const;
    HiveKey* Find(std::wstring_view key);
    bool Exists(std::wstring_view key) const { return key.empty() || Find(key); }
    // The key, created with the keys above it when missing.
    HiveKey& Create(std::wstring_view key);
    // Removes the key and its subkeys; false when it did not exist.
    bool Remove(std::wstring_view key);
    // The names of the direct subkeys.
    std::vector<std::wstring> Subkeys(std::wstring_view key) const;

    void Clear() { keys_.clear(); }
    const std::map<std::wstring, HiveKey>& keys() const { return keys_; }

private:
    std::map<std::wstring, HiveKey> keys_;
};

}  // namespace qx::detail
