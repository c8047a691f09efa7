// The registry behind the family's registry functions: one abstract store,
// chosen by one factory. On POSIX it is the file store
// (registry_file_store.h); a Windows build puts the real registry behind the
// same interface.
//
// Keys are paths below a root, separated by backslashes, compared without
// regard to case; a key's default value has the name "". The process's store
// (Registry()) is process-wide state, single-threaded like the rest of the
// family's API; tests replace it or point the file store at a temporary
// folder.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/base/export.h"
#include "qx/platform/os/registry_value.h"

namespace qx {

// One change to the registry.
struct RegEdit {
    enum class Op {
        CreateKey,    // creates the key and the keys above it
        DeleteKey,    // deletes the key with all its subkeys
        SetValue,     // creates the key if needed
        DeleteValue,
    };
    Op op = Op::CreateKey;
    RegRoot root = RegRoot::CurrentUser;
    std::wstring key;
    std::wstring name;  // SetValue, DeleteValue
    RegValue value;     // SetValue
};

class QX_API RegistryStore {
public:
    virtual ~RegistryStore();

    virtual bool KeyExists(RegRoot root, std::wstring_view key) = 0;
    // nullopt when the key or the value does not exist.
    virtual std::optional<RegValue> GetValue(RegRoot root, std::wstring_view key, std::wstring_view name) = 0;
    // The names of the key's values in enumeration order ("" for a default
    // value); nullopt when the key does not exist.
    virtual std::optional<std::vector<std::wstring>> ValueNames(RegRoot root, std::wstring_view key) = 0;
    // The names of the key's direct subkeys; nullopt when the key does not
    // exist.
    virtual std::optional<std::vector<std::wstring>> SubkeyNames(RegRoot root, std::wstring_view key) = 0;

    // Carries out *edits* in order, storing the result once. Gives the number
    // of edits that took effect (deleting what does not exist, or an invalid
    // key or value name, takes none), or nullopt when the change could not be
    // stored; then nothing of it is kept. (The file store writes each hive's
    // new file beside it before it replaces any, so a hive that refuses the
    // change keeps the other unchanged.)
    virtual std::optional<std::size_t> Apply(std::span<const RegEdit> edits) = 0;

    // Single edits; true when the edit took effect and was stored.
    bool CreateKey(RegRoot root, std::wstring_view key);
    bool DeleteKey(RegRoot root, std::wstring_view key);
    bool SetValue(RegRoot root, std::wstring_view key, std::wstring_view name, RegValue value);
    bool DeleteValue(RegRoot root, std::wstring_view key, std::wstring_view name);

private:
    bool ApplyOne(RegEdit edit);
};

// A new store of the platform's kind: on POSIX a FileRegistryStore that
// follows QX_REGISTRY_DIR.
QX_API std::unique_ptr<RegistryStore> CreateRegistryStore();

// The process's store, made by CreateRegistryStore on first use.
QX_API RegistryStore& Registry();

// Replaces the process's store (nullptr: a new one from the factory on next
// use), for tests and benchmarks.
QX_API void ResetRegistry(std::unique_ptr<RegistryStore> store = nullptr);

}  // namespace qx
