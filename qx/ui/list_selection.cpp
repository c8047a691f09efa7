#include "qx/ui/list_selection.h"

#include "qx/platform/wnd/common_controls.h"
#include "qx/platform/wnd/window.h"

namespace {

// The first entry of *count* whose data (read by *dataOf*) is *data*; -1
// for none.
template <typename DataOf>
int FindData(int count, DWORD_PTR data, DataOf dataOf) {
    for (int i = 0; i < count; ++i) {
        if (dataOf(i) == data) return i;
    }
    return -1;
}

int FindListData(HWND list, UINT countMessage, UINT dataMessage, DWORD_PTR data) {
    const auto count = static_cast<int>(SendMessage(list, countMessage));
    return FindData(count, data, [&](int i) { return static_cast<DWORD_PTR>(SendMessage(list, dataMessage, static_cast<WPARAM>(i))); });
}

void Repaint(HWND control) {
    InvalidateRect(control, nullptr, TRUE);
    UpdateWindow(control);
}

}  // namespace

int selectItemInComboBoxWithItemData(HWND combo, DWORD_PTR data) {
    const int found = FindListData(combo, CB_GETCOUNT, CB_GETITEMDATA, data);
    // Without a match nothing stays selected, rather than an entry that
    // stands for another value.
    SendMessage(combo, CB_SETCURSEL, static_cast<WPARAM>(found));
    return found;
}

int selectItemInComboBoxWithItemDataPtr(HWND combo, const void* pointer) {
    return selectItemInComboBoxWithItemData(combo, reinterpret_cast<DWORD_PTR>(pointer));
}

int selectItemInListBoxWithItemDataPtr(HWND list, const void* pointer) {
    const int found = FindListData(list, LB_GETCOUNT, LB_GETITEMDATA, reinterpret_cast<DWORD_PTR>(pointer));
    if (found < 0) return -1;
    // A list of several selected entries has no current selection to set.
    if (GetWindowLongPtr(list, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
        SendMessage(list, LB_SETSEL, TRUE, found);
    } else {
        SendMessage(list, LB_SETCURSEL, static_cast<WPARAM>(found));
    }
    Repaint(list);
    return found;
}

int selectItemInListCtrlWithItemData(HWND listCtrl, DWORD_PTR data) {
    const auto count = static_cast<int>(SendMessage(listCtrl, LVM_GETITEMCOUNT));
    const int found = FindData(count, data, [&](int i) {
        LVITEM item;
        item.mask = LVIF_PARAM;
        item.iItem = i;
        return SendMessage(listCtrl, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&item)) ? static_cast<DWORD_PTR>(item.lParam)
                                                                                        : DWORD_PTR{0};
    });
    if (found < 0) return -1;
    LVITEM state;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessage(listCtrl, LVM_SETITEMSTATE, static_cast<WPARAM>(found), reinterpret_cast<LPARAM>(&state));
    Repaint(listCtrl);
    return found;
}
