// The family's progress window: a line of text above a progress bar, shown
// modeless and centred over a window that it disables while it is visible,
// so that a long operation can report progress without the user clicking
// into the busy window. Made from dialog 2000 of the resource modules
// (text: static 1001, bar: 1000). Every setter does nothing until Create.
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/platform/wnd/cdialog.h"

class QX_API CWaitMessage : public CDialog {
public:
    explicit CWaitMessage(CWnd* parent = nullptr);
    ~CWaitMessage() override;

    // Non-zero when the dialog was made; 0 when its resource is missing or
    // it cannot be made.
    BOOL Create(CWnd* parent = nullptr);
    // Disables *window* (the dialog's parent without one), re-enabling a
    // window disabled by an earlier Show first, and shows the dialog centred
    // over its parent.
    void Show(CWnd* window = nullptr);
    // Re-enables the recorded window if it had been enabled, brings it to
    // the foreground and hides the dialog.
    void Hide();
    void SetText(const wchar_t* text);
    void SetRange(int low, int high);
    void SetPosition(int position);
    // Moves the bar to *percent* when it is elsewhere; at exactly 100 it
    // waits 100 ms so that the full bar is seen.
    void SetProzent(int percent);
    BOOL DestroyWindow() override;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;

private:
    void Refresh();
    // Gives the recorded window back its state and forgets it.
    void RestoreDisabled();

    CString m_strText;
    HWND disabled_ = nullptr;
    int disabledWasEnabled_ = -1;  // -1: nothing recorded
};
