// The terminal host driven through a pseudo-terminal: a child process shows
// the window, the test reads what it asks and types the answers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "qx/platform/wnd/common_controls.h"
#include "qx/platform/wnd/dialog_box.h"
#include "qx/platform/wnd/message_box.h"
#include "qx/platform/wnd/ui_host.h"
#include "tests/support/pseudo_terminal.h"

namespace {

// *body* under the terminal host, in the child.
std::function<int()> UnderTerminalHost(std::function<int()> body) {
    return [body] {
        qx::SetUiHost(qx::MakeUiHost("terminal"));
        return body();
    };
}

qx::DialogTemplate InputDialog() {
    qx::DialogTemplate dialog;
    dialog.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    dialog.rect = CRect(0, 0, 200, 80);
    dialog.title = L"Wert";
    dialog.items = {
        {WS_VISIBLE, 0, CRect(7, 7, 193, 17), 100, L"Static", L"Vorlauftemperatur:"},
        {WS_VISIBLE | WS_TABSTOP, 0, CRect(7, 20, 193, 34), 101, L"Edit", L"55"},
        {WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, CRect(7, 38, 193, 48), 102, L"Button", L"Merken"},
        {WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, CRect(90, 55, 140, 69), IDOK, L"Button", L"OK"},
        {WS_VISIBLE | WS_TABSTOP, 0, CRect(143, 55, 193, 69), IDCANCEL, L"Button", L"Abbrechen"},
    };
    return dialog;
}

// Exits 10 + the button for the value "57" with the box checked, 1 otherwise.
LRESULT InputProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        wchar_t text[16];
        GetDlgItemText(dialog, 101, text, 16);
        const bool right = std::wstring(text) == L"57" && IsDlgButtonChecked(dialog, 102) == BST_CHECKED;
        EndDialog(dialog, right ? 10 + LOWORD(wParam) : 1);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

TEST(TerminalHostTest, AMessageBoxIsAskedWithNumberedButtons) {
    qx::test::TerminalChild child(UnderTerminalHost([] { return MessageBox(nullptr, L"Datei \u00fcberschreiben?", L"Frage", MB_YESNO); }));
    ASSERT_TRUE(child.Started());
    ASSERT_TRUE(child.WaitFor("Frage\r\nDatei \xC3\xBC" "berschreiben?\r\n[1] Ja  [2] Nein\r\n> ")) << child.Seen();
    child.Type("2\r");
    EXPECT_EQ(child.ExitCode(), IDNO);
}

TEST(TerminalHostTest, EnterTakesTheDefaultButtonAndAWrongAnswerIsAskedAgain) {
    qx::test::TerminalChild child(UnderTerminalHost([] { return MessageBox(nullptr, L"Weiter?", L"Frage", MB_OKCANCEL | MB_DEFBUTTON2); }));
    ASSERT_TRUE(child.WaitFor("[1] OK  [2] Abbrechen\r\n> ")) << child.Seen();
    child.Type("7\r");
    ASSERT_TRUE(child.WaitFor("? 1-2\r\n> ")) << child.Seen();
    child.Type("\r");
    EXPECT_EQ(child.ExitCode(), IDCANCEL);
}

TEST(TerminalHostTest, InputFieldsAreEditedLinesAndCheckBoxesYesOrNo) {
    qx::test::TerminalChild child(UnderTerminalHost([] { return static_cast<int>(DialogBoxIndirectParam(InputDialog(), nullptr, InputProc, 0)); }));
    ASSERT_TRUE(child.WaitFor("Vorlauftemperatur: 55")) << child.Seen();
    child.Type("\x7f" "7\r");  // Backspace takes the 5 the line started with
    ASSERT_TRUE(child.WaitFor("Merken? [y/N] ")) << child.Seen();
    child.Type("ja\r");
    ASSERT_TRUE(child.WaitFor("[1] OK  [2] Abbrechen\r\n> ")) << child.Seen();
    child.Type("\r");
    EXPECT_EQ(child.ExitCode(), 10 + IDOK);
}

TEST(TerminalHostTest, TheEndOfTheInputAnswersWithTheDefault) {
    qx::test::TerminalChild child(UnderTerminalHost([] { return MessageBox(nullptr, L"Weiter?", L"Frage", MB_YESNO | MB_DEFBUTTON2); }));
    ASSERT_TRUE(child.WaitFor("> ")) << child.Seen();
    child.Type("\x04");  // Ctrl-D
    EXPECT_EQ(child.ExitCode(), IDNO);
}

namespace {

// A modeless window with a text and a bar that goes to 50 and 100 percent.
int ShowProgress() {
    qx::DialogTemplate dialog;
    dialog.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
    dialog.rect = CRect(0, 0, 160, 40);
    dialog.title = L"Export";
    dialog.items = {{WS_VISIBLE, 0, CRect(7, 7, 153, 17), 1001, L"Static", L"Kopieren"},
                    {WS_VISIBLE, 0, CRect(7, 20, 153, 30), 1000, L"msctls_progress32", L""}};
    HWND window = CreateDialogIndirectParam(dialog, nullptr, nullptr, 0);
    SendDlgItemMessage(window, 1000, PBM_SETPOS, 50);
    SendDlgItemMessage(window, 1000, PBM_SETPOS, 50);  // unchanged: not drawn again
    SendDlgItemMessage(window, 1000, PBM_SETPOS, 100);
    DestroyWindow(window);
    return 0;
}

}  // namespace

TEST(TerminalHostTest, AProgressBarRedrawsOneLineInPlace) {
    qx::test::TerminalChild child(UnderTerminalHost(ShowProgress));
    ASSERT_TRUE(child.WaitFor("\r\x1b[KKopieren [..............................] 0%")) << child.Seen();
    ASSERT_TRUE(child.WaitFor("\r\x1b[KKopieren [###############...............] 50%\r\x1b[KKopieren [##############################] 100%\r\n"))
        << child.Seen();
    EXPECT_EQ(child.ExitCode(), 0);
}

TEST(TerminalHostTest, ADumbTerminalGetsPlainLines) {
    qx::test::TerminalChild child(UnderTerminalHost([] {
        setenv("TERM", "dumb", 1);
        return ShowProgress();
    }));
    ASSERT_TRUE(child.WaitFor("Kopieren 0%\r\nKopieren 50%\r\nKopieren 100%\r\n")) << child.Seen();
    EXPECT_EQ(child.ExitCode(), 0);
}
