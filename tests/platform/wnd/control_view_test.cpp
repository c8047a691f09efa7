// What hosts outside the library read from the model (control_view.h):
// each accessor answers for its own kind of control and leaves every other
// window alone.
#include <string>
#include <vector>

#include "qx/platform/wnd/common_controls.h"
#include "qx/platform/wnd/control_view.h"
#include "tests/platform/wnd/wnd_fixture.h"

TEST_F(WndTest, ControlViewReadsTheKindEntriesAndColumnsOfControls) {
    HWND parent = MakeParent();
    const auto make = [&](const wchar_t* className, DWORD style, int id) {
        return CreateWindowEx(0, className, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 100, 60, parent, id);
    };
    HWND combo = make(L"ComboBox", CBS_DROPDOWNLIST, 1);
    HWND list = make(L"ListBox", LBS_NOTIFY, 2);
    HWND view = make(L"SysListView32", LVS_REPORT, 3);
    HWND check = make(L"Button", BS_AUTOCHECKBOX, 4);
    for (const wchar_t* entry : {L"Kessel", L"", L"Pumpe"}) {
        SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    }
    LVCOLUMN column;
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(L"Raum");
    column.cx = 120;
    SendMessage(view, LVM_INSERTCOLUMN, 0, reinterpret_cast<LPARAM>(&column));
    SendMessage(check, BM_SETCHECK, BST_CHECKED);

    const std::vector<std::wstring> entries = {L"Kessel", L"", L"Pumpe"};
    EXPECT_EQ(qx::ListEntries(combo), entries);
    EXPECT_EQ(qx::ListEntries(list), entries);
    EXPECT_EQ(qx::ListViewColumns(view), (std::vector<std::pair<std::wstring, int>>{{L"Raum", 120}}));
    struct Case {
        HWND hwnd;
        const char* kind;
    };
    for (const Case& c : {Case{combo, "combo"}, Case{list, "list"}, Case{view, "listview"}, Case{check, "check"},
                          Case{parent, "window"}, Case{nullptr, "window"}}) {
        SCOPED_TRACE(c.kind);
        EXPECT_STREQ(qx::ControlKind(c.hwnd), c.kind);
        if (c.hwnd == combo || c.hwnd == list) continue;
        EXPECT_TRUE(qx::ListEntries(c.hwnd).empty());
        if (c.hwnd != view) {
            EXPECT_TRUE(qx::ListViewColumns(c.hwnd).empty());
        }
    }
    // Asking a check box for columns must not take its state for a list
    // view's: it keeps its check.
    EXPECT_EQ(SendMessage(check, BM_GETCHECK), BST_CHECKED);
    EXPECT_FALSE(qx::IsModalDialog(parent));
    EXPECT_EQ(qx::WithoutMnemonics(L"&Speichern && Schließen"), L"Speichern & Schließen");
    const std::wstring longText(5000, L'x');
    SetWindowText(parent, longText.c_str());
    EXPECT_EQ(qx::WindowTextOf(parent), longText);
}
