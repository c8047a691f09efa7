// What a UI host that shows the model's controls as a toolkit's own widgets
// reads from the model beyond the window functions: the kind of widget a
// window stands for, its text, labels without their mnemonics, list entries,
// list view columns and whether a dialog runs modally. Hosts outside the
// library (the GTK plugin) see the model only through these and the public
// window functions.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "qx/platform/base/export.h"
#include "qx/platform/wnd/window_types.h"

namespace qx {

// "button", "check", "radio", "group", "edit", "static", "combo", "list",
// "listview", "progress", or "window" for any other class (dialogs, the
// family's own registered classes) and for an invalid handle.
QX_API const char* ControlKind(HWND hwnd);
// The window's text (WM_GETTEXT, however long).
QX_API std::wstring WindowTextOf(HWND hwnd);
// The label without its mnemonic ampersands ("&&" stands for one '&').
QX_API std::wstring WithoutMnemonics(const std::wstring& label);
// The entries of a combo box or list box, in their order; empty for any
// other window.
QX_API std::vector<std::wstring> ListEntries(HWND hwnd);
// Makes entry *index* the current one of a combo box or list box and tells
// the parent (CBN_SELCHANGE and CBN_SELENDOK; LBN_SELCHANGE with LBS_NOTIFY), as the user's
// choice does.
QX_API void ChooseEntry(HWND hwnd, int index);
// The columns of a list view, left to right: header text and width in pixels.
QX_API std::vector<std::pair<std::wstring, int>> ListViewColumns(HWND hwnd);
// Whether *hwnd* is a dialog being run by DialogBoxIndirectParam.
QX_API bool IsModalDialog(HWND hwnd);

}  // namespace qx
