// Dialog data exchange: DoDataExchange names, control by control, which
// member a control shows (loading, saveAndValidate false) or fills (saving).
// An exchange that finds bad input tells the user, calls Fail, and the focus
// stays on the failing control; UpdateData then returns false.
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/exceptions.h"
#include "qx/platform/base/export.h"
#include "qx/platform/wnd/window_types.h"

class CWnd;

// Thrown by CDataExchange::Fail and caught by UpdateData; the user has
// already been told.
class QX_API CUserException : public CException {
public:
    CUserException();
    ~CUserException() override;
};

class QX_API CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate);

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

    // The control *id* of the dialog, remembered as the one a failure puts
    // the focus on; null (and nothing remembered) when it is missing.
    HWND PrepareCtrl(int id);
    // The same for an edit control, whose text a failure selects.
    HWND PrepareEditCtrl(int id);
    // Puts the focus on the last prepared control and throws CUserException.
    [[noreturn]] void Fail();
    // The control prepared last (null before the first).
    HWND LastPrepared() const { return last_; }

private:
    HWND last_ = nullptr;
    bool lastIsEdit_ = false;
};

// The exchanges of the framework the family uses. Text: a control's text
// with a string or a number (a number the control does not hold shows a
// message and fails); check boxes; the index and the text of combo and list
// boxes; a control object attached to its control.
QX_API void DDX_Text(CDataExchange* exchange, int id, CString& value);
QX_API void DDX_Text(CDataExchange* exchange, int id, int& value);
QX_API void DDX_Text(CDataExchange* exchange, int id, unsigned& value);
QX_API void DDX_Text(CDataExchange* exchange, int id, double& value);
QX_API void DDX_Check(CDataExchange* exchange, int id, int& value);
QX_API void DDX_Radio(CDataExchange* exchange, int id, int& value);
QX_API void DDX_CBIndex(CDataExchange* exchange, int id, int& index);
QX_API void DDX_CBString(CDataExchange* exchange, int id, CString& value);
QX_API void DDX_LBIndex(CDataExchange* exchange, int id, int& index);
QX_API void DDX_LBString(CDataExchange* exchange, int id, CString& value);
QX_API void DDX_Control(CDataExchange* exchange, int id, CWnd& control);
// Refuses a text longer than *count* characters (when saving) and limits the
// edit to it (when loading).
QX_API void DDV_MaxChars(CDataExchange* exchange, const CString& value, int count);

namespace qx {

// The framework's texts for input that is no integer or no number. They are
// German, as the family writes its texts, and the keys under which the
// message translation finds them.
inline constexpr const wchar_t* kEnterIntegerText = L"Geben Sie eine ganze Zahl ein.";
inline constexpr const wchar_t* kEnterNumberText = L"Geben Sie eine Zahl ein.";

// Tells the user what the control must hold (*text*, translated as the
// framework's texts are) in an exclamation box captioned with the
// application's name, then fails the exchange. The exchanges of this layer
// refuse input so, and so do the family's own.
[[noreturn]] QX_API void RefuseExchange(CDataExchange* exchange, const wchar_t* text);

// The translation the framework's texts pass through before they are shown
// (nullptr: shown as they are). The message layer installs its translation
// when the library is loaded. Returns the one installed before.
using FrameworkTextTranslation = const wchar_t* (*)(const wchar_t* text);
QX_API FrameworkTextTranslation SetFrameworkTextTranslation(FrameworkTextTranslation translation);

}  // namespace qx
