// The editing an edit control and a combo box's field share: a selection in
// the window's text, a limit, typing and deleting.
#pragma once

#include <string>

#include "qx/platform/wnd/window_types.h"

namespace qx::wnd {

struct EditField {
    size_t selStart = 0;
    size_t selEnd = 0;
    size_t limit = 0x7FFFFFFE;

    // Start and end of the selection in *text*, in order and within it.
    size_t First(const std::wstring& text) const;
    size_t Last(const std::wstring& text) const;
    // Selects from *start* to *end* (-1: to the end); a negative start
    // removes the selection, leaving the caret where the selection ended.
    void Select(const std::wstring& text, long start, long end);
    void SelectAll(const std::wstring& text);
    // Replaces the selection in *text* with *insert*, cut to what the limit
    // leaves room for; *cut* tells whether something was left out. False
    // when nothing changed.
    bool Replace(std::wstring& text, std::wstring insert, bool* cut = nullptr);
    // What a typed character does: Backspace deletes before the caret (or
    // the selection), a printable character replaces the selection. False
    // when nothing changed.
    bool Type(std::wstring& text, wchar_t ch, bool* cut = nullptr);
    // Moves the caret for the cursor keys (Home, End, Left, Right; Delete
    // deletes after it). False for other keys.
    bool Key(std::wstring& text, UINT key, bool readOnly, bool* changed);
    // The selection as EM_GETSEL and CB_GETEDITSEL report it, also written
    // to the caller's DWORDs when they are given.
    LRESULT Report(const std::wstring& text, WPARAM start, LPARAM end) const;
};

}  // namespace qx::wnd
