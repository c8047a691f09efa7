// What the UI hosts share: reading a dialog the way a user sees it, and
// answering it the way a user who only presses Enter would.
#pragma once

#include <string>
#include <vector>

#include "qx/platform/wnd/window_types.h"

namespace qx::wnd {

std::wstring WindowTextOf(HWND hwnd);
std::wstring ClassNameOf(HWND hwnd);
// The message a dialog shows: the texts of its static controls and
// read-only edits, in tab order, one per line.
std::wstring DialogMessage(HWND dialog);
// The label without its mnemonic ampersands ("&&" stands for one '&').
std::wstring WithoutMnemonics(const std::wstring& label);
// The push buttons of *dialog*, in tab order.
std::vector<HWND> PushButtons(HWND dialog);
// Lets a modal window settle before anybody looks at it: the clock moves on
// 50 ms and what that makes due is delivered (a box that chooses its
// default button on a timer has done so then). No host waits really.
void SettleModalWindow(HWND dialog);
// Presses the default button (then Cancel, then ends the loop with
// IDCANCEL) until the modal loop of *dialog* has ended.
void AnswerWithDefault(HWND dialog);
// The text of entry *index* of a list box or combo box ("" for a bad
// index), and all its entries.
std::wstring ListEntry(HWND list, int index);
std::vector<std::wstring> ListEntries(HWND list);
// Makes entry *index* the current one of a list or combo box and tells the
// parent, as the user's choice would.
void ChooseEntry(HWND list, int index);
// The kind of control a host shows: "button", "check", "radio", "group",
// "edit", "static", "combo", "list", "listview", "progress" or "window".
const char* ControlKind(HWND hwnd);

}  // namespace qx::wnd
