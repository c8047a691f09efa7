// Importing and exporting regedit files (registry_file.h) to and from a
// registry store, as regedit does on Windows.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/base/export.h"
#include "qx/platform/os/registry_file.h"
#include "qx/platform/os/registry_store.h"

namespace qx {

struct RegImportResult {
    bool stored = false;      // the store took the changes
    std::size_t applied = 0;  // edits that took effect
    // What was passed over, one entry each: "line 7: text (reason)".
    std::vector<std::wstring> skipped;
};

// Applies a file's keys, values and deletions to *store* in one change.
// Lines that are not understood, sections of roots the store does not keep
// and a missing header are reported in `skipped`; the rest is imported.
QX_API RegImportResult ImportRegFile(RegistryStore& store, std::string_view bytes);

// The key and all its subkeys as a regedit file; nullopt when the key does
// not exist.
QX_API std::optional<std::string> ExportRegKey(RegistryStore& store, RegRoot root, std::wstring_view key,
                                               RegFileEncoding encoding);

}  // namespace qx
