// A host that records what is shown (a transcript, pictures): a modeless
// window when it appears, a modal one when its loop starts and it has
// settled (50 ms on the layer's clock: a default button chosen by a timer
// is chosen then).
#pragma once

#include "qx/platform/base/export.h"
#include "qx/platform/wnd/ui_host.h"

namespace qx {

class QX_API SnapshotHost : public UiHost {
public:
    void WindowShown(HWND topLevel) override;
    void RunModalLoop(HWND dialog) override;

protected:
    virtual void Snapshot(HWND topLevel) = 0;
    // Answers the modal dialog once it has been recorded.
    virtual void Answer(HWND dialog) = 0;
};

}  // namespace qx
