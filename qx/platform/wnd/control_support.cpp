#include <cwchar>

#include "qx/platform/wnd/internal/controls.h"
#include "qx/platform/wnd/paint.h"
#include "qx/platform/wnd/window.h"

namespace qx::wnd {

void NotifyParent(HWND hwnd, WORD code) {
    Window* w = Find(hwnd);
    if (!w || !IsChildWindow(*w)) return;
    SendMessage(w->parent, WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(w->id), code), reinterpret_cast<LPARAM>(hwnd));
}

LRESULT PaintControl(HWND hwnd, void (*paint)(CDC&, HWND)) {
    PAINTSTRUCT ps;
    if (CDC* dc = BeginPaint(hwnd, &ps)) paint(*dc, hwnd);
    EndPaint(hwnd, &ps);
    return 0;
}

LRESULT CopyToCallerBuffer(const std::wstring& text, LPARAM buffer) {
    auto* out = reinterpret_cast<wchar_t*>(buffer);
    if (!out) return -1;
    std::wmemcpy(out, text.c_str(), text.size() + 1);
    return static_cast<LRESULT>(text.size());
}

}  // namespace qx::wnd
