// The dialog behind advMessageBox and advInputBox. Made, run once with
// DoModal and dropped; callers normally use the functions.
#pragma once

#include <vector>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/platform/wnd/cdialog.h"
#include "qx/ui/adv_msg_box_layout.h"

class QX_API CAdvMsgBox : public CDialog {
public:
    // The box's own type for buttons given as free text.
    static constexpr unsigned kCustomType = 100;

    CAdvMsgBox(const wchar_t* text, const wchar_t* buttons, unsigned flags, const wchar_t* caption,
               const wchar_t* checkText, int* checkState, CString* input);
    ~CAdvMsgBox() override;

    // -1 when the box cannot be made.
    LRESULT DoModal() override;

    // What the box shows, after the constructor prepared it.
    const CString& Message() const { return text_; }
    const CString& Caption() const { return caption_; }
    unsigned Type() const { return type_; }
    const std::vector<CString>& Labels() const { return labels_; }
    const std::vector<int>& ButtonIds() const { return ids_; }
    const qx::AdvMsgBoxLayout& Layout() const { return layout_; }

protected:
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT_PTR id) override;
    void OnCancel() override;

private:
    // Whether Escape and the close box end the box (types 0, 1, 3 and 5).
    bool CanCancel() const;
    // Ends the box for the button *id* (a custom button with its index).
    void Press(int id);
    void StoreInput();
    int ButtonIdOf(HWND hwnd) const;

    CString text_;
    CString caption_;
    unsigned type_ = 0;
    unsigned icon_ = 0;
    unsigned defaultIndex_ = 0;
    std::vector<CString> labels_;
    std::vector<int> ids_;
    CString checkText_;
    int* checkState_ = nullptr;
    CString* input_ = nullptr;
    qx::AdvMsgBoxLayout layout_;
    std::vector<HWND> buttons_;
    HWND messageEdit_ = nullptr;
    HWND checkBox_ = nullptr;
    HWND inputEdit_ = nullptr;
    DWORD readyAt_ = 0;
    bool ready_ = false;
    CPoint pressedAt_;
};
