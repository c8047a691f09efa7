// Selecting the entry of a list that carries a given item data (the value or
// pointer the dialog stored with it): combo boxes, list boxes and list
// views. Each returns the index of the entry selected, -1 when none carries
// the data. A control object converts to its window handle.
#pragma once

#include "qx/platform/base/export.h"
#include "qx/platform/wnd/window_types.h"

// With no entry of the data the combo box is left without a selection.
QX_API int selectItemInComboBoxWithItemData(HWND combo, DWORD_PTR data);
QX_API int selectItemInComboBoxWithItemDataPtr(HWND combo, const void* pointer);
// A list box that allows several selected entries gets the entry added to
// its selection.
QX_API int selectItemInListBoxWithItemDataPtr(HWND list, const void* pointer);
// The item is selected and gets the focus.
QX_API int selectItemInListCtrlWithItemData(HWND listCtrl, DWORD_PTR data);
