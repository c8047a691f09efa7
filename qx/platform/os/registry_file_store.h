// The registry kept in regedit-format files (registry_file.h), shared by
// every process of the user:
//
//   system.reg   HKEY_LOCAL_MACHINE, and HKEY_CLASSES_ROOT as
//                HKEY_LOCAL_MACHINE\Software\Classes (as Windows keeps it)
//   user.reg     HKEY_CURRENT_USER
//
// HKEY_CLASSES_ROOT is the merged view Windows gives: a read looks in
// HKEY_CURRENT_USER\Software\Classes first, then in the machine's classes;
// a write goes to the user's classes when the key exists there, else to the
// machine's.
//
// Every call first compares the file's inode, size and times with those it
// last read (one stat) and reads it again when another process changed it.
// A change takes a lock on "<file>.lock" beside the file, reads the file
// again if needed, applies the change and replaces the file atomically, so
// that two processes writing at once lose neither change. Lines of a file
// that are not understood, and sections of other roots, are written back
// as they stood.
#pragma once

#include <memory>
#include <string>

#include "qx/platform/base/export.h"
#include "qx/platform/os/registry_store.h"

namespace qx {

struct RegistryFiles {
    std::wstring system;  // library paths; "" when there is none
    std::wstring user;
};

// $QX_REGISTRY_DIR/system.reg and $QX_REGISTRY_DIR/user.reg; without the
// variable /etc/qxbase/system.reg and $XDG_CONFIG_HOME/qxbase/user.reg
// (~/.config/qxbase/user.reg).
QX_API RegistryFiles DefaultRegistryFiles();

class QX_API FileRegistryStore final : public RegistryStore {
public:
    // Follows DefaultRegistryFiles() at every call, so a changed
    // QX_REGISTRY_DIR takes effect at once.
    FileRegistryStore();
    // Keeps to the given files.
    explicit FileRegistryStore(RegistryFiles files);
    ~FileRegistryStore() override;

    bool KeyExists(RegRoot root, std::wstring_view key) override;
    std::optional<RegValue> GetValue(RegRoot root, std::wstring_view key, std::wstring_view name) override;
    std::optional<std::vector<std::wstring>> ValueNames(RegRoot root, std::wstring_view key) override;
    std::optional<std::vector<std::wstring>> SubkeyNames(RegRoot root, std::wstring_view key) override;
    std::optional<std::size_t> Apply(std::span<const RegEdit> edits) override;

private:
    struct State;
    State& Current();

    std::unique_ptr<State> state_;
};

}  // namespace qx
