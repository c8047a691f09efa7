// The image UI host: every window that is shown is painted in the classic
// look into a PNG file (one per showing, numbered), and modal windows are
// answered with their default button. So a box's layout can be looked at
// without a display. Under QX_UI=image the folder is QX_UI_IMAGES.
#pragma once

#include <string>
#include <vector>

#include "qx/platform/base/export.h"
#include "qx/platform/wnd/snapshot_host.h"

class CImageDC;

namespace qx {

class QX_API ImageHost : public SnapshotHost {
public:
    // *folder* is a library path; it must exist.
    explicit ImageHost(std::wstring folder);
    const char* Name() const override { return "image"; }
    // The files written so far.
    const std::vector<std::wstring>& Images() const { return images_; }

    // Paints *topLevel* with its frame and children into *dc*, the window's
    // top-left corner at the context's origin.
    static void PaintWindowTree(HWND topLevel, CImageDC& dc);

protected:
    void Snapshot(HWND topLevel) override;
    void Answer(HWND dialog) override;

private:
    std::wstring folder_;
    std::vector<std::wstring> images_;
};

}  // namespace qx
