// The public face of what the built-in hosts read through internal headers.
#include "qx/platform/wnd/control_view.h"

#include <algorithm>
#include <string_view>

#include "qx/platform/wnd/internal/classic_look.h"
#include "qx/platform/wnd/internal/dialog_state.h"
#include "qx/platform/wnd/internal/host_support.h"
#include "qx/platform/wnd/window.h"

namespace qx {

const char* ControlKind(HWND hwnd) { return wnd::ControlKind(hwnd); }

std::wstring WindowTextOf(HWND hwnd) { return wnd::WindowTextOf(hwnd); }

std::wstring WithoutMnemonics(const std::wstring& label) { return wnd::WithoutMnemonics(label); }

std::vector<std::wstring> ListEntries(HWND hwnd) {
    const std::string_view kind = wnd::ControlKind(hwnd);
    const bool combo = kind == "combo";
    if (!combo && kind != "list") return {};
    const UINT lengthMessage = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
    const UINT textMessage = combo ? CB_GETLBTEXT : LB_GETTEXT;
    std::vector<std::wstring> entries;
    const LRESULT count = SendMessage(hwnd, combo ? CB_GETCOUNT : LB_GETCOUNT);
    for (LRESULT i = 0; i < count; ++i) {
        // The text message fills a buffer of the length the length message
        // gave, as the platform's callers size it.
        const LRESULT length = SendMessage(hwnd, lengthMessage, static_cast<WPARAM>(i));
        std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
        const LRESULT copied = SendMessage(hwnd, textMessage, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, std::max<LRESULT>(length, 0))));
        entries.push_back(std::move(text));
    }
    return entries;
}

std::vector<std::pair<std::wstring, int>> ListViewColumns(HWND hwnd) {
    // The list view's own accessor takes the window's control state as its
    // own; any other window's state is of another type.
    if (std::string_view(wnd::ControlKind(hwnd)) != "listview") return {};
    return wnd::ListViewColumns(hwnd);
}

bool IsModalDialog(HWND hwnd) { return wnd::IsModalDialog(hwnd); }

}  // namespace qx
