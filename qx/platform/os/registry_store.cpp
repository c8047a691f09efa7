#include "qx/platform/os/registry_store.h"

#include <utility>

namespace qx {

RegistryStore::~RegistryStore() = default;

bool RegistryStore::ApplyOne(RegEdit edit) {
    const auto applied = Apply(std::span<const RegEdit>(&edit, 1));
    return applied && *applied == 1;
}

bool RegistryStore::CreateKey(RegRoot root, std::wstring_view key) {
    return ApplyOne({RegEdit::Op::CreateKey, root, std::wstring(key), {}, {}});
}

bool RegistryStore::DeleteKey(RegRoot root, std::wstring_view key) {
    return ApplyOne({RegEdit::Op::DeleteKey, root, std::wstring(key), {}, {}});
}

bool RegistryStore::SetValue(RegRoot root, std::wstring_view key, std::wstring_view name, RegValue value) {
    return ApplyOne({RegEdit::Op::SetValue, root, std::wstring(key), std::wstring(name), std::move(value)});
}

bool RegistryStore::DeleteValue(RegRoot root, std::wstring_view key, std::wstring_view name) {
    return ApplyOne({RegEdit::Op::DeleteValue, root, std::wstring(key), std::wstring(name), {}});
}

namespace {

// The one owner of the process's store.
class RegistryOwner {
public:
    static RegistryOwner& Instance() {
        static RegistryOwner owner;
        return owner;
    }

    RegistryStore& Get() {
        if (!store_) store_ = CreateRegistryStore();
        return *store_;
    }

    void Reset(std::unique_ptr<RegistryStore> store) { store_ = std::move(store); }

private:
    std::unique_ptr<RegistryStore> store_;
};

}  // namespace

RegistryStore& Registry() { return RegistryOwner::Instance().Get(); }

void ResetRegistry(std::unique_ptr<RegistryStore> store) { RegistryOwner::Instance().Reset(std::move(store)); }

}  // namespace qx
