// The family's value dialog: asks for one value, typed into an edit or
// chosen from a list, under two labels and an optional check box. Made from
// dialog 2001 of the resource modules (check box 1000, labels 1004 and 1001,
// edit 1002, list 1003) and opened at the mouse position.
#pragma once

#include <cfloat>
#include <vector>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/platform/wnd/cdialog.h"

class QX_API CDlgInput : public CDialog {
public:
    // No number: the value is text.
    static constexpr double kNoNumber = DBL_MAX;

    CDlgInput(const wchar_t* label1, const wchar_t* caption, const wchar_t* label2, const wchar_t* value,
              CWnd* parent = nullptr);

    CString m_strValue;
    // A number to ask for instead of text: shown as "%.f", read back with a
    // comma taken as the decimal point. kNoNumber when the value is text.
    double m_dValue = kNoNumber;
    // Choices: with any, a list replaces the edit and its first entry is
    // preselected.
    std::vector<CString> m_List;
    // The check box's text (none when empty) and its state in and out.
    CString m_strCheck;
    int m_nCheck = 0;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CString label1_;
    CString caption_;
    CString label2_;
};
