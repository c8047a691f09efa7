// The public face of what the built-in hosts read through internal headers.
#include "qx/platform/wnd/control_view.h"

#include <string_view>

#include "qx/platform/wnd/internal/classic_look.h"
#include "qx/platform/wnd/internal/dialog_state.h"
#include "qx/platform/wnd/internal/host_support.h"

namespace qx {

const char* ControlKind(HWND hwnd) { return wnd::ControlKind(hwnd); }

std::wstring WindowTextOf(HWND hwnd) { return wnd::WindowTextOf(hwnd); }

std::wstring WithoutMnemonics(const std::wstring& label) { return wnd::WithoutMnemonics(label); }

std::vector<std::wstring> ListEntries(HWND hwnd) {
    const std::string_view kind = wnd::ControlKind(hwnd);
    if (kind != "combo" && kind != "list") return {};
    return wnd::ListEntries(hwnd);
}

void ChooseEntry(HWND hwnd, int index) {
    const std::string_view kind = wnd::ControlKind(hwnd);
    if (kind == "combo" || kind == "list") wnd::ChooseEntry(hwnd, index);
}

std::vector<std::pair<std::wstring, int>> ListViewColumns(HWND hwnd) { return wnd::ListViewColumns(hwnd); }

bool IsModalDialog(HWND hwnd) { return wnd::IsModalDialog(hwnd); }

}  // namespace qx
