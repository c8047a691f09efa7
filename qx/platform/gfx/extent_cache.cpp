#include "qx/platform/gfx/internal/extent_cache.h"

namespace qx::gfx {

std::optional<double> ExtentCache::Find(int faceId, std::wstring_view text) const {
    auto it = widths_.find(KeyView{faceId, text});
    if (it == widths_.end()) return std::nullopt;
    return it->second;
}

void ExtentCache::Insert(int faceId, std::wstring_view text, double width) {
    if (!Caches(text)) return;
    if (widths_.size() >= kMaxEntries) widths_.clear();
    widths_.emplace(Key{faceId, std::wstring(text)}, width);
}

}  // namespace qx::gfx
