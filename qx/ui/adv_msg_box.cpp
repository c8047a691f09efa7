#include "qx/ui/adv_msg_box.h"

#include <algorithm>

#include "qx/message/message_table.h"
#include "qx/platform/gfx/gdi_objects.h"
#include "qx/platform/gfx/targets.h"
#include "qx/platform/wnd/dialog_box.h"
#include "qx/platform/wnd/icons.h"
#include "qx/platform/wnd/screen.h"
#include "qx/platform/wnd/system_menu.h"

namespace {

enum : int { kMessageId = 1000, kIconId = 1001, kCheckId = 1002, kInputId = 1003 };
enum : UINT_PTR { kDefaultButtonTimer = 1 };
// Keys let go this soon after the box is ready were held when it appeared.
constexpr DWORD kKeyUpGrace = 300;

// The labels of the box types, as the family keeps them: 8-bit text that
// the message translation converts once and translates.
constexpr char kOk[] = "@Button@OK";
constexpr char kCancel[] = "@Cancel@Abbrechen";
constexpr char kAbort[] = "@Abort@Abbrechen";
constexpr char kRetry[] = "Wiederholen";
constexpr char kIgnore[] = "Ignorieren";
constexpr char kYes[] = "Ja";
constexpr char kNo[] = "Nein";

struct TypeButton {
    const char* label;
    int id;
};

std::vector<TypeButton> ButtonsOfType(unsigned type) {
    switch (type) {
        case MB_OKCANCEL: return {{kOk, IDOK}, {kCancel, IDCANCEL}};
        case MB_ABORTRETRYIGNORE: return {{kAbort, IDABORT}, {kRetry, IDRETRY}, {kIgnore, IDIGNORE}};
        case MB_YESNOCANCEL: return {{kYes, IDYES}, {kNo, IDNO}, {kCancel, IDCANCEL}};
        case MB_YESNO: return {{kYes, IDYES}, {kNo, IDNO}};
        case MB_RETRYCANCEL: return {{kRetry, IDRETRY}, {kCancel, IDCANCEL}};
        default: return {{kOk, IDOK}};
    }
}

// Line ends become CR LF, and the box shows no empty lines at its end.
CString PreparedText(const wchar_t* text) {
    std::wstring prepared;
    const std::wstring raw = text ? text : L"";
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == L'\r' && i + 1 < raw.size() && raw[i + 1] == L'\n') continue;
        if (raw[i] == L'\n') prepared += L'\r';
        prepared += raw[i];
    }
    while (!prepared.empty() && (prepared.back() == L'\r' || prepared.back() == L'\n')) prepared.pop_back();
    return CString(prepared.c_str());
}

std::vector<std::wstring> LinesOf(const CString& text) {
    std::vector<std::wstring> lines;
    std::wstring_view rest(text.GetString(), static_cast<size_t>(text.GetLength()));
    for (;;) {
        const size_t end = rest.find(L"\r\n");
        lines.emplace_back(rest.substr(0, end));
        if (end == std::wstring_view::npos) break;
        rest.remove_prefix(end + 2);
    }
    return lines;
}

const wchar_t* IconName(unsigned icon) {
    switch (icon) {
        case MB_ICONHAND: return IDI_HAND;
        case MB_ICONQUESTION: return IDI_QUESTION;
        case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
        case MB_ICONASTERISK: return IDI_ASTERISK;
        default: return nullptr;
    }
}

CString TextOf(HWND hwnd) {
    CString text;
    if (CWnd* window = CWnd::FromHandle(hwnd)) window->GetWindowText(text);
    return text;
}

bool Inside(HWND hwnd, CPoint point) {
    CRect rect;
    GetWindowRect(hwnd, &rect);
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

}  // namespace

CAdvMsgBox::CAdvMsgBox(const wchar_t* text, const wchar_t* buttons, unsigned flags, const wchar_t* caption,
                       const wchar_t* checkText, int* checkState, CString* input)
    : text_(PreparedText(text)),
      caption_(caption && *caption ? caption : AfxGetAppName()),
      type_(flags & MB_TYPEMASK),
      icon_(flags & MB_ICONMASK),
      defaultIndex_((flags & MB_DEFMASK) >> 8),
      checkText_(checkText ? checkText : L""),
      checkState_(checkState),
      input_(input) {
    if (buttons && *buttons) {
        type_ = kCustomType;
        std::wstring_view rest(buttons);
        for (int id = 100;; ++id) {
            const size_t end = rest.find(L';');
            labels_.emplace_back(qx::TranslateMessage(std::wstring(rest.substr(0, end)).c_str()));
            ids_.push_back(id);
            if (end == std::wstring_view::npos) break;
            rest.remove_prefix(end + 1);
        }
    } else {
        for (const TypeButton& button : ButtonsOfType(type_)) {
            labels_.emplace_back(qx::TranslateMessage(button.label));
            ids_.push_back(button.id);
        }
    }
}

CAdvMsgBox::~CAdvMsgBox() = default;

LRESULT CAdvMsgBox::DoModal() {
    qx::DialogTemplate dialog;
    dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    LOGFONT font{};
    dialog.faceName = qx::DefaultGuiFont().GetLogFont(&font) && font.lfFaceName[0] ? font.lfFaceName : L"MS Shell Dlg";
    InitModalIndirect(dialog);
    return CDialog::DoModal();
}

BOOL CAdvMsgBox::OnInitDialog() {
    CFont* font = &qx::DefaultGuiFont();
    const auto make = [&](DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style, int id) {
        HWND control = CreateWindowEx(exStyle, className, text, WS_CHILD | style, 0, 0, 0, 0, m_hWnd, id);
        if (control) ::SetWindowFont(control, font, FALSE);
        return control;
    };
    HWND iconStatic = nullptr;
    if (const wchar_t* name = IconName(icon_)) {
        iconStatic = make(0, L"Static", L"", SS_ICON, kIconId);
        ::SendMessage(iconStatic, STM_SETICON, reinterpret_cast<WPARAM>(LoadIcon(nullptr, name)));
    }
    messageEdit_ = make(0, L"Edit", L"", ES_MULTILINE | ES_READONLY | WS_TABSTOP, kMessageId);
    for (size_t i = 0; i < labels_.size(); ++i) buttons_.push_back(make(0, L"Button", labels_[i], BS_PUSHBUTTON | WS_TABSTOP, ids_[i]));
    if (!checkText_.IsEmpty()) {
        checkBox_ = make(0, L"Button", checkText_, BS_AUTOCHECKBOX | WS_TABSTOP, kCheckId);
        ::SendMessage(checkBox_, BM_SETCHECK, checkState_ && *checkState_ ? BST_CHECKED : BST_UNCHECKED);
    }
    if (input_) inputEdit_ = make(WS_EX_CLIENTEDGE, L"Edit", L"", ES_AUTOHSCROLL | WS_TABSTOP, kInputId);
    if (!messageEdit_ || std::find(buttons_.begin(), buttons_.end(), nullptr) != buttons_.end()) {
        EndDialog(-1);
        return FALSE;
    }

    qx::AdvMsgBoxContent content;
    content.lines = LinesOf(text_);
    content.icon = iconStatic != nullptr;
    content.checkText = checkText_.GetString();
    content.input = input_ != nullptr;
    for (const CString& label : labels_) content.labels.emplace_back(label.GetString());
    CMemoryDC measuring;
    measuring.SelectObject(font);
    layout_ = qx::LayOutAdvMsgBox(content, measuring, GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYCAPTION));

    SetWindowText(caption_);
    if (!CanCancel()) DeleteMenu(GetSystemMenu(m_hWnd, FALSE), 1, MF_BYPOSITION);
    SetForegroundWindow(m_hWnd);
    SetWindowPos(nullptr, 0, 0, layout_.dialog.cx, layout_.dialog.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Nothing says where the box goes: over its owner, as boxes appear.
    CenterWindow();
    const auto place = [](HWND control, const CRect& rect) {
        if (!control) return;
        ::MoveWindow(control, rect.left, rect.top, rect.Width(), rect.Height(), FALSE);
        ::ShowWindow(control, SW_SHOW);
    };
    place(iconStatic, layout_.icon);
    place(messageEdit_, layout_.text);
    for (size_t i = 0; i < buttons_.size(); ++i) place(buttons_[i], layout_.buttons[i]);
    place(checkBox_, layout_.check);
    place(inputEdit_, layout_.input);
    ::SetWindowText(messageEdit_, text_);
    if (inputEdit_) ::SetWindowText(inputEdit_, *input_);
    SetTimer(kDefaultButtonTimer, 10);
    return FALSE;
}

void CAdvMsgBox::OnTimer(UINT_PTR id) {
    if (id != kDefaultButtonTimer) return CDialog::OnTimer(id);
    KillTimer(kDefaultButtonTimer);
    const size_t index = defaultIndex_ < buttons_.size() ? defaultIndex_ : 0;
    for (HWND button : buttons_) ::SendMessage(button, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    ::SendMessage(buttons_[index], BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    SetDefID(static_cast<UINT>(ids_[index]));
    ::SetFocus(inputEdit_ ? inputEdit_ : buttons_[index]);
    readyAt_ = GetTickCount();
    ready_ = true;
}

bool CAdvMsgBox::CanCancel() const {
    return type_ == MB_OK || type_ == MB_OKCANCEL || type_ == MB_YESNOCANCEL || type_ == MB_RETRYCANCEL;
}

int CAdvMsgBox::ButtonIdOf(HWND hwnd) const {
    auto it = std::find(buttons_.begin(), buttons_.end(), hwnd);
    return it == buttons_.end() || !hwnd ? 0 : ids_[static_cast<size_t>(it - buttons_.begin())];
}

void CAdvMsgBox::StoreInput() {
    if (inputEdit_ && input_) *input_ = TextOf(inputEdit_);
}

void CAdvMsgBox::Press(int id) {
    if (checkBox_ && checkState_) *checkState_ = ::SendMessage(checkBox_, BM_GETCHECK) == BST_CHECKED ? 1 : 0;
    StoreInput();
    EndDialog(type_ == kCustomType ? id - 100 : id);
}

BOOL CAdvMsgBox::PreTranslateMessage(MSG* msg) {
    const bool early = !ready_ || GetTickCount() - readyAt_ < kKeyUpGrace;
    HWND focus = GetFocus() ? GetFocus()->m_hWnd : nullptr;
    const int focusedButton = ButtonIdOf(focus);
    switch (msg->message) {
        case WM_KEYUP:
            if (early) return TRUE;
            if (msg->wParam == VK_SPACE && focusedButton) {
                Press(focusedButton);
                return TRUE;
            }
            [[fallthrough]];
        case WM_KEYDOWN:
            if (msg->wParam == VK_RETURN) {
                if (focus && focus == inputEdit_) {
                    StoreInput();
                    EndDialog(IDOK);
                    return TRUE;
                }
                if (focusedButton) {
                    Press(focusedButton);
                    return TRUE;
                }
            }
            if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
                OnCancel();
                return TRUE;
            }
            return FALSE;
        case WM_LBUTTONDOWN:
            pressedAt_ = msg->pt;
            return FALSE;
        case WM_LBUTTONUP:
            if (focusedButton && Inside(focus, pressedAt_) && Inside(focus, msg->pt)) {
                ReleaseCapture();
                ::SendMessage(focus, BM_SETSTATE, FALSE);
                Press(focusedButton);
                return TRUE;
            }
            return FALSE;
        default: return FALSE;
    }
}

BOOL CAdvMsgBox::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (const int id = ButtonIdOf(reinterpret_cast<HWND>(lParam)); id && HIWORD(wParam) == BN_CLICKED) {
        Press(id);
        return TRUE;
    }
    if (LOWORD(wParam) == IDCANCEL) {
        OnCancel();
        return TRUE;
    }
    return TRUE;  // the box has no other commands; OK is one of its buttons
}

void CAdvMsgBox::OnCancel() {
    if (CanCancel()) EndDialog(IDCANCEL);
}
