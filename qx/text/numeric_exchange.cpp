#include "qx/text/numeric_exchange.h"

#include <cmath>
#include <limits>
#include <optional>

#include "qx/platform/base/number_parse.h"
#include "qx/platform/base/unicode.h"
#include "qx/platform/wnd/cwnd.h"
#include "qx/platform/wnd/window.h"
#include "qx/text/formula_evaluator.h"

namespace {

CString TextOf(HWND control) {
    CString text;
    CWnd::FromHandle(control)->GetWindowText(text);
    return text;
}

// Puts *text* into the edit, keeping the caret and the selection where they
// were (the text keeps its length).
void ReplaceKeepingSelection(HWND edit, const CString& text) {
    DWORD start = 0, end = 0;
    SendMessage(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    SetWindowText(edit, text);
    SendMessage(edit, EM_SETSEL, start, static_cast<LPARAM>(end));
}

enum class Result { WholeNumber, Real };

// Whether the formula may be taken: empty, or it evaluates. One that
// evaluates is replaced by its result when the formula asks for that.
bool Evaluates(CNumString& value, Result kind) {
    if (value.IsEmpty()) return true;
    double result = 0.0;
    if (!qx::EvaluateFormula(value, result)) return false;
    if (value.replaceByResult) {
        if (kind == Result::WholeNumber) {
            CString text;
            text.Format(L"%.0f", result);
            static_cast<CString&>(value) = text;
        } else {
            value = result;  // in the formula's format
        }
    }
    return true;
}

void ExchangeFormula(CDataExchange* exchange, HWND control, CNumString& value, Result kind) {
    if (exchange->m_bSaveAndValidate) {
        CString text = TextOf(control);
        text.TrimLeft();
        static_cast<CString&>(value) = text;
        if (!Evaluates(value, kind)) exchange->Fail();
    }
    SetWindowText(control, value);
}

void ExchangeComboFormula(CDataExchange* exchange, int id, CNumString& value, Result kind) {
    HWND combo = exchange->PrepareCtrl(id);
    if (!combo) return;
    if (!exchange->m_bSaveAndValidate) {
        // An empty formula selects nothing: the first entry would stand for
        // a value the variable does not hold, and saving would take it.
        if (value.IsEmpty()) {
            SendMessage(combo, CB_SETCURSEL, static_cast<WPARAM>(-1));
        } else {
            SendMessage(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.GetString()));
        }
    }
    ExchangeFormula(exchange, combo, value, kind);
}

bool IsSpaceOrTab(wchar_t ch) { return ch == L' ' || ch == L'\t'; }

// The whole text as one finite number with spaces and tabs around it.
std::optional<double> ReadPlainNumber(const CString& text) {
    const wchar_t* begin = text.GetString();
    while (IsSpaceOrTab(*begin)) ++begin;
    // Other white space (a line feed) is no part of a plain number.
    if (qx::IsSpace(*begin)) return std::nullopt;
    const wchar_t* end = begin;
    const double number = qx::ParseDouble(begin, &end);
    if (end == begin) return std::nullopt;
    while (IsSpaceOrTab(*end)) ++end;
    if (*end != L'\0' || !std::isfinite(number)) return std::nullopt;
    return number;
}

// Saving of DDX_BFText: the number in the edit, the first comma read as the
// decimal point; nullopt when the edit holds no number.
std::optional<double> SaveDecimalComma(HWND edit) {
    CString text = TextOf(edit);
    if (const int comma = text.Find(L','); comma >= 0) {
        text.SetAt(comma, L'.');
        ReplaceKeepingSelection(edit, text);
    }
    return ReadPlainNumber(text);
}

void LoadSixDigits(HWND edit, double value) {
    CString text;
    text.Format(L"%.*g", 6, value);
    SetWindowText(edit, text);
}

template <typename Real>
void ExchangePlainNumber(CDataExchange* exchange, int id, Real& value) {
    HWND edit = exchange->PrepareEditCtrl(id);
    if (!edit) return;
    if (!exchange->m_bSaveAndValidate) {
        LoadSixDigits(edit, value);
        return;
    }
    const std::optional<double> number = SaveDecimalComma(edit);
    // A float cannot hold a number beyond its range (the conversion would
    // be undefined).
    if (!number || std::fabs(*number) > std::numeric_limits<Real>::max()) qx::RefuseExchange(exchange, qx::kEnterNumberText);
    value = static_cast<Real>(*number);
}

}  // namespace

void DDX_NumiString(CDataExchange* exchange, int id, CNumString& value) {
    HWND edit = exchange->PrepareEditCtrl(id);
    if (edit) ExchangeFormula(exchange, edit, value, Result::WholeNumber);
}

void DDX_CBNumiString(CDataExchange* exchange, int id, CNumString& value) {
    ExchangeComboFormula(exchange, id, value, Result::WholeNumber);
}

void DDX_CBNumfString(CDataExchange* exchange, int id, CNumString& value) {
    ExchangeComboFormula(exchange, id, value, Result::Real);
}

void DDX_BFText(CDataExchange* exchange, int id, double& value) { ExchangePlainNumber(exchange, id, value); }
void DDX_BFText(CDataExchange* exchange, int id, float& value) { ExchangePlainNumber(exchange, id, value); }

void DDX_TextEx(CDataExchange* exchange, int id, double& value) {
    HWND edit = exchange->PrepareEditCtrl(id);
    if (!edit) return;
    if (exchange->m_bSaveAndValidate) {
        CString text = TextOf(edit);
        if (text.Replace(L',', L'.') > 0) ReplaceKeepingSelection(edit, text);
        if (text.IsEmpty()) {
            value = 0.0;
            return;
        }
    }
    DDX_Text(exchange, id, value);
}
