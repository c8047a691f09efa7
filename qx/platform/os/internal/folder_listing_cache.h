// Folder listings remembered for matching names without regard to case.
// Internal to the os layer.
//
// A listing is kept with the folder's identity and modification time and is
// read again when either changes, so entries that others create or remove are
// seen. A folder changed within the last second when it was read may change
// again within the same tick of the file system's clock without its time
// moving, so such a listing serves the look-up it was read for and is read
// again the next time.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/os/internal/native_entries.h"

namespace qx::detail {

// A folder's identity and the time its entries last changed.
struct FolderStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t modifiedNs = 0;  // since 1970-01-01 UTC
    bool folder = false;          // false: the entry exists but is no folder
    bool operator==(const FolderStamp&) const = default;
};

// The stamp of *nativePath*, following symbolic links; nullopt when it
// cannot be reached.
std::optional<FolderStamp> NativeFolderStamp(const std::string& nativePath);

// The entries of one folder, ordered by their case-folded names.
class FolderListing {
public:
    explicit FolderListing(const std::vector<NativeName>& names);

    struct Match {
        bool exact = false;                  // *name* is an entry as written
        std::optional<std::string> variant;  // else the single entry equal to it ignoring case
        bool plain = false;                  // the entry found is a plain file or folder
    };
    Match Find(std::string_view name) const;
    size_t size() const { return entries_.size(); }

private:
    struct Entry {
        std::wstring folded;
        std::string name;
        bool plain;
    };
    std::vector<Entry> entries_;
};

// What a look-up of a folder found.
struct FolderLookup {
    bool exists = false;                           // the path can be reached
    bool folder = false;                           // and is a folder
    std::shared_ptr<const FolderListing> listing;  // null when it is no folder or cannot be read
};

// The listing of folder *nativePath* ("" is the current folder), from the
// process-wide cache while the folder's stamp is unchanged.
FolderLookup LookUpFolder(const std::string& nativePath);

// The case-folded form of a native name (as FoldCase folds each character of
// its decoded text); two names equal ignoring case have the same form.
std::wstring CaseFoldedNativeName(std::string_view name);

}  // namespace qx::detail
