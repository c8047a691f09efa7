// The pictures of one print job, each file decoded once: a logo on every
// page is read for the first page and shared by the others. The engine drops
// the cache with its page files, so a new job reads the files again.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

class CWImage;

namespace qx {

class QX_API ImageCache {
public:
    ImageCache();
    ~ImageCache();
    ImageCache(const ImageCache&) = delete;
    ImageCache& operator=(const ImageCache&) = delete;

    // The picture of the file at *path* (a resolved path), loaded on the
    // first request; null when the file cannot be read as a picture, which
    // is also remembered for the rest of the job.
    std::shared_ptr<const CWImage> Get(const CString& path);
    // Files loaded or tried since the last reset.
    int Size() const { return static_cast<int>(images_.size()); }
    void Reset();

private:
    std::map<std::wstring, std::shared_ptr<const CWImage>, std::less<>> images_;
};

}  // namespace qx
