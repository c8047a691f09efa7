#include <string>

#include "qx/platform/wnd/cdialog.h"
#include "qx/platform/wnd/control_classes.h"
#include "qx/platform/wnd/data_exchange.h"
#include "qx/platform/wnd/dialog_box.h"
#include "qx/platform/wnd/message_box.h"
#include "tests/platform/wnd/wnd_fixture.h"

namespace {

constexpr int kCount = 201;
constexpr int kName = 202;
constexpr int kAgain = 203;
constexpr int kKind = 204;

qx::DialogTemplate SettingsTemplate() {
    qx::DialogTemplate dialog;
    dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    dialog.rect = CRect(0, 0, 180, 90);
    dialog.title = L"Einstellungen";
    dialog.items = {
        {WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE, CRect(7, 7, 60, 21), kCount, L"Edit", L""},
        {WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE, CRect(7, 25, 173, 39), kName, L"Edit", L""},
        {WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, CRect(7, 43, 100, 53), kAgain, L"Button", L"Wieder fragen"},
        {WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, 0, CRect(100, 43, 173, 90), kKind, L"ComboBox", L""},
        {WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, CRect(70, 70, 120, 84), IDOK, L"Button", L"OK"},
        {WS_VISIBLE | WS_TABSTOP, 0, CRect(123, 70, 173, 84), IDCANCEL, L"Button", L"Abbrechen"},
    };
    return dialog;
}

class SettingsDialog : public CDialog {
public:
    SettingsDialog() { InitModalIndirect(SettingsTemplate()); }

    int count = 3;
    CString name = L"Kessel";
    int again = 1;
    int kind = 1;
    CComboBox kinds;
    int initialised = 0;

protected:
    BOOL OnInitDialog() override {
        ++initialised;
        kinds.SubclassDlgItem(kKind, this);
        for (const wchar_t* entry : {L"Gas", L"Öl", L"Holz"}) kinds.AddString(entry);
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* exchange) override {
        DDX_Text(exchange, kCount, count);
        DDX_Text(exchange, kName, name);
        DDV_MaxChars(exchange, name, 8);
        DDX_Check(exchange, kAgain, again);
        DDX_CBIndex(exchange, kKind, kind);
    }
};

}  // namespace

TEST_F(WndTest, DataExchangeLoadsAndSavesTheMembers) {
    ASSERT_TRUE(script_->Load("key Tab\ntype Brenner\ncheck off\nselect Holz\npress OK\n"));
    SettingsDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.initialised, 1);
    EXPECT_EQ(dialog.count, 3);
    EXPECT_EQ(dialog.name, CString(L"Brenner"));  // Tab selected the whole text, typing replaced it
    EXPECT_EQ(dialog.again, 0);
    EXPECT_EQ(dialog.kind, 2);
    EXPECT_EQ(dialog.m_hWnd, nullptr);  // the dialog is gone and the object let go of it
    EXPECT_NE(script_->Transcript()[0].find("\"text\":\"Kessel\""), std::string::npos);
}

TEST_F(WndTest, AFailingExchangeKeepsTheDialogOpenWithTheFocusOnItsControl) {
    // "x" is no integer: OK is refused with a message, the focus stays on
    // the count, and the dialog goes on until Cancel.
    std::vector<std::wstring> messages;
    qx::ScopedMessageHandler handler([&](const wchar_t* text, const wchar_t*, unsigned) {
        messages.push_back(text);
        return IDOK;
    });
    ASSERT_TRUE(script_->Load("type x\npress OK\ntype y\npress Abbrechen\n"));
    SettingsDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(messages, std::vector<std::wstring>{L"Geben Sie eine ganze Zahl ein."});
    EXPECT_EQ(dialog.count, 3);
}

TEST_F(WndTest, TooLongTextsAreRefusedAsTheLimitSays) {
    std::vector<std::wstring> messages;
    qx::ScopedMessageHandler handler([&](const wchar_t* text, const wchar_t*, unsigned) {
        messages.push_back(text);
        return IDOK;
    });
    // The loaded edit is limited to 8 characters: typing stops there.
    ASSERT_TRUE(script_->Load("key Tab\ntype Warmwasserspeicher\npress OK\n"));
    SettingsDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.name, CString(L"Warmwass"));
    EXPECT_TRUE(messages.empty());
}

TEST_F(WndTest, AModelessDialogLivesUntilItIsDestroyed) {
    SettingsDialog dialog;
    qx::DialogTemplate visible = SettingsTemplate();
    visible.style |= WS_VISIBLE;
    ASSERT_TRUE(dialog.CreateIndirect(visible));
    ASSERT_NE(dialog.m_hWnd, nullptr);
    EXPECT_TRUE(dialog.IsWindowVisible());
    EXPECT_EQ(dialog.initialised, 1);
    CString text;
    dialog.GetDlgItemText(kName, text);
    EXPECT_EQ(text, CString(L"Kessel"));
    EXPECT_NE(script_->Transcript().back().find("\"modal\":false"), std::string::npos);
    EXPECT_EQ(CWnd::FromHandlePermanent(dialog.m_hWnd), &dialog);
    HWND hwnd = dialog.m_hWnd;
    dialog.DestroyWindow();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST_F(WndTest, ADialogWithoutItsTemplateCannotBeMade) {
    CDialog missing(4711);
    EXPECT_EQ(missing.DoModal(), -1);
    EXPECT_FALSE(missing.Create(4711));
    qx::SetBuiltInDialogTemplate(4711, qx::WriteDialogTemplate(SettingsTemplate()));
    ASSERT_TRUE(script_->Load("close\n"));
    CDialog found(4711);
    EXPECT_EQ(found.DoModal(), IDCANCEL);
    // A language module's template of the same id comes first; a broken one
    // makes the dialog fail instead of showing something else.
    const std::string brokenBytes("\x01\x00", 2);
    qx::SetModuleDialogTemplateSource([&](unsigned id) { return id == 4711 ? &brokenBytes : nullptr; });
    CDialog broken(4711);
    EXPECT_EQ(broken.DoModal(), -1);
    qx::SetModuleDialogTemplateSource(nullptr);
}

TEST_F(WndTest, FrameworkObjectsSeeTheirWindowsMessagesFirst) {
    struct Counter : CWnd {
        int commands = 0;
        BOOL OnCommand(WPARAM wParam, LPARAM) override {
            if (LOWORD(wParam) == 9) ++commands;
            return TRUE;
        }
    };
    HWND parent = MakeParent();
    Counter counter;
    ASSERT_TRUE(counter.SubclassWindow(parent));
    CButton button;
    ASSERT_TRUE(button.Create(L"Los", WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 50, 20), &counter, 9));
    button.Click();
    EXPECT_EQ(counter.commands, 1);
    EXPECT_EQ(CWnd::FromHandle(button.m_hWnd), &button);
    // A window nobody attached gets a temporary object.
    HWND plain = CreateWindowEx(0, L"Static", L"x", WS_CHILD, 0, 0, 5, 5, parent, 10);
    CWnd* temporary = CWnd::FromHandle(plain);
    ASSERT_NE(temporary, nullptr);
    EXPECT_EQ(temporary->m_hWnd, plain);
    EXPECT_EQ(CWnd::FromHandlePermanent(plain), nullptr);
    counter.UnsubclassWindow();
}
