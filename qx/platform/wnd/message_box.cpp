#include "qx/platform/wnd/message_box.h"

#include <cstdio>
#include <string>

#include <algorithm>
#include <vector>

#include "qx/platform/gfx/targets.h"
#include "qx/platform/wnd/cwnd.h"
#include "qx/platform/wnd/dialog_box.h"
#include "qx/platform/wnd/screen.h"

namespace qx {

namespace {

// The buttons of a box of *flags*, left to right; an unknown type counts as
// MB_OK.
std::vector<int> ButtonsOf(unsigned flags) {
    switch (flags & MB_TYPEMASK) {
        case MB_OKCANCEL: return {IDOK, IDCANCEL};
        case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
        case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
        case MB_YESNO: return {IDYES, IDNO};
        case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
        default: return {IDOK};
    }
}

const wchar_t* LabelOf(int id) {
    switch (id) {
        case IDCANCEL: case IDABORT: return L"Abbrechen";
        case IDRETRY: return L"Wiederholen";
        case IDIGNORE: return L"Ignorieren";
        case IDYES: return L"Ja";
        case IDNO: return L"Nein";
        default: return L"OK";
    }
}

// Ends the box with the button pressed; Cancel (Escape, the close box) only
// where the box can be cancelled.
LRESULT BoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtr(box, DWLP_USER, lParam);
        // The default button has the focus, so Enter and Space both take it.
        const LRESULT def = SendMessage(box, DM_GETDEFID);
        SetFocus(GetDlgItem(box, LOWORD(static_cast<std::uintptr_t>(def))));
        return FALSE;
    }
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
    const auto flags = static_cast<unsigned>(GetWindowLongPtr(box, DWLP_USER));
    const std::vector<int> buttons = ButtonsOf(flags);
    int id = LOWORD(wParam);
    if (id == IDCANCEL && std::find(buttons.begin(), buttons.end(), IDCANCEL) == buttons.end()) {
        if (buttons.size() != 1) return TRUE;
        id = IDOK;
    }
    if (std::find(buttons.begin(), buttons.end(), id) != buttons.end()) EndDialog(box, id);
    return TRUE;
}

int PlainBox(const wchar_t* text, const wchar_t* caption, unsigned flags) { return ::MessageBox(nullptr, text, caption, flags); }

MessageBoxFunction& DefaultBox() {
    static MessageBoxFunction box = PlainBox;
    return box;
}

// A box that cannot be shown is answered as its default button would be.
int DefaultHandler(const wchar_t* text, const wchar_t* caption, unsigned flags) {
    const int answer = DefaultBox()(text, caption, flags);
    return answer > 0 ? answer : DefaultMessageButton(flags);
}

// The one owner of the installed handler.
class MessageHandlers {
public:
    static MessageHandlers& Instance() {
        static MessageHandlers handlers;
        return handlers;
    }

    MessageHandler Exchange(MessageHandler handler) { return std::exchange(handler_, std::move(handler)); }

    int Show(const wchar_t* text, const wchar_t* caption, unsigned flags) const {
        return handler_ ? handler_(text, caption, flags) : DefaultHandler(text, caption, flags);
    }

private:
    MessageHandler handler_;
};

}  // namespace

int DefaultMessageButton(unsigned flags) {
    const std::vector<int> buttons = ButtonsOf(flags);
    const unsigned index = (flags & MB_DEFMASK) >> 8;
    return index < buttons.size() ? buttons[index] : buttons[0];
}

int ShowMessage(const wchar_t* text, const wchar_t* caption, unsigned flags) {
    return MessageHandlers::Instance().Show(text ? text : L"", caption ? caption : L"", flags);
}

int ShowAppMessage(const wchar_t* text, unsigned flags) { return ShowMessage(text, AfxGetAppName(), flags); }

MessageBoxFunction SetDefaultMessageBox(MessageBoxFunction box) {
    return std::exchange(DefaultBox(), box ? box : PlainBox);
}

MessageHandler SetMessageHandler(MessageHandler handler) {
    return MessageHandlers::Instance().Exchange(std::move(handler));
}

}  // namespace qx

namespace {

// Pixels of the default GUI font's base units to dialog units.
int ToUnits(int pixels, int base, int units) { return (pixels * units + base - 1) / base; }

}  // namespace

int MessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, unsigned type) {
    const std::wstring message = text ? text : L"";
    const LONG_PTR baseUnits = GetDialogBaseUnits();
    const int baseX = LOWORD(static_cast<std::uintptr_t>(baseUnits)), baseY = HIWORD(static_cast<std::uintptr_t>(baseUnits));
    CMemoryDC dc;
    dc.SelectObject(&qx::DefaultGuiFont());
    CRect measured(0, 0, 600, 0);
    dc.DrawText(CString(message.c_str()), &measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    const std::vector<int> buttons = qx::ButtonsOf(type);
    const unsigned defaultIndex = (type & MB_DEFMASK) >> 8;
    // Dialog units: a margin of 7, buttons 50 by 14 with 4 between them.
    const int textWidth = std::max(ToUnits(measured.Width(), baseX, 4), 1);
    const int textHeight = std::max(ToUnits(measured.Height(), baseY, 8), 8);
    const int rowWidth = static_cast<int>(buttons.size()) * 54 - 4;
    const int width = std::max(textWidth, rowWidth) + 14;
    qx::DialogTemplate box;
    box.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
    box.rect = CRect(0, 0, width, 7 + textHeight + 10 + 14 + 7);
    box.title = caption ? caption : L"";
    box.items.push_back({WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, CRect(7, 7, 7 + textWidth, 7 + textHeight), IDC_STATIC, L"Static", message});
    int left = (width - rowWidth) / 2;
    for (size_t i = 0; i < buttons.size(); ++i, left += 54) {
        const bool isDefault = i == (defaultIndex < buttons.size() ? defaultIndex : 0);
        box.items.push_back({WS_VISIBLE | WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0,
                             CRect(left, box.rect.bottom - 21, left + 50, box.rect.bottom - 7), buttons[i], L"Button",
                             qx::LabelOf(buttons[i])});
    }
    const LRESULT answer = DialogBoxIndirectParam(box, owner, qx::BoxProc, static_cast<LPARAM>(type));
    return answer < 0 ? 0 : static_cast<int>(answer);
}
