#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "qx/message/message_table.h"
#include "qx/platform/gfx/gdi_objects.h"
#include "qx/platform/gfx/targets.h"
#include "qx/platform/os/process_info.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/wnd/cwnd.h"
#include "qx/platform/wnd/dialog_box.h"
#include "qx/platform/wnd/message_box.h"
#include "qx/platform/wnd/screen.h"
#include "qx/platform/wnd/script_host.h"
#include "qx/platform/wnd/system_menu.h"
#include "qx/ui/adv_message_box.h"
#include "qx/ui/adv_msg_box.h"

namespace {

// A host that hands the modal box to the test, which plays the user.
class DrivingHost : public qx::UiHost {
public:
    explicit DrivingHost(std::function<void(HWND)> drive) : drive_(std::move(drive)) {}
    const char* Name() const override { return "test"; }
    void RunModalLoop(HWND dialog) override {
        qx::PumpMessages();
        drive_(dialog);
        if (!qx::IsModalLoopEnded(dialog)) EndDialog(dialog, -2);  // the test did not answer
    }

private:
    std::function<void(HWND)> drive_;
};

class AdvMessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        qx::SetClockForTesting([this] { return now_; });
        auto host = std::make_unique<qx::ScriptHost>();
        script_ = host.get();
        previous_ = qx::SetUiHost(std::move(host));
    }
    void TearDown() override {
        qx::SetUiHost(std::move(previous_));
        qx::SetClockForTesting(nullptr);
        qx::ClearMessageTable();
    }
    void Drive(std::function<void(HWND)> drive) { qx::SetUiHost(std::make_unique<DrivingHost>(std::move(drive))); }
    // Moves the clock on and lets due timers fire.
    void Advance(std::int64_t milliseconds) {
        now_ += milliseconds;
        qx::PumpMessages();
    }

    std::int64_t now_ = 5'000'000;
    qx::ScriptHost* script_ = nullptr;

private:
    std::unique_ptr<qx::UiHost> previous_;
};

CSize Extent(const std::wstring& text) {
    CMemoryDC dc;
    dc.SelectObject(&qx::DefaultGuiFont());
    return dc.GetTextExtent(CString(text.c_str()));
}

HWND Button(HWND box, const wchar_t* label) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t text[64];
        GetWindowText(child, text, 64);
        wchar_t name[32];
        GetClassName(child, name, 32);
        if (std::wstring(name) == L"Button" && std::wstring(text) == label) return child;
    }
    return nullptr;
}

}  // namespace

TEST(AdvMsgBoxLayoutTest, PartsAreMeasuredAndPlacedByTheirRules) {
    CMemoryDC dc;
    dc.SelectObject(&qx::DefaultGuiFont());
    const CSize line = Extent(L"Datei speichern?");
    const CSize space = Extent(L" ");
    const CSize check = Extent(L"Nicht mehr fragen");

    qx::AdvMsgBoxContent plain;
    plain.lines = {L"Datei speichern?"};
    plain.labels = {L"OK"};
    const qx::AdvMsgBoxLayout a = qx::LayOutAdvMsgBox(plain, dc, 1920, 23);
    EXPECT_EQ(a.icon, CRect(15, 14, 15, 14));
    EXPECT_EQ(a.text, CRect(15, 14, 15 + line.cx + 6, 14 + line.cy + 4 + 14));
    ASSERT_EQ(a.buttons.size(), 1u);
    const int rowLeft = a.text.right + 15 > 74 ? (a.text.right + 15 - 74) / 2 : 15;
    EXPECT_EQ(a.buttons[0], CRect(rowLeft, a.text.bottom + 17, rowLeft + 74, a.text.bottom + 40));
    EXPECT_EQ(a.dialog, CSize(std::max(a.text.right, a.buttons[0].right) + 15, 23 + a.buttons[0].bottom + 17));

    // With an icon the text moves right of it; an empty line counts as a
    // space; the check box goes below the lower of text and icon.
    qx::AdvMsgBoxContent full = plain;
    full.lines = {L"Datei speichern?", L""};
    full.icon = true;
    full.checkText = L"Nicht mehr fragen";
    full.labels = {L"Ja", L"Nein", L"Abbrechen"};
    const qx::AdvMsgBoxLayout b = qx::LayOutAdvMsgBox(full, dc, 1920, 23);
    EXPECT_EQ(b.icon, CRect(12, 11, 44, 43));
    EXPECT_EQ(b.text, CRect(62, 14, 62 + line.cx + 6, 14 + line.cy + 4 + space.cy + 4 + 14));
    const int checkTop = std::max(b.text.bottom, 43) + 11;
    EXPECT_EQ(b.check, CRect(62, checkTop, 62 + std::max(check.cx + 20, b.text.Width()), checkTop + 13));
    ASSERT_EQ(b.buttons.size(), 3u);
    EXPECT_EQ(b.buttons[0].top, b.check.bottom + 17);
    EXPECT_EQ(b.buttons[1].left, b.buttons[0].right + 6);
    EXPECT_EQ(b.buttons[2].Width(), std::max(Extent(L"Abbrechen").cx + 10, 74));

    // An input field is at least 300 wide; the buttons go below it.
    qx::AdvMsgBoxContent input = plain;
    input.input = true;
    const qx::AdvMsgBoxLayout c = qx::LayOutAdvMsgBox(input, dc, 1920, 23);
    EXPECT_EQ(c.input, CRect(15, c.text.bottom + 11, 315, c.text.bottom + 31));
    EXPECT_EQ(c.buttons[0].top, c.input.bottom + 17);
    EXPECT_EQ(c.dialog.cx, 315 + 15);  // the box holds the whole field

    // A row wider than the text starts at 15, and the box is as wide as it.
    qx::AdvMsgBoxContent shortText = plain;
    shortText.lines = {L"?"};
    shortText.labels = {L"Wiederholen", L"Abbrechen", L"Ignorieren"};
    const qx::AdvMsgBoxLayout e = qx::LayOutAdvMsgBox(shortText, dc, 1920, 23);
    EXPECT_EQ(e.buttons[0].left, 15);
    EXPECT_EQ(e.dialog.cx, e.buttons[2].right + 15);

    // A row wider than the screen is measured again without the minimum.
    qx::AdvMsgBoxContent wide = plain;
    wide.labels = {L"A", L"B", L"C"};
    const qx::AdvMsgBoxLayout d = qx::LayOutAdvMsgBox(wide, dc, 200, 23);
    EXPECT_EQ(d.buttons[0].Width(), Extent(L"A").cx + 10);
}

TEST_F(AdvMessageBoxTest, TheTypesOfferTheirButtonsAndReturnTheirIds) {
    struct Case {
        unsigned flags;
        const char* press;
        int result;
        std::vector<std::wstring> labels;
    };
    const Case cases[] = {
        {MB_OK, "OK", IDOK, {L"OK"}},
        {MB_OKCANCEL, "Abbrechen", IDCANCEL, {L"OK", L"Abbrechen"}},
        {MB_ABORTRETRYIGNORE, "Ignorieren", IDIGNORE, {L"Abbrechen", L"Wiederholen", L"Ignorieren"}},
        {MB_YESNOCANCEL, "Nein", IDNO, {L"Ja", L"Nein", L"Abbrechen"}},
        {MB_YESNO, "Ja", IDYES, {L"Ja", L"Nein"}},
        {MB_RETRYCANCEL, "Wiederholen", IDRETRY, {L"Wiederholen", L"Abbrechen"}},
        {9, "OK", IDOK, {L"OK"}},  // an unknown type is OK alone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.press);
        CAdvMsgBox box(L"Frage", nullptr, c.flags, L"Titel", nullptr, nullptr, nullptr);
        std::vector<std::wstring> labels;
        for (const CString& label : box.Labels()) labels.emplace_back(label.GetString());
        EXPECT_EQ(labels, c.labels);
        ASSERT_TRUE(script_->Load(std::string("press ") + c.press + "\n"));
        EXPECT_EQ(box.DoModal(), c.result);
    }
}

TEST_F(AdvMessageBoxTest, FreeTextButtonsReturnTheirIndex) {
    ASSERT_TRUE(script_->Load("press Später\n"));
    EXPECT_EQ(advMessageBox(L"Jetzt?", L"Sofort;Später;Nie", MB_YESNO, L"Titel"), 1);
    // ";;" is three buttons without labels, 100 to 102.
    CAdvMsgBox empty(L"?", L";;", 0, L"", nullptr, nullptr, nullptr);
    EXPECT_EQ(empty.Type(), CAdvMsgBox::kCustomType);
    EXPECT_EQ(empty.ButtonIds(), (std::vector<int>{100, 101, 102}));
    ASSERT_TRUE(script_->Load("press 102\n"));
    EXPECT_EQ(empty.DoModal(), 2);
    // An empty string is no free-text buttons at all.
    CAdvMsgBox none(L"?", L"", MB_YESNO, L"", nullptr, nullptr, nullptr);
    EXPECT_EQ(none.Type(), static_cast<unsigned>(MB_YESNO));
}

TEST_F(AdvMessageBoxTest, TheMessageLosesItsTrailingLineEndsAndTheCaptionDefaultsToTheApplication) {
    CAdvMsgBox box(L"erste\n\nzweite\r\n\n\r\n", nullptr, 0, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(box.Message(), CString(L"erste\r\n\r\nzweite"));
    EXPECT_EQ(box.Caption(), CString(AfxGetAppName()));
}

TEST_F(AdvMessageBoxTest, LabelsAreTranslated) {
    qx::ReplaceMessageTable({{L"@Button@OK", L"Okay"}, {L"@Cancel@Abbrechen", L"Cancel"}});
    CAdvMsgBox box(L"?", nullptr, MB_OKCANCEL, L"", nullptr, nullptr, nullptr);
    ASSERT_EQ(box.Labels().size(), 2u);
    EXPECT_EQ(box.Labels()[0], CString(L"Okay"));
    EXPECT_EQ(box.Labels()[1], CString(L"Cancel"));
}

TEST_F(AdvMessageBoxTest, TheControlsStandWhereTheLayoutPutsThem) {
    int checked = 1;
    CAdvMsgBox* seen = nullptr;
    CAdvMsgBox box(L"Überschreiben?", nullptr, MB_YESNO | MB_ICONQUESTION, L"Frage", L"Nicht mehr fragen", &checked, nullptr);
    seen = &box;
    Drive([&](HWND dialog) {
        const qx::AdvMsgBoxLayout& layout = seen->Layout();
        CRect window;
        GetWindowRect(dialog, &window);
        EXPECT_EQ(CSize(window.Width(), window.Height()), layout.dialog);
        const auto clientRect = [&](HWND control) {
            CRect r;
            GetWindowRect(control, &r);
            CPoint topLeft = r.TopLeft();
            ScreenToClient(dialog, &topLeft);
            return CRect(topLeft.x, topLeft.y, topLeft.x + r.Width(), topLeft.y + r.Height());
        };
        EXPECT_EQ(clientRect(Button(dialog, L"Ja")), layout.buttons[0]);
        EXPECT_EQ(clientRect(Button(dialog, L"Nicht mehr fragen")), layout.check);
        EXPECT_EQ(IsDlgButtonChecked(dialog, 1002), static_cast<UINT>(BST_CHECKED));
        // Yes/No has no Close entry and ignores Escape and the close box.
        EXPECT_FALSE(qx::HasCloseCommand(dialog));
        EXPECT_EQ(GetMenuItemCount(GetSystemMenu(dialog, FALSE)), 1);
        SendMessage(dialog, WM_SYSCOMMAND, SC_CLOSE);
        PostMessage(dialog, WM_KEYDOWN, VK_ESCAPE, 1);
        Advance(20);
        EXPECT_FALSE(qx::IsModalLoopEnded(dialog));
        CheckDlgButton(dialog, 1002, BST_UNCHECKED);
        SendMessage(Button(dialog, L"Nein"), BM_CLICK);
    });
    EXPECT_EQ(box.DoModal(), IDNO);
    EXPECT_EQ(checked, 0);  // the check state went back to the caller
}

TEST_F(AdvMessageBoxTest, EscapeAndCloseCancelOnlyTheTypesThatHaveCancel) {
    struct Case {
        unsigned flags;
        int result;  // -2: still open
    };
    for (const Case& c : {Case{MB_OK, IDCANCEL}, Case{MB_OKCANCEL, IDCANCEL}, Case{MB_ABORTRETRYIGNORE, -2},
                          Case{MB_YESNOCANCEL, IDCANCEL}, Case{MB_YESNO, -2}, Case{MB_RETRYCANCEL, IDCANCEL}}) {
        SCOPED_TRACE(c.flags);
        for (bool escape : {true, false}) {
            Drive([&](HWND dialog) {
                Advance(20);
                if (escape) {
                    PostMessage(dialog, WM_KEYDOWN, VK_ESCAPE, 1);
                    qx::PumpMessages();
                } else {
                    SendMessage(dialog, WM_SYSCOMMAND, SC_CLOSE);
                }
            });
            EXPECT_EQ(advMessageBox(L"?", c.flags, L""), c.result);
        }
    }
}

TEST_F(AdvMessageBoxTest, TheDefaultButtonIsChosenWhenTheBoxIsReady) {
    struct Case {
        unsigned flags;
        int result;
    };
    // Enter on the focused default button; an index past the last button
    // takes the first.
    for (const Case& c : {Case{MB_YESNOCANCEL | MB_DEFBUTTON2, IDNO}, Case{MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
                          Case{MB_YESNO | MB_DEFBUTTON3, IDYES}, Case{MB_OKCANCEL | 0x300u, IDOK}}) {
        SCOPED_TRACE(c.flags);
        ASSERT_TRUE(script_->Load("wait 10\nkey Enter down\n"));
        EXPECT_EQ(advMessageBox(L"?", c.flags, L""), c.result);
    }
}

TEST_F(AdvMessageBoxTest, AKeyHeldWhileTheBoxOpensPressesNothing) {
    // Let go 100 ms after the box is ready: swallowed; Nein decides.
    ASSERT_TRUE(script_->Load("wait 10\nkey Enter up after 100\npress Nein\n"));
    EXPECT_EQ(advMessageBox(L"?", MB_YESNO, L""), IDNO);
    // Let go 400 ms after: Enter presses the focused default button.
    ASSERT_TRUE(script_->Load("wait 10\nkey Enter up after 400\npress Nein\n"));
    EXPECT_EQ(advMessageBox(L"?", MB_YESNO, L""), IDYES);
    // Space on a button counts when let go.
    ASSERT_TRUE(script_->Load("wait 10\nkey Space up after 400\n"));
    EXPECT_EQ(advMessageBox(L"?", MB_YESNO | MB_DEFBUTTON2, L""), IDNO);
}

TEST_F(AdvMessageBoxTest, TheMouseMustPressAndReleaseInsideTheButton) {
    Drive([&](HWND dialog) {
        Advance(20);
        HWND yes = Button(dialog, L"Ja");
        CRect rect;
        GetWindowRect(yes, &rect);
        const auto mouse = [&](UINT message, CPoint screen) {
            SetCursorPos(screen.x, screen.y);
            CPoint client = screen;
            ScreenToClient(yes, &client);
            PostMessage(yes, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(static_cast<unsigned>(client.x) & 0xFFFF, static_cast<unsigned>(client.y) & 0xFFFF));
            qx::PumpMessages();
        };
        const CPoint inside(rect.left + 5, rect.top + 5), outside(rect.right + 40, rect.top + 5);
        mouse(WM_LBUTTONDOWN, inside);
        mouse(WM_LBUTTONUP, outside);
        EXPECT_FALSE(qx::IsModalLoopEnded(dialog));
        mouse(WM_LBUTTONDOWN, inside);
        mouse(WM_LBUTTONUP, inside);
    });
    EXPECT_EQ(advMessageBox(L"?", MB_YESNO | MB_DEFBUTTON2, L""), IDYES);
}

TEST_F(AdvMessageBoxTest, TheInputBoxGivesBackItsTextOnEnterAndOnAButton) {
    CString value = L"55";
    ASSERT_TRUE(script_->Load("wait 10\nkey End\ntype 7\nkey Enter\n"));
    EXPECT_EQ(advInputBox(L"Vorlauftemperatur", MB_OKCANCEL, L"Wert", value), IDOK);
    EXPECT_EQ(value, CString(L"557"));
    ASSERT_TRUE(script_->Load("wait 10\ntype 4\npress Abbrechen\n"));
    EXPECT_EQ(advInputBox(L"Vorlauftemperatur", MB_OKCANCEL, L"Wert", value), IDCANCEL);
    EXPECT_EQ(value, CString(L"4557"));  // a button stores the text too
}

TEST_F(AdvMessageBoxTest, TheBoxIsOwnedByTheMainWindowOnlyWhileThatIsEnabled) {
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, L"#32770", L"Haupt", WS_POPUP | WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 0));
    AfxSetMainWnd(&main);
    HWND owner = reinterpret_cast<HWND>(1);
    Drive([&](HWND dialog) {
        owner = GetWindow(dialog, GW_OWNER);
        EndDialog(dialog, IDOK);
    });
    advMessageBox(L"?", 0, L"");
    EXPECT_EQ(owner, main.m_hWnd);
    main.EnableWindow(FALSE);
    advMessageBox(L"?", 0, L"");
    EXPECT_EQ(owner, nullptr);
    AfxSetMainWnd(nullptr);
    main.DestroyWindow();
}

TEST(AdvMessageBoxRoadTest, EveryMessageOfTheLibraryIsTheFamilysBox) {
    // ShowMessage without a handler shows the family's box: under the batch
    // host "caption: text", the caption the application's name when none
    // is given, and the default button as the answer.
    std::unique_ptr<qx::UiHost> previous = qx::SetUiHost(qx::MakeUiHost("batch"));
    testing::internal::CaptureStderr();
    EXPECT_EQ(qx::ShowMessage(L"Zeile 1\nZeile 2", nullptr, MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), std::string(qx::WideToUtf8(AfxGetAppName())) + ": Zeile 1\nZeile 2\n");
    qx::SetUiHost(std::move(previous));
}
