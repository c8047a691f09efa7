#include "qx/trace/internal/message_details.h"

#include <cstdint>
#include <string>

#include "qx/platform/base/format.h"
#include "qx/platform/wnd/window.h"
#include "qx/trace/internal/message_names.h"

namespace qx {

namespace {

const wchar_t* Flag(unsigned long long value) { return value != 0 ? L"True" : L"False"; }

// A handle or pointer carried in lParam, at its full width so that two
// handles never print alike.
std::wstring Handle(long lParam) { return Format(L"0x%llx", static_cast<unsigned long long>(lParam)); }

// The two coordinates packed into lParam, signed: positions left of or
// above a window (under capture, on a second screen) are negative.
std::wstring Point(long lParam) {
    return Format(L"(%i, %i)", GET_X_LPARAM(static_cast<LPARAM>(lParam)), GET_Y_LPARAM(static_cast<LPARAM>(lParam)));
}

WORD Low(unsigned long long value) { return LOWORD(static_cast<std::uintptr_t>(value)); }
WORD High(unsigned long long value) { return HIWORD(static_cast<std::uintptr_t>(value)); }

const wchar_t* TextAt(long lParam) {
    const auto* text = reinterpret_cast<const wchar_t*>(lParam);
    return text != nullptr ? text : L"";
}

// A name, or the number when there is none.
std::wstring NameOrNumber(const wchar_t* name, long long value) {
    return name != nullptr ? std::wstring(name) : Format(L"%lli", value);
}

std::wstring SizeType(unsigned type) {
    return NameOrNumber(FindCodeName(type, {QX_NAMED(SIZE_RESTORED), QX_NAMED(SIZE_MINIMIZED), QX_NAMED(SIZE_MAXIMIZED),
                                            QX_NAMED(SIZE_MAXSHOW), QX_NAMED(SIZE_MAXHIDE)}),
                        static_cast<int>(type));
}

std::wstring ShowStatus(long status) {
    const wchar_t* name = nullptr;
    if (status >= 0 && status <= 0xFFFF)
        name = FindCodeName(static_cast<unsigned>(status), {QX_NAMED(SW_PARENTCLOSING), QX_NAMED(SW_OTHERZOOM),
                                                            QX_NAMED(SW_PARENTOPENING), QX_NAMED(SW_OTHERUNZOOM)});
    return NameOrNumber(name, status);
}

std::wstring UiStateAction(unsigned action) {
    return NameOrNumber(FindCodeName(action, {QX_NAMED(UIS_SET), QX_NAMED(UIS_CLEAR), QX_NAMED(UIS_INITIALIZE)}), action);
}

// "HitTest: ..., message: ..." from the hit-test code in the low word and
// the mouse message in the high word (WM_SETCURSOR, WM_MOUSEACTIVATE). The
// code is signed: HTERROR and HTTRANSPARENT are negative.
std::wstring HitTestAndMessage(long lParam) {
    return Format(L"HitTest: %s, message: %s", HitTestName(static_cast<std::int16_t>(Low(lParam))).c_str(),
                  MessageName(High(lParam)).c_str());
}

// The text of a WM_GETTEXT buffer: wParam is its size in characters, and the
// buffer holds no terminator until the window has filled it.
std::wstring BufferText(unsigned size, long lParam) {
    const auto* text = reinterpret_cast<const wchar_t*>(lParam);
    if (text == nullptr) return {};
    const wchar_t* end = std::char_traits<wchar_t>::find(text, size, L'\0');
    return std::wstring(text, end != nullptr ? static_cast<std::size_t>(end - text) : size);
}

bool IsComboBox(HWND control) {
    wchar_t className[16] = {};
    GetClassName(control, className, 16);
    const wchar_t* expected = L"combobox";
    int i = 0;
    for (; className[i] != 0 && expected[i] != 0; ++i) {
        wchar_t c = className[i];
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != expected[i]) return false;
    }
    return className[i] == 0 && expected[i] == 0;
}

const wchar_t* ButtonCode(unsigned code) {
    return FindCodeName(code, {QX_NAMED(BN_CLICKED), QX_NAMED(BN_PAINT), QX_NAMED(BN_PUSHED), QX_NAMED(BN_UNPUSHED),
                               QX_NAMED(BN_DISABLE), QX_NAMED(BN_DBLCLK), QX_NAMED(BN_SETFOCUS),
                               QX_NAMED(BN_KILLFOCUS)});
}

const wchar_t* EditCode(unsigned code) {
    return FindCodeName(code, {QX_NAMED(EN_SETFOCUS), QX_NAMED(EN_KILLFOCUS), QX_NAMED(EN_CHANGE),
                               QX_NAMED(EN_UPDATE), QX_NAMED(EN_ERRSPACE), QX_NAMED(EN_MAXTEXT),
                               QX_NAMED(EN_HSCROLL), QX_NAMED(EN_VSCROLL)});
}

const wchar_t* ComboCode(unsigned code) {
    return FindCodeName(code, {QX_NAMED(CBN_ERRSPACE), QX_NAMED(CBN_SELCHANGE), QX_NAMED(CBN_DBLCLK),
                               QX_NAMED(CBN_SETFOCUS), QX_NAMED(CBN_KILLFOCUS), QX_NAMED(CBN_EDITCHANGE),
                               QX_NAMED(CBN_EDITUPDATE), QX_NAMED(CBN_DROPDOWN), QX_NAMED(CBN_CLOSEUP),
                               QX_NAMED(CBN_SELENDOK), QX_NAMED(CBN_SELENDCANCEL)});
}

// A WM_COMMAND notification code means something only for the kind of
// control that sent it: combo boxes are told by their class, buttons and
// edit controls by the dialog code they answer. Menus and accelerators
// (lParam 0) and other controls give the number.
std::wstring CommandCode(unsigned code, long lParam) {
    auto control = reinterpret_cast<HWND>(lParam);
    const wchar_t* name = nullptr;
    if (control != nullptr && IsWindow(control)) {
        if (IsComboBox(control)) {
            name = ComboCode(code);
        } else {
            auto dialogCode = static_cast<UINT>(SendMessage(control, WM_GETDLGCODE));
            if (dialogCode & (DLGC_BUTTON | DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON | DLGC_RADIOBUTTON))
                name = ButtonCode(code);
            else if (dialogCode & DLGC_HASSETSEL)
                name = EditCode(code);
        }
    }
    return NameOrNumber(name, code);
}

std::wstring CharText(unsigned code) {
    if (code < 30 || code > 254) return Format(L"%u", code);
    return Format(L"'%c'", static_cast<wchar_t>(code));
}

int ControlId(long lParam) {
    auto control = reinterpret_cast<HWND>(lParam);
    return control != nullptr && IsWindow(control) ? GetDlgCtrlID(control) : 0;
}

bool IsMouseButtonMessage(unsigned message) {
    return (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) ||
           (message >= WM_XBUTTONDOWN && message <= WM_XBUTTONDBLCLK);
}

bool IsNonClientMouseMessage(unsigned message) {
    return (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK) ||
           (message >= WM_NCXBUTTONDOWN && message <= WM_NCXBUTTONDBLCLK);
}

std::wstring Details(unsigned message, unsigned wParam, long lParam, long result) {
    switch (message) {
        case WM_DESTROY:
        case WM_CANCELMODE:
        case WM_NCDESTROY:
            return L" ";
        case WM_MOVE:
        case WM_NCHITTEST:
            return L"Pos: " + Point(lParam);
        case WM_SIZE:
            return Format(L"Type: %s, Width: %u, Height: %u", SizeType(wParam).c_str(), Low(lParam), High(lParam));
        case WM_ACTIVATE:
            return Format(L"Active: %s, Minimized: %s, HWND Previous: %s", Flag(Low(wParam)), Flag(High(wParam)),
                          Handle(lParam).c_str());
        case WM_SETFOCUS:
            return Format(L"HWND: 0x%x", wParam);
        case WM_CAPTURECHANGED:
            return L"HWND: " + Handle(lParam);
        case WM_ENABLE:
            return Format(L"Flag: %s", Flag(wParam));
        case WM_SETTEXT:
            return Format(L"Text: '%s'", TextAt(lParam));
        case WM_GETTEXT:
            return Format(L"Length: %i, Text: '%s'", static_cast<int>(wParam), BufferText(wParam, lParam).c_str());
        case WM_GETTEXTLENGTH:
            return Format(L"Received: %li", result);
        case WM_PAINT:
            return Format(L"HDC: 0x%x", wParam);
        case WM_SHOWWINDOW:
            return Format(L"Show: %s, Status: %s", Flag(wParam), ShowStatus(lParam).c_str());
        case WM_SETCURSOR:
            return HitTestAndMessage(lParam);
        case WM_MOUSEACTIVATE:
            return Format(L"HWND Parent: 0x%x, ", wParam) + HitTestAndMessage(lParam);
        case WM_WINDOWPOSCHANGING:
        case WM_WINDOWPOSCHANGED: {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
            if (pos == nullptr) return L"Pos: (null)";
            return Format(L"Pos: (x:%i, y:%i, cx:%i, cy:%i)", pos->x, pos->y, pos->cx, pos->cy);
        }
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            return Format(L"idCtrl: %u, Notify code: %s", wParam,
                          header != nullptr ? NotifyCodeName(header->code).c_str() : L"(null)");
        }
        case WM_CONTEXTMENU:
            return Format(L"HWND: 0x%x, Pos: %s", wParam, Point(lParam).c_str());
        case WM_NCPAINT:
            return Format(L"HRGN: 0x%x", wParam);
        case WM_NCACTIVATE:
            return Format(L"Active: %s", Flag(wParam));
        case WM_GETDLGCODE:
            return L"Received: " + DialogCodeFlags(static_cast<unsigned>(result));
        case WM_KEYDOWN:
        case WM_KEYUP:
            return Format(L"Key: %s, Count: %u", VirtualKeyName(wParam).c_str(), Low(lParam));
        case WM_CHAR:
            return Format(L"%s, Count: %u", CharText(wParam).c_str(), Low(lParam));
        case WM_COMMAND:
            return Format(L"Notify code: %s, ID: %u, HWND: %s", CommandCode(High(wParam), lParam).c_str(), Low(wParam),
                          Handle(lParam).c_str());
        case WM_TIMER:
            return Format(L"ID: %u", wParam);
        case WM_CHANGEUISTATE:
        case WM_UPDATEUISTATE:
            return Format(L"Action: %s, Affects: %s", UiStateAction(Low(wParam)).c_str(),
                          UiStateFlags(High(wParam)).c_str());
        case WM_QUERYUISTATE:
            return L"Received: " + UiStateFlags(static_cast<unsigned>(result));
        case WM_MOUSEWHEEL:
            // The wheel delta is signed: negative when the wheel turns
            // towards the user.
            return Format(L"Keys: %s, Delta: %i, Pos: %s", MouseKeyFlags(Low(wParam)).c_str(),
                          static_cast<std::int16_t>(High(wParam)), Point(lParam).c_str());
        case WM_PARENTNOTIFY: {
            // For WM_CREATE and WM_DESTROY lParam is the child window; for
            // the mouse events it is the position.
            unsigned event = Low(wParam);
            return Format(L"Event: %s, Child ID: %u, Value: %s", MessageName(event).c_str(), High(wParam),
                          (event < 3 ? Handle(lParam) : Point(lParam)).c_str());
        }
    }
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        return Format(L"HDC: 0x%x, HWND: %s (ID:%u)", wParam, Handle(lParam).c_str(),
                      static_cast<unsigned>(ControlId(lParam)));
    if (IsMouseButtonMessage(message))
        return Format(L"Keys: %s, Pos: %s", MouseKeyFlags(Low(wParam)).c_str(), Point(lParam).c_str());
    if (IsNonClientMouseMessage(message))
        return Format(L"HitTest: %s, Pos: %s", HitTestName(static_cast<int>(wParam)).c_str(), Point(lParam).c_str());
    return Format(L"0x%x, %s", wParam, Handle(lParam).c_str());
}

}  // namespace

std::wstring DescribeMessage(unsigned message, unsigned wParam, long lParam, long result) {
    return MessageName(message) + L", " + Details(message, wParam, lParam, result);
}

}  // namespace qx
