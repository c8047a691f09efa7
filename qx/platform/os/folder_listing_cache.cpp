#include "qx/platform/os/internal/folder_listing_cache.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <unordered_map>

#include "qx/platform/os/internal/native_entries.h"
#include "qx/platform/os/native_path.h"

namespace qx {

namespace detail {

FolderListing::FolderListing(const std::vector<NativeName>& names) {
    entries_.reserve(names.size());
    for (const NativeName& entry : names) entries_.push_back({CaseFoldedNativeName(entry.name), entry.name, entry.plain});
    std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) { return a.folded < b.folded; });
}

FolderListing::Match FolderListing::Find(std::string_view name) const {
    const std::wstring folded = CaseFoldedNativeName(name);
    auto it = std::lower_bound(entries_.begin(), entries_.end(), folded,
                               [](const Entry& entry, const std::wstring& key) { return entry.folded < key; });
    const Entry* exact = nullptr;
    const Entry* first = nullptr;
    size_t variants = 0;
    for (; it != entries_.end() && it->folded == folded; ++it) {
        if (it->name == name) exact = &*it;
        if (++variants == 1) first = &*it;
    }
    Match match;
    if (exact) {
        match.exact = true;
        match.plain = exact->plain;
    } else if (variants == 1) {
        // Only a single variant: of two, choosing one could open the wrong file.
        match.variant = first->name;
        match.plain = first->plain;
    }
    return match;
}

}  // namespace detail

namespace {

using detail::FolderListing;
using detail::FolderStamp;

// Bounds of the cache: a process that looks into many or huge folders reads
// them again rather than holding them all.
constexpr size_t kMaxFolders = 256;
constexpr size_t kMaxEntries = 100'000;
// A folder changed this recently may change again without its time moving.
constexpr std::int64_t kRacyNs = 1'000'000'000;

class FolderListingCache {
public:
    static FolderListingCache& Instance() {
        static FolderListingCache cache;
        return cache;
    }

    detail::FolderLookup LookUp(const std::string& nativePath) {
        const std::string& folder = nativePath.empty() ? kCurrentFolder : nativePath;
        const auto stamp = detail::NativeFolderStamp(folder);
        if (!stamp) return {};
        if (!stamp->folder) return {true, false, nullptr};
        {
            const std::lock_guard lock(mutex_);
            const auto it = folders_.find(folder);
            if (it != folders_.end() && it->second.stamp == *stamp) return {true, true, it->second.listing};
        }
        const auto names = detail::ListNativeFolder(folder);
        if (!names) return {true, true, nullptr};
        auto listing = std::make_shared<const FolderListing>(*names);
        if (!Racy(*stamp)) Keep(folder, *stamp, listing);
        return {true, true, std::move(listing)};
    }

    void Reset() {
        const std::lock_guard lock(mutex_);
        folders_.clear();
        entries_ = 0;
    }

private:
    struct Kept {
        FolderStamp stamp;
        std::shared_ptr<const FolderListing> listing;
    };

    static bool Racy(const FolderStamp& stamp) {
        const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                             std::chrono::system_clock::now().time_since_epoch())
                             .count();
        return stamp.modifiedNs > now - kRacyNs;
    }

    void Keep(const std::string& folder, const FolderStamp& stamp, std::shared_ptr<const FolderListing> listing) {
        if (listing->size() > kMaxEntries) return;
        const std::lock_guard lock(mutex_);
        if (const auto it = folders_.find(folder); it != folders_.end()) {
            entries_ -= it->second.listing->size();
            folders_.erase(it);
        }
        if (folders_.size() >= kMaxFolders || entries_ + listing->size() > kMaxEntries) {
            folders_.clear();
            entries_ = 0;
        }
        entries_ += listing->size();
        folders_.emplace(folder, Kept{stamp, std::move(listing)});
    }

    inline static const std::string kCurrentFolder = ".";
    std::mutex mutex_;
    std::unordered_map<std::string, Kept> folders_;
    size_t entries_ = 0;
};

}  // namespace

detail::FolderLookup detail::LookUpFolder(const std::string& nativePath) {
    return FolderListingCache::Instance().LookUp(nativePath);
}

void ResetFolderListingCache() { FolderListingCache::Instance().Reset(); }

}  // namespace qx
