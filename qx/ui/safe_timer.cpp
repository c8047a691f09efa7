#include "qx/ui/safe_timer.h"

#include "qx/platform/wnd/window.h"

namespace {

constexpr UINT_PTR kFirstId = 31;
constexpr UINT_PTR kLastId = 99;

}  // namespace

UINT_PTR GetSafeTimerID(HWND window, UINT elapse) {
    if (!IsWindow(window)) return 0;
    for (UINT_PTR id = kFirstId; id <= kLastId; ++id) {
        // SetTimer would accept a running id too and restart that timer.
        if (qx::IsTimerSet(window, id)) continue;
        if (SetTimer(window, id, elapse)) return id;
    }
    return 0;
}
