#include "qx/platform/os/name_probe.h"

#include <algorithm>

#include "qx/platform/os/file_system.h"
#include "qx/platform/os/internal/folder_listing_cache.h"
#include "qx/platform/os/native_path.h"

namespace qx {

NameProbe::NameProbe() = default;
NameProbe::~NameProbe() = default;

bool NameProbe::Exists(std::wstring_view path) {
    const auto native = ToNativePath(path, false);
    if (!native) return false;
    const size_t slash = native->rfind('/');
    const std::string_view name = slash == std::string::npos ? std::string_view(*native)
                                                             : std::string_view(*native).substr(slash + 1);
    const detail::FolderListing* listing = nullptr;
    if (!name.empty() && name != "." && name != "..")
        listing = Listing(slash == std::string::npos ? std::string() : native->substr(0, slash == 0 ? 1 : slash));
    // A folder that cannot be reached as written may be there in another
    // case, which GetFileStatus finds.
    if (!listing) return GetFileStatus(path).has_value();
    const detail::FolderListing::Match match = listing->Find(name);
    if (!match.exact && !match.variant) return false;
    return match.plain || GetFileStatus(path).has_value();
}

const detail::FolderListing* NameProbe::Listing(const std::string& nativeFolder) {
    const auto known = std::find_if(folders_.begin(), folders_.end(),
                                    [&](const Folder& folder) { return folder.path == nativeFolder; });
    if (known != folders_.end()) return known->listing.get();
    detail::FolderLookup lookup = detail::LookUpFolder(nativeFolder);
    folders_.push_back({nativeFolder, std::move(lookup.listing)});
    return folders_.back().listing.get();
}

}  // namespace qx
