#include "qx/ui/list_selection.h"

#include <gtest/gtest.h>

#include "qx/platform/wnd/control_classes.h"
#include "tests/ui/ui_fixture.h"

namespace {

class ListSelectionTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        parent = MakeParent();
    }
    HWND parent = nullptr;
    // Item data as the dialogs store it: values, and pointers to records.
    int records[4] = {};
};

}  // namespace

TEST_F(ListSelectionTest, ComboBoxesSelectTheFirstEntryOfTheDataOrNone) {
    for (DWORD style : {static_cast<DWORD>(CBS_DROPDOWNLIST), static_cast<DWORD>(CBS_DROPDOWN)}) {
        SCOPED_TRACE(style == CBS_DROPDOWNLIST ? "drop-down list" : "drop-down");
        HWND hwnd = Control(parent, L"ComboBox", style, 30, CRect(0, 0, 100, 100));
        EXPECT_EQ(selectItemInComboBoxWithItemData(hwnd, 20), -1);  // empty
        CComboBox combo;
        combo.Attach(hwnd);
        const wchar_t* names[] = {L"DN 10", L"DN 20", L"DN 30", L"DN 20 (alt)"};
        const DWORD_PTR data[] = {10, 20, 30, 20};
        for (int i = 0; i < 4; ++i) combo.SetItemData(combo.AddString(names[i]), data[i]);

        EXPECT_EQ(selectItemInComboBoxWithItemData(combo, 20), 1);
        EXPECT_EQ(combo.GetCurSel(), 1);
        EXPECT_EQ(Text(combo), L"DN 20");
        EXPECT_EQ(selectItemInComboBoxWithItemData(combo, 99), -1);
        EXPECT_EQ(combo.GetCurSel(), -1);  // no entry stands for the value
        EXPECT_EQ(Text(combo), L"");

        for (int i = 0; i < 4; ++i) combo.SetItemDataPtr(i, &records[i]);
        EXPECT_EQ(selectItemInComboBoxWithItemDataPtr(combo, &records[2]), 2);
        EXPECT_EQ(combo.GetCurSel(), 2);
        EXPECT_EQ(selectItemInComboBoxWithItemDataPtr(combo, nullptr), -1);
        EXPECT_EQ(combo.GetCurSel(), -1);
        combo.Detach();
    }
}

TEST_F(ListSelectionTest, ListBoxesSelectTheEntryOfThePointerAndKeepTheirSelectionOtherwise) {
    HWND single = Control(parent, L"ListBox", 0, 31, CRect(0, 0, 100, 100));
    HWND several = Control(parent, L"ListBox", LBS_EXTENDEDSEL, 32, CRect(110, 0, 210, 100));
    EXPECT_EQ(selectItemInListBoxWithItemDataPtr(single, &records[0]), -1);  // empty
    for (HWND hwnd : {single, several}) {
        CListBox list;
        list.Attach(hwnd);
        for (int i = 0; i < 4; ++i) list.SetItemDataPtr(list.AddString(L"Raum"), &records[i]);
        list.Detach();
    }

    EXPECT_EQ(selectItemInListBoxWithItemDataPtr(single, &records[3]), 3);
    EXPECT_EQ(SendMessage(single, LB_GETCURSEL), 3);
    EXPECT_EQ(selectItemInListBoxWithItemDataPtr(single, &parent), -1);
    EXPECT_EQ(SendMessage(single, LB_GETCURSEL), 3);

    EXPECT_EQ(selectItemInListBoxWithItemDataPtr(several, &records[1]), 1);
    EXPECT_EQ(selectItemInListBoxWithItemDataPtr(several, &records[2]), 2);
    EXPECT_TRUE(SendMessage(several, LB_GETSEL, 1));
    EXPECT_TRUE(SendMessage(several, LB_GETSEL, 2));
    EXPECT_EQ(SendMessage(several, LB_GETSELCOUNT), 2);
}

TEST_F(ListSelectionTest, ListViewsSelectAndFocusTheItemOfTheData) {
    CListCtrl view;
    ASSERT_TRUE(view.Create(WS_VISIBLE | LVS_REPORT, CRect(0, 0, 200, 100), CWnd::FromHandle(parent), 33));
    EXPECT_EQ(selectItemInListCtrlWithItemData(view, 7), -1);  // empty
    for (int i = 0; i < 3; ++i) view.SetItemData(view.InsertItem(i, L"Heizkörper"), static_cast<DWORD_PTR>(5 + i));
    EXPECT_EQ(selectItemInListCtrlWithItemData(view, 7), 2);
    EXPECT_EQ(view.GetItemState(2, LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(view.GetItemState(0, LVIS_SELECTED | LVIS_FOCUSED), 0u);
    EXPECT_EQ(view.GetNextItem(-1, LVNI_FOCUSED), 2);
    EXPECT_EQ(selectItemInListCtrlWithItemData(view, 99), -1);
    EXPECT_EQ(view.GetNextItem(-1, LVNI_SELECTED), 2);
}
