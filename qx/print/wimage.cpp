#include "qx/print/wimage.h"

#include <algorithm>

#include "qx/platform/gfx/dc.h"
#include "qx/platform/gfx/picture.h"
#include "qx/platform/gfx/targets.h"

namespace {

int HiMetricToScreen(int hiMetric, int pixelsPerInch) {
    return static_cast<int>((static_cast<long long>(hiMetric) * pixelsPerInch + 1270) / 2540);
}

}  // namespace

CWImage::CWImage() = default;
CWImage::~CWImage() = default;

bool CWImage::Load(const CString& path) {
    path_ = path;
    auto picture = std::make_unique<qx::gfx::Picture>();
    if (!picture->Load(path)) {
        picture_.reset();
        hiMetric_ = pixels_ = CSize();
        return false;
    }
    hiMetric_ = picture->SizeHiMetric();
    CMemoryDC screen;
    pixels_ = CSize(HiMetricToScreen(hiMetric_.cx, screen.GetDeviceCaps(LOGPIXELSX)),
                    HiMetricToScreen(hiMetric_.cy, screen.GetDeviceCaps(LOGPIXELSY)));
    picture_ = std::move(picture);
    return true;
}

bool CWImage::IsLoaded() const { return picture_ != nullptr; }

void CWImage::Draw(CDC& dc, const CRect& box, bool keepAspect) const {
    if (!picture_) return;
    CRect target = box;
    const CSize size = picture_->SizePixels();
    if (keepAspect && size.cx > 0 && size.cy > 0 && box.Width() > 0 && box.Height() > 0) {
        // The tighter side decides the scale; the other side is centred.
        const double scale = std::min(static_cast<double>(box.Width()) / size.cx,
                                      static_cast<double>(box.Height()) / size.cy);
        const int width = static_cast<int>(size.cx * scale);
        const int height = static_cast<int>(size.cy * scale);
        target.left = box.left + (box.Width() - width) / 2;
        target.top = box.top + (box.Height() - height) / 2;
        target.right = target.left + width;
        target.bottom = target.top + height;
    }
    picture_->Draw(dc, target);
}
