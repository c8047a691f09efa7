#include <string>

#include "qx/platform/wnd/common_controls.h"
#include "tests/platform/wnd/wnd_fixture.h"

TEST_F(WndTest, ButtonsNotifyTheirParentAndKeepTheirCheckState) {
    HWND parent = MakeParent();
    HWND push = CreateWindowEx(0, L"Button", L"&Go", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 80, 24, parent, 10);
    HWND check = CreateWindowEx(0, L"Button", L"Again", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 0, 30, 80, 24, parent, 11);
    HWND radio1 = CreateWindowEx(0, L"Button", L"A", WS_CHILD | WS_VISIBLE | WS_GROUP | BS_AUTORADIOBUTTON, 0, 60, 80, 24, parent, 12);
    HWND radio2 = CreateWindowEx(0, L"Button", L"B", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, 0, 90, 80, 24, parent, 13);
    RecordedMessages().clear();
    SendMessage(push, BM_CLICK);
    SendMessage(check, BM_CLICK);
    SendMessage(radio1, BM_CLICK);
    SendMessage(radio2, BM_CLICK);
    EXPECT_EQ(Commands(), (std::vector<std::pair<int, int>>{{10, BN_CLICKED}, {11, BN_CLICKED}, {12, BN_CLICKED}, {13, BN_CLICKED}}));
    EXPECT_EQ(SendMessage(check, BM_GETCHECK), BST_CHECKED);
    EXPECT_EQ(SendMessage(radio1, BM_GETCHECK), BST_UNCHECKED);
    EXPECT_EQ(SendMessage(radio2, BM_GETCHECK), BST_CHECKED);
    EXPECT_EQ(SendMessage(push, BM_GETCHECK), BST_UNCHECKED);  // a push button has no check state
    EXPECT_EQ(SendMessage(push, WM_GETDLGCODE), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
    // A disabled button and a release outside the button press nothing.
    EnableWindow(push, FALSE);
    RecordedMessages().clear();
    SendMessage(push, BM_CLICK);
    EnableWindow(push, TRUE);
    SendMessage(push, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessage(push, WM_LBUTTONUP, 0, MAKELPARAM(200, 5));
    EXPECT_TRUE(Commands().empty());
}

TEST_F(WndTest, EditsTypeWithinTheirLimitAndRefuseWhenReadOnly) {
    HWND parent = MakeParent();
    HWND edit = CreateWindowEx(WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 100, 20, parent, 20);
    SendMessage(edit, EM_LIMITTEXT, 5);
    RecordedMessages().clear();
    for (wchar_t c : std::wstring(L"abcdefg")) SendMessage(edit, WM_CHAR, c, 1);
    EXPECT_EQ(TextOf(edit), L"abcde");
    const auto commands = Commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), std::pair<int, int>(20, EN_CHANGE)), 5);
    EXPECT_EQ(std::count(commands.begin(), commands.end(), std::pair<int, int>(20, EN_MAXTEXT)), 2);
    SendMessage(edit, EM_SETSEL, 1, 3);
    DWORD start = 0, end = 0;
    SendMessage(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 3u);
    SendMessage(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"X"));
    EXPECT_EQ(TextOf(edit), L"aXde");
    SendMessage(edit, WM_CHAR, L'\b', 1);
    EXPECT_EQ(TextOf(edit), L"ade");
    SendMessage(edit, EM_SETREADONLY, TRUE);
    SendMessage(edit, WM_CHAR, L'z', 1);
    EXPECT_EQ(TextOf(edit), L"ade");
    EXPECT_TRUE(GetWindowLongPtr(edit, GWL_STYLE) & ES_READONLY);
}

TEST_F(WndTest, ListAndComboBoxesShareTheirListRules) {
    HWND parent = MakeParent();
    HWND list = CreateWindowEx(0, L"ListBox", L"", WS_CHILD | LBS_SORT | LBS_NOTIFY, 0, 0, 100, 100, parent, 30);
    HWND combo = CreateWindowEx(0, L"ComboBox", L"", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 100, 100, parent, 31);
    struct Case {
        HWND control;
        UINT add, count, find, findExact, select, getCurrent, setData, getData, getText, remove;
    };
    for (const Case& c : {Case{list, LB_ADDSTRING, LB_GETCOUNT, LB_FINDSTRING, LB_FINDSTRINGEXACT, LB_SELECTSTRING, LB_GETCURSEL,
                               LB_SETITEMDATA, LB_GETITEMDATA, LB_GETTEXT, LB_DELETESTRING},
                          Case{combo, CB_ADDSTRING, CB_GETCOUNT, CB_FINDSTRING, CB_FINDSTRINGEXACT, CB_SELECTSTRING, CB_GETCURSEL,
                               CB_SETITEMDATA, CB_GETITEMDATA, CB_GETLBTEXT, CB_DELETESTRING}}) {
        SCOPED_TRACE(c.control == list ? "list box" : "combo box");
        for (const wchar_t* text : {L"Pumpe", L"Ventil", L"pipe"}) SendMessage(c.control, c.add, 0, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(SendMessage(c.control, c.count), 3);
        EXPECT_EQ(SendMessage(c.control, c.getCurrent), -1);
        const LRESULT pumpe = SendMessage(c.control, c.findExact, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"PUMPE"));
        ASSERT_GE(pumpe, 0);
        // A prefix search starts after the given entry and wraps round.
        EXPECT_EQ(SendMessage(c.control, c.find, static_cast<WPARAM>(pumpe), reinterpret_cast<LPARAM>(L"p")),
                  SendMessage(c.control, c.findExact, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"pipe")));
        EXPECT_EQ(SendMessage(c.control, c.findExact, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"Pump")), -1);
        const LRESULT selected = SendMessage(c.control, c.select, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"ven"));
        EXPECT_GE(selected, 0);
        EXPECT_EQ(SendMessage(c.control, c.getCurrent), selected);
        SendMessage(c.control, c.setData, static_cast<WPARAM>(pumpe), 4711);
        EXPECT_EQ(SendMessage(c.control, c.getData, static_cast<WPARAM>(pumpe)), 4711);
        wchar_t text[16];
        EXPECT_EQ(SendMessage(c.control, c.getText, static_cast<WPARAM>(pumpe), reinterpret_cast<LPARAM>(text)), 5);
        EXPECT_EQ(std::wstring(text), L"Pumpe");
        EXPECT_EQ(SendMessage(c.control, c.getData, 9), -1);
        EXPECT_EQ(SendMessage(c.control, c.remove, 0), 2);
    }
    // The sorted list keeps its entries in order, letter case ignored.
    wchar_t first[16];
    SendMessage(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_EQ(std::wstring(first), L"Pumpe");
    // A drop-down list shows its current entry.
    SendMessage(combo, CB_SETCURSEL, 0);
    EXPECT_EQ(TextOf(combo), L"Ventil");
    EXPECT_EQ(SendMessage(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"none")), CB_ERR);
}

TEST_F(WndTest, ListViewItemsStatesAndNotifications) {
    HWND parent = MakeParent();
    HWND view = CreateWindowEx(0, L"SysListView32", L"", WS_CHILD | LVS_REPORT | LVS_SINGLESEL, 0, 0, 200, 100, parent, 40);
    for (int i = 0; i < 3; ++i) {
        std::wstring text = L"row" + std::to_wstring(i);
        LVITEM item;
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = i;
        item.pszText = text.data();
        item.lParam = 100 + i;
        EXPECT_EQ(SendMessage(view, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item)), i);
    }
    EXPECT_EQ(SendMessage(view, LVM_GETITEMCOUNT), 3);
    LVITEM state;
    state.state = state.stateMask = LVIS_SELECTED;
    RecordedMessages().clear();
    SendMessage(view, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
    SendMessage(view, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&state));
    // Single selection: selecting row 2 took the selection from row 1.
    EXPECT_EQ(SendMessage(view, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 2);
    EXPECT_EQ(SendMessage(view, LVM_GETITEMSTATE, 1, LVIS_SELECTED), 0);
    int changes = 0;
    for (const Recorded& r : RecordedMessages()) {
        if (r.message == WM_NOTIFY && r.notifyCode == LVN_ITEMCHANGED) ++changes;
    }
    EXPECT_EQ(changes, 3);
    wchar_t buffer[16];
    LVITEM text;
    text.pszText = buffer;
    text.cchTextMax = 16;
    EXPECT_EQ(SendMessage(view, LVM_GETITEMTEXT, 2, reinterpret_cast<LPARAM>(&text)), 4);
    EXPECT_EQ(std::wstring(buffer), L"row2");
    LVITEM data;
    data.mask = LVIF_PARAM;
    data.iItem = 1;
    ASSERT_TRUE(SendMessage(view, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&data)));
    EXPECT_EQ(data.lParam, 101);
    EXPECT_TRUE(SendMessage(view, LVM_DELETEITEM, 0));
    EXPECT_FALSE(SendMessage(view, LVM_DELETEITEM, 7));
}

TEST_F(WndTest, ProgressBarsClampAndWrapTheirSteps) {
    HWND parent = MakeParent();
    HWND bar = CreateWindowEx(0, L"msctls_progress32", L"", WS_CHILD, 0, 0, 200, 20, parent, 50);
    EXPECT_EQ(SendMessage(bar, PBM_SETRANGE32, 0, 50), MAKELONG(0, 100));
    EXPECT_EQ(SendMessage(bar, PBM_SETPOS, 70), 0);
    EXPECT_EQ(SendMessage(bar, PBM_GETPOS), 50);
    SendMessage(bar, PBM_SETSTEP, 20);
    SendMessage(bar, PBM_STEPIT);  // 70 is past 50: starts over at 20
    EXPECT_EQ(SendMessage(bar, PBM_GETPOS), 20);
    PBRANGE range;
    EXPECT_EQ(SendMessage(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range)), 50);
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 50);
}
