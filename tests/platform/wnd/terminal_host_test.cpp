// The terminal host driven through a pseudo-terminal: a child process shows
// the window, the test reads what it asks and types the answers.
#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>

#include "qx/platform/wnd/common_controls.h"
#include "qx/platform/wnd/dialog_box.h"
#include "qx/platform/wnd/message_box.h"
#include "qx/platform/wnd/ui_host.h"

namespace {

// A child on a pseudo-terminal that runs *body* under the terminal host and
// exits with what it returns.
class TerminalChild {
public:
    explicit TerminalChild(const std::function<int()>& body) {
        pid_ = forkpty(&master_, nullptr, nullptr, nullptr);
        if (pid_ == 0) {
            setenv("TERM", "xterm", 1);
            qx::SetUiHost(qx::MakeUiHost("terminal"));
            _exit(body());
        }
    }
    ~TerminalChild() {
        if (pid_ > 0 && !status_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (master_ >= 0) close(master_);
    }

    bool Started() const { return pid_ > 0; }

    // True once the terminal has shown *text* (within ten seconds).
    bool WaitFor(const std::string& text) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (seen_.find(text, consumed_) == std::string::npos) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            pollfd fd{master_, POLLIN, 0};
            if (poll(&fd, 1, 50) <= 0) continue;
            char buffer[512];
            const ssize_t n = read(master_, buffer, sizeof buffer);
            if (n <= 0) return false;
            seen_.append(buffer, static_cast<size_t>(n));
        }
        consumed_ = seen_.find(text, consumed_) + text.size();
        return true;
    }
    void Type(const std::string& keys) { ASSERT_EQ(write(master_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size())); }
    // The child's exit code, -1 when it did not exit within ten seconds.
    int ExitCode() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                status_ = status;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            // What it still writes is read so that it never blocks on a full
            // terminal; a closed one is waited on.
            char buffer[512];
            pollfd fd{master_, POLLIN, 0};
            if (poll(&fd, 1, 10) > 0 && read(master_, buffer, sizeof buffer) > 0) continue;
            usleep(5000);
        }
        return -1;
    }
    const std::string& Seen() const { return seen_; }

private:
    pid_t pid_ = -1;
    int master_ = -1;
    std::string seen_;
    size_t consumed_ = 0;
    std::optional<int> status_;
};

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
    TerminalChild child([] { return MessageBox(nullptr, L"Datei \u00fcberschreiben?", L"Frage", MB_YESNO); });
    ASSERT_TRUE(child.Started());
    ASSERT_TRUE(child.WaitFor("Frage\r\nDatei \xC3\xBC" "berschreiben?\r\n[1] Ja  [2] Nein\r\n> ")) << child.Seen();
    child.Type("2\r");
    EXPECT_EQ(child.ExitCode(), IDNO);
}

TEST(TerminalHostTest, EnterTakesTheDefaultButtonAndAWrongAnswerIsAskedAgain) {
    TerminalChild child([] { return MessageBox(nullptr, L"Weiter?", L"Frage", MB_OKCANCEL | MB_DEFBUTTON2); });
    ASSERT_TRUE(child.WaitFor("[1] OK  [2] Abbrechen\r\n> ")) << child.Seen();
    child.Type("7\r");
    ASSERT_TRUE(child.WaitFor("? 1-2\r\n> ")) << child.Seen();
    child.Type("\r");
    EXPECT_EQ(child.ExitCode(), IDCANCEL);
}

TEST(TerminalHostTest, InputFieldsAreEditedLinesAndCheckBoxesYesOrNo) {
    TerminalChild child([] { return static_cast<int>(DialogBoxIndirectParam(InputDialog(), nullptr, InputProc, 0)); });
    ASSERT_TRUE(child.WaitFor("Vorlauftemperatur: 55")) << child.Seen();
    child.Type("\x7f" "7\r");  // Backspace takes the 5 the line started with
    ASSERT_TRUE(child.WaitFor("Merken? [y/N] ")) << child.Seen();
    child.Type("ja\r");
    ASSERT_TRUE(child.WaitFor("[1] OK  [2] Abbrechen\r\n> ")) << child.Seen();
    child.Type("\r");
    EXPECT_EQ(child.ExitCode(), 10 + IDOK);
}

TEST(TerminalHostTest, TheEndOfTheInputAnswersWithTheDefault) {
    TerminalChild child([] { return MessageBox(nullptr, L"Weiter?", L"Frage", MB_YESNO | MB_DEFBUTTON2); });
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
    TerminalChild child(ShowProgress);
    ASSERT_TRUE(child.WaitFor("\r\x1b[KKopieren [..............................] 0%")) << child.Seen();
    ASSERT_TRUE(child.WaitFor("\r\x1b[KKopieren [###############...............] 50%\r\x1b[KKopieren [##############################] 100%\r\n"))
        << child.Seen();
    EXPECT_EQ(child.ExitCode(), 0);
}

TEST(TerminalHostTest, ADumbTerminalGetsPlainLines) {
    TerminalChild child([] {
        setenv("TERM", "dumb", 1);
        return ShowProgress();
    });
    ASSERT_TRUE(child.WaitFor("Kopieren 0%\r\nKopieren 50%\r\nKopieren 100%\r\n")) << child.Seen();
    EXPECT_EQ(child.ExitCode(), 0);
}
