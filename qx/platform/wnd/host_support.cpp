#include "qx/platform/wnd/internal/host_support.h"

#include <algorithm>
#include <string_view>

#include "qx/platform/base/unicode.h"
#include "qx/platform/wnd/dialog_box.h"
#include "qx/platform/wnd/internal/message_pump.h"
#include "qx/platform/wnd/internal/window_object.h"
#include "qx/platform/wnd/ui_host.h"

namespace qx::wnd {

std::wstring WindowTextOf(HWND hwnd) {
    std::wstring text(static_cast<size_t>(std::max(0, GetWindowTextLength(hwnd))) + 1, L'\0');
    text.resize(static_cast<size_t>(std::max(0, GetWindowText(hwnd, text.data(), static_cast<int>(text.size())))));
    return text;
}

std::wstring ClassNameOf(HWND hwnd) {
    Window* w = Find(hwnd);
    return w ? w->className : std::wstring();
}

const char* ControlKind(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w) return "window";
    const std::wstring& name = w->className;
    if (EqualsFolded(name, L"Button")) {
        switch (w->style & BS_TYPEMASK) {
            case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_3STATE: case BS_AUTO3STATE: return "check";
            case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON: return "radio";
            case BS_GROUPBOX: return "group";
            default: return "button";
        }
    }
    if (EqualsFolded(name, L"Edit")) return "edit";
    if (EqualsFolded(name, L"Static")) return "static";
    if (EqualsFolded(name, L"ComboBox")) return "combo";
    if (EqualsFolded(name, L"ListBox")) return "list";
    if (EqualsFolded(name, L"SysListView32")) return "listview";
    if (EqualsFolded(name, L"msctls_progress32")) return "progress";
    return "window";
}

std::wstring DialogMessage(HWND dialog) {
    std::wstring message;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string kind = ControlKind(child);
        Window* w = Find(child);
        const bool shown = kind == "static" || (kind == "edit" && (w->style & ES_READONLY));
        if (!shown || !(w->style & WS_VISIBLE)) continue;
        const bool mnemonics = kind == "static" && !(w->style & SS_NOPREFIX);
        const std::wstring text = mnemonics ? WithoutMnemonics(WindowTextOf(child)) : WindowTextOf(child);
        if (text.empty()) continue;
        if (!message.empty()) message += L'\n';
        message += text;
    }
    return message;
}

std::wstring WithoutMnemonics(const std::wstring& label) {
    std::wstring plain;
    for (size_t i = 0; i < label.size(); ++i) {
        if (label[i] == L'&' && i + 1 < label.size()) ++i;
        else if (label[i] == L'&') continue;
        plain += label[i];
    }
    return plain;
}

std::wstring ListEntry(HWND list, int index) {
    const bool combo = std::string_view(ControlKind(list)) == "combo";
    const LRESULT length = SendMessage(list, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, static_cast<WPARAM>(index));
    if (length < 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessage(list, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return text;
}

std::vector<std::wstring> ListEntries(HWND list) {
    const bool combo = std::string_view(ControlKind(list)) == "combo";
    const LRESULT count = SendMessage(list, combo ? CB_GETCOUNT : LB_GETCOUNT);
    std::vector<std::wstring> entries;
    for (LRESULT i = 0; i < count; ++i) entries.push_back(ListEntry(list, static_cast<int>(i)));
    return entries;
}

void ChooseEntry(HWND list, int index) {
    const bool combo = std::string_view(ControlKind(list)) == "combo";
    SendMessage(list, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index));
    const auto id = static_cast<unsigned>(GetDlgCtrlID(list));
    HWND parent = GetParent(list);
    // A list box tells its parent only with LBS_NOTIFY, as the platform's.
    if (!combo && !(GetWindowLongPtr(list, GWL_STYLE) & LBS_NOTIFY)) return;
    SendMessage(parent, WM_COMMAND, MAKEWPARAM(id, combo ? CBN_SELCHANGE : LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    if (combo) SendMessage(parent, WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK), reinterpret_cast<LPARAM>(list));
}

std::vector<HWND> PushButtons(HWND dialog) {
    std::vector<HWND> buttons;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (std::string(ControlKind(child)) == "button" && IsWindowVisible(child)) buttons.push_back(child);
    }
    return buttons;
}

void SettleModalWindow(HWND dialog) {
    constexpr DWORD kSettle = 50;
    PumpMessages();
    if (!IsModalLoopEnded(dialog)) {
        AdvanceClock(kSettle);
        PumpMessages();
    }
}

void AnswerWithDefault(HWND dialog) {
    PumpMessages();
    for (int attempt = 0; attempt < 2 && !IsModalLoopEnded(dialog); ++attempt) {
        const LRESULT def = SendMessage(dialog, DM_GETDEFID);
        const int id = attempt == 0 && HIWORD(static_cast<std::uintptr_t>(def)) == DC_HASDEFID
                           ? LOWORD(static_cast<std::uintptr_t>(def))
                           : (attempt == 0 ? IDOK : IDCANCEL);
        HWND button = GetDlgItem(dialog, id);
        if (!button || IsWindowEnabled(button)) {
            SendMessage(dialog, WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(id), BN_CLICKED), reinterpret_cast<LPARAM>(button));
        }
        PumpMessages();
    }
    // A dialog that refuses both (a check that keeps failing) must not hold
    // a program without a user forever.
    if (!IsModalLoopEnded(dialog)) EndDialog(dialog, IDCANCEL);
}

}  // namespace qx::wnd
