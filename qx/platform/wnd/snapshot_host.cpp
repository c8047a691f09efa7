#include "qx/platform/wnd/snapshot_host.h"

#include "qx/platform/wnd/internal/dialog_state.h"
#include "qx/platform/wnd/internal/host_support.h"

namespace qx {

void SnapshotHost::WindowShown(HWND topLevel) {
    if (!wnd::IsModalDialog(topLevel)) Snapshot(topLevel);
}

void SnapshotHost::RunModalLoop(HWND dialog) {
    wnd::SettleModalWindow(dialog);
    if (!IsModalLoopEnded(dialog)) Snapshot(dialog);
    Answer(dialog);
}

}  // namespace qx
