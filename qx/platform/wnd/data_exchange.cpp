#include "qx/platform/wnd/data_exchange.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cwchar>

#include "qx/platform/base/format.h"
#include "qx/platform/base/number_parse.h"
#include "qx/platform/base/unicode.h"
#include "qx/platform/wnd/cwnd.h"
#include "qx/platform/wnd/internal/host_support.h"
#include "qx/platform/wnd/message_box.h"

CUserException::CUserException() = default;
CUserException::~CUserException() = default;

CDataExchange::CDataExchange(CWnd* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

HWND CDataExchange::PrepareCtrl(int id) {
    HWND control = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, id) : nullptr;
    if (control) {
        last_ = control;
        lastIsEdit_ = false;
    }
    return control;
}

HWND CDataExchange::PrepareEditCtrl(int id) {
    HWND control = PrepareCtrl(id);
    if (control) lastIsEdit_ = true;
    return control;
}

void CDataExchange::Fail() {
    if (!m_bSaveAndValidate) throw CUserException();
    if (last_ && ::IsWindow(last_)) {
        ::SetFocus(last_);
        if (lastIsEdit_) ::SendMessage(last_, EM_SETSEL, 0, -1);
    }
    throw CUserException();
}

namespace {

CString TextOf(HWND control) {
    CString text;
    if (CWnd* window = CWnd::FromHandle(control)) window->GetWindowText(text);
    return text;
}

qx::FrameworkTextTranslation g_translation = nullptr;

const wchar_t* Translated(const wchar_t* text) {
    if (!text) return L"";
    return g_translation ? g_translation(text) : text;
}

// Tells the user what the control must hold and fails the exchange.
[[noreturn]] void Refuse(CDataExchange* exchange, const wchar_t* message) {
    qx::ShowMessage(message, AfxGetAppName(), MB_OK | MB_ICONEXCLAMATION);
    exchange->Fail();
}

// The whole text as an integer in [low, high]; leading and trailing blanks
// are allowed, nothing else.
bool ReadInteger(const CString& text, long long low, long long high, long long& value) {
    const wchar_t* begin = text.GetString();
    while (qx::IsSpace(*begin)) ++begin;
    const wchar_t* end = begin;
    value = qx::ParseInteger(begin, &end);
    if (end == begin) return false;
    while (qx::IsSpace(*end)) ++end;
    return *end == L'\0' && value >= low && value <= high;
}

template <typename Integer>
void ExchangeInteger(CDataExchange* exchange, int id, Integer& value, long long low, long long high, const wchar_t* format) {
    HWND control = exchange->PrepareEditCtrl(id);
    if (!control) return;
    if (exchange->m_bSaveAndValidate) {
        long long read = 0;
        if (!ReadInteger(TextOf(control), low, high, read)) qx::RefuseExchange(exchange, qx::kEnterIntegerText);
        value = static_cast<Integer>(read);
    } else {
        CString text;
        text.Format(format, value);
        ::SetWindowText(control, text);
    }
}

}  // namespace

void DDX_Text(CDataExchange* exchange, int id, CString& value) {
    HWND control = exchange->PrepareEditCtrl(id);
    if (!control) return;
    if (exchange->m_bSaveAndValidate) {
        value = TextOf(control);
    } else {
        ::SetWindowText(control, value);
    }
}

void DDX_Text(CDataExchange* exchange, int id, int& value) { ExchangeInteger(exchange, id, value, INT_MIN, INT_MAX, L"%d"); }
void DDX_Text(CDataExchange* exchange, int id, unsigned& value) { ExchangeInteger(exchange, id, value, 0, UINT_MAX, L"%u"); }

void DDX_Text(CDataExchange* exchange, int id, double& value) {
    HWND control = exchange->PrepareEditCtrl(id);
    if (!control) return;
    if (exchange->m_bSaveAndValidate) {
        const CString text = TextOf(control);
        const wchar_t* begin = text.GetString();
        while (qx::IsSpace(*begin)) ++begin;
        const wchar_t* end = begin;
        const double read = qx::ParseDouble(begin, &end);
        while (qx::IsSpace(*end)) ++end;
        if (end == begin || *end != L'\0' || !std::isfinite(read)) qx::RefuseExchange(exchange, qx::kEnterNumberText);
        value = read;
    } else {
        // As many digits as a double holds, so that loading and saving again
        // gives back the same value.
        CString text;
        text.Format(L"%.15g", value);
        ::SetWindowText(control, text);
    }
}

void DDX_Check(CDataExchange* exchange, int id, int& value) {
    HWND control = exchange->PrepareCtrl(id);
    if (!control) return;
    if (exchange->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessage(control, BM_GETCHECK));
    } else {
        ::SendMessage(control, BM_SETCHECK, static_cast<WPARAM>(value < 0 || value > 2 ? 0 : value));
    }
}

void DDX_Radio(CDataExchange* exchange, int id, int& value) {
    // The group's buttons follow the first one until the next WS_GROUP.
    HWND first = exchange->PrepareCtrl(id);
    if (!first) return;
    if (exchange->m_bSaveAndValidate) value = -1;
    int index = 0;
    for (HWND button = first; button; button = ::GetWindow(button, GW_HWNDNEXT), ++index) {
        if (button != first && (::GetWindowLongPtr(button, GWL_STYLE) & WS_GROUP)) break;
        if (!(::SendMessage(button, WM_GETDLGCODE) & DLGC_RADIOBUTTON)) continue;
        if (exchange->m_bSaveAndValidate) {
            if (::SendMessage(button, BM_GETCHECK) == BST_CHECKED) value = index;
        } else {
            ::SendMessage(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED);
        }
    }
}

namespace {

void ExchangeIndex(CDataExchange* exchange, int id, int& index, UINT get, UINT set) {
    HWND control = exchange->PrepareCtrl(id);
    if (!control) return;
    if (exchange->m_bSaveAndValidate) {
        index = static_cast<int>(::SendMessage(control, get));
    } else {
        ::SendMessage(control, set, static_cast<WPARAM>(index));
    }
}

}  // namespace

void DDX_CBIndex(CDataExchange* exchange, int id, int& index) { ExchangeIndex(exchange, id, index, CB_GETCURSEL, CB_SETCURSEL); }
void DDX_LBIndex(CDataExchange* exchange, int id, int& index) { ExchangeIndex(exchange, id, index, LB_GETCURSEL, LB_SETCURSEL); }

void DDX_CBString(CDataExchange* exchange, int id, CString& value) {
    HWND control = exchange->PrepareCtrl(id);
    if (!control) return;
    if (exchange->m_bSaveAndValidate) {
        value = TextOf(control);
        return;
    }
    // The entry that begins with the value is selected; an editable combo
    // box without one shows the value itself.
    if (::SendMessage(control, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.GetString())) < 0) {
        ::SetWindowText(control, value);
    }
}

void DDX_LBString(CDataExchange* exchange, int id, CString& value) {
    HWND control = exchange->PrepareCtrl(id);
    if (!control) return;
    if (exchange->m_bSaveAndValidate) {
        const LRESULT index = ::SendMessage(control, LB_GETCURSEL);
        value.Empty();
        if (index < 0) return;
        value = CString(qx::wnd::ListEntry(control, static_cast<int>(index)).c_str());
    } else {
        ::SendMessage(control, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.GetString()));
    }
}

void DDX_Control(CDataExchange* exchange, int id, CWnd& control) {
    if (control.m_hWnd) return;
    HWND hwnd = exchange->PrepareCtrl(id);
    if (hwnd) control.SubclassWindow(hwnd);
}

void DDV_MaxChars(CDataExchange* exchange, const CString& value, int count) {
    if (exchange->m_bSaveAndValidate) {
        if (value.GetLength() > count) {
            // The count takes the place of the translated text's "%d": a
            // translation is data and never used as a format.
            CString message(Translated(L"Geben Sie nicht mehr als %d Zeichen ein."));
            CString number;
            number.Format(L"%d", count);
            message.Replace(L"%d", number);
            Refuse(exchange, message);
        }
    } else if (HWND edit = exchange->LastPrepared(); edit && count > 0) {
        // The edit prepared last is the one the value belongs to.
        ::SendMessage(edit, EM_LIMITTEXT, static_cast<WPARAM>(count));
    }
}

namespace qx {

void RefuseExchange(CDataExchange* exchange, const wchar_t* text) { Refuse(exchange, Translated(text)); }

FrameworkTextTranslation SetFrameworkTextTranslation(FrameworkTextTranslation translation) {
    const FrameworkTextTranslation previous = g_translation;
    g_translation = translation;
    return previous;
}

}  // namespace qx
