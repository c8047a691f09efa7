#include <filesystem>
#include <string>

#include "qx/platform/gfx/targets.h"
#include "qx/platform/wnd/dialog_box.h"
#include "qx/platform/wnd/image_host.h"
#include "tests/platform/wnd/wnd_fixture.h"
#include "tests/support/test_support.h"

namespace {

// A dialog with a label, an edit and two buttons, as the family builds them
// in memory.
qx::DialogTemplate ValueDialog() {
    qx::DialogTemplate dialog;
    dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    dialog.rect = CRect(0, 0, 200, 80);
    dialog.title = L"Wert";
    dialog.items = {
        {WS_VISIBLE | SS_LEFT, 0, CRect(7, 7, 193, 17), 100, L"Static", L"Vorlauftemperatur:"},
        {WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, CRect(7, 20, 193, 34), 101, L"Edit", L"55"},
        {WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, CRect(90, 55, 140, 69), IDOK, L"Button", L"OK"},
        {WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, CRect(143, 55, 193, 69), IDCANCEL, L"Button", L"&Abbrechen"},
    };
    return dialog;
}

struct Outcome {
    std::wstring value;
    std::vector<int> commands;
};

// Ends on OK and Cancel, keeping the edit's text.
LRESULT ValueDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* outcome = reinterpret_cast<Outcome*>(GetWindowLongPtr(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtr(dialog, DWLP_USER, lParam);
            return TRUE;
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED) return FALSE;
            outcome->commands.push_back(LOWORD(wParam));
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                wchar_t text[64];
                GetDlgItemText(dialog, 101, text, 64);
                outcome->value = text;
                EndDialog(dialog, LOWORD(wParam));
            }
            return TRUE;
        default: return FALSE;
    }
}

LRESULT RunValueDialog(Outcome& outcome) {
    return DialogBoxIndirectParam(ValueDialog(), nullptr, ValueDialogProc, reinterpret_cast<LPARAM>(&outcome));
}

}  // namespace

TEST(DialogTemplateTest, WrittenTemplatesReadBackAndCutOnesAreRefused) {
    const qx::DialogTemplate dialog = ValueDialog();
    const std::vector<std::uint8_t> bytes = qx::WriteDialogTemplate(dialog);
    std::optional<qx::DialogTemplate> read = qx::ReadDialogTemplate(bytes.data(), bytes.size());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->title, L"Wert");
    EXPECT_EQ(read->faceName, L"MS Shell Dlg");
    ASSERT_EQ(read->items.size(), 4u);
    EXPECT_EQ(read->items[1].className, L"Edit");
    EXPECT_EQ(read->items[1].rect, CRect(7, 20, 193, 34));
    EXPECT_EQ(read->items[3].text, L"&Abbrechen");
    for (size_t cut : {size_t{0}, size_t{3}, bytes.size() / 2, bytes.size() - 1}) {
        SCOPED_TRACE(cut);
        std::string why;
        EXPECT_FALSE(qx::ReadDialogTemplate(bytes.data(), cut, &why));
        EXPECT_EQ(why, "the template ends early");
    }
}

TEST(DialogTemplateTest, TheClassicFormNamesControlsByAtoms) {
    // Style, extended style, one control, the rectangle, no menu, the
    // dialog class, the title "A"; then a default push button of class atom
    // 0x80 with the title "OK", DWORD-aligned.
    const std::vector<std::uint8_t> bytes = {
        0x00, 0x00, 0xC8, 0x80, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 100, 0, 50, 0, 0, 0, 0, 0, 'A', 0, 0, 0, 0, 0,
        0x01, 0x00, 0x01, 0x50, 0, 0, 0, 0, 10, 0, 10, 0, 50, 0, 14, 0, 1, 0, 0xFF, 0xFF, 0x80, 0x00,
        'O', 0, 'K', 0, 0, 0, 0, 0};
    std::optional<qx::DialogTemplate> read = qx::ReadDialogTemplate(bytes.data(), bytes.size());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->style, WS_POPUP | WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(read->rect, CRect(0, 0, 100, 50));
    EXPECT_EQ(read->title, L"A");
    ASSERT_EQ(read->items.size(), 1u);
    EXPECT_EQ(read->items[0].className, L"Button");
    EXPECT_EQ(read->items[0].style, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON);
    EXPECT_EQ(read->items[0].id, IDOK);
    EXPECT_EQ(read->items[0].text, L"OK");
    // A template that names a menu is refused rather than shown without it.
    std::vector<std::uint8_t> withMenu = bytes;
    withMenu[18] = 0xFF;
    withMenu[19] = 0xFF;
    std::string why;
    EXPECT_FALSE(qx::ReadDialogTemplate(withMenu.data(), withMenu.size(), &why));
    EXPECT_EQ(why, "the template names a menu");
}

TEST_F(WndTest, AScriptTypesAValueAndPressesAButton) {
    ASSERT_TRUE(script_->Load("key End\ntype 7\npress OK\n"));
    Outcome outcome;
    EXPECT_EQ(RunValueDialog(outcome), IDOK);
    EXPECT_EQ(outcome.value, L"557");
    EXPECT_EQ(outcome.commands, std::vector<int>{IDOK});
    const auto& transcript = script_->Transcript();
    ASSERT_GE(transcript.size(), 5u);
    EXPECT_NE(transcript[0].find("\"event\":\"show\""), std::string::npos);
    EXPECT_NE(transcript[0].find("\"text\":\"Wert\""), std::string::npos);
    EXPECT_NE(transcript[0].find("\"kind\":\"edit\",\"id\":101,\"text\":\"55\""), std::string::npos);
    // The edit has the focus, OK is the default button.
    EXPECT_NE(transcript[0].find("\"id\":101,\"text\":\"55\",\"rect\":"), std::string::npos);
    EXPECT_NE(transcript[0].find("\"focus\":true"), std::string::npos);
    EXPECT_NE(transcript[0].find("\"id\":1,\"text\":\"OK\""), std::string::npos);
    EXPECT_EQ(transcript.back().substr(0, 15), "{\"event\":\"end\",");
    EXPECT_NE(transcript.back().find("\"result\":1"), std::string::npos);
}

TEST_F(WndTest, EnterPressesTheDefaultButtonAndEscapeCancels) {
    struct Case {
        const char* script;
        LRESULT result;
    };
    for (const Case& c : {Case{"key Enter\n", IDOK}, Case{"key Escape\n", IDCANCEL}, Case{"close\n", IDCANCEL},
                          Case{"key Tab\nkey Tab\nkey Space\n", IDCANCEL}, Case{"press 2\n", IDCANCEL},
                          Case{"press abbrechen\n", IDCANCEL}, Case{"", IDOK}}) {
        SCOPED_TRACE(c.script);
        ASSERT_TRUE(script_->Load(c.script));
        Outcome outcome;
        EXPECT_EQ(RunValueDialog(outcome), c.result);
        EXPECT_EQ(script_->PendingActions(), 0u);
    }
}

TEST_F(WndTest, AnActionThatCannotBeDoneCancelsTheDialog) {
    ASSERT_TRUE(script_->Load("press Weiter\n"));
    Outcome outcome;
    EXPECT_EQ(RunValueDialog(outcome), IDCANCEL);
    bool reported = false;
    for (const std::string& line : script_->Transcript()) {
        reported |= line == "{\"event\":\"error\",\"line\":1,\"message\":\"no button with that label or id\"}";
    }
    EXPECT_TRUE(reported);
}

TEST(ScriptHostTest, MalformedLinesAreRefusedByNumber) {
    struct Case {
        const char* script;
        const char* why;
    };
    for (const Case& c : {Case{"press OK\nprss OK\n", "line 2: unknown action 'prss'"},
                          Case{"# comment\n\nkey Wibble\n", "line 3: unknown key 'Wibble'"},
                          Case{"check maybe", "line 1: check needs on or off"},
                          Case{"click 10", "line 1: click needs two coordinates"},
                          Case{"wait -5", "line 1: wait needs milliseconds (0 to one day)"},
                          Case{"key Enter down after", "line 1: key needs milliseconds after 'after'"},
                          Case{"press   ", "line 1: press needs a label or id"}}) {
        SCOPED_TRACE(c.script);
        qx::ScriptHost host;
        std::string why;
        EXPECT_FALSE(host.Load(c.script, &why));
        EXPECT_EQ(why, c.why);
        EXPECT_EQ(host.PendingActions(), 0u);
    }
}

TEST_F(WndTest, TheImageHostPaintsTheDialogIntoAPicture) {
    qx::test::TempDir folder;
    auto host = std::make_unique<qx::ImageHost>(folder.path().wstring());
    qx::ImageHost* images = host.get();
    std::unique_ptr<qx::UiHost> script = qx::SetUiHost(std::move(host));
    Outcome outcome;
    EXPECT_EQ(RunValueDialog(outcome), IDOK);  // answered with the default button
    ASSERT_EQ(images->Images().size(), 1u);
    EXPECT_NE(images->Images()[0].find(L"001-Wert.png"), std::wstring::npos);
    EXPECT_GT(std::filesystem::file_size(folder.path() / "001-Wert.png"), 1000u);
    qx::SetUiHost(std::move(script));
}
