#include "qx/print/image_cache.h"

#include "qx/print/wimage.h"

namespace qx {

ImageCache::ImageCache() = default;
ImageCache::~ImageCache() = default;

std::shared_ptr<const CWImage> ImageCache::Get(const CString& path) {
    const auto found = images_.find(path.str());
    if (found != images_.end()) return found->second;
    auto image = std::make_shared<CWImage>();
    std::shared_ptr<const CWImage> loaded;
    if (image->Load(path)) loaded = std::move(image);
    images_.emplace(path.str(), loaded);
    return loaded;
}

void ImageCache::Reset() { images_.clear(); }

}  // namespace qx
