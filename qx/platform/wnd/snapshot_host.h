// A host that records what is shown (a transcript, pictures): a modeless
// window when it appears, a modal one when its loop starts, after the
// messages its setup posted (a default button chosen by a timer) are done.
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
