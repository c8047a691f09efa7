// The picture of an image object: loaded once from its file, sized in screen
// pixels for composition, drawn into a box on any context.
#pragma once

#include <memory>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/platform/gfx/gdi_types.h"

class CDC;
namespace qx::gfx {
class Picture;
}

class QX_API CWImage {
public:
    CWImage();
    ~CWImage();
    CWImage(const CWImage&) = delete;
    CWImage& operator=(const CWImage&) = delete;

    // Loads the picture file; false leaves the image without picture.
    bool Load(const CString& path);
    bool IsLoaded() const;
    const CString& Path() const { return path_; }
    CSize SizeHiMetric() const { return hiMetric_; }
    // The size on the screen: (0.01 mm x pixels per inch + 1270) / 2540.
    CSize SizePixels() const { return pixels_; }
    // Stretches the picture into *box*, or with *keepAspect* fits it with its
    // own proportions, centred. Draws nothing without a picture.
    void Draw(CDC& dc, const CRect& box, bool keepAspect) const;

private:
    CString path_;
    std::unique_ptr<qx::gfx::Picture> picture_;
    CSize hiMetric_;
    CSize pixels_;
};
