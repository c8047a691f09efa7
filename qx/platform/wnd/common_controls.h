// The records the list view and progress bar messages carry.
#pragma once

#include "qx/platform/wnd/window_types.h"

struct PBRANGE {
    int iLow = 0;
    int iHigh = 0;
};

// An item or subitem of a list view (LVM_INSERTITEM, LVM_GETITEM, ...).
// pszText points to the caller's text, or to its buffer of cchTextMax
// characters when text is asked for.
struct LVITEM {
    UINT mask = 0;
    int iItem = 0;
    int iSubItem = 0;
    UINT state = 0;
    UINT stateMask = 0;
    wchar_t* pszText = nullptr;
    int cchTextMax = 0;
    int iImage = 0;
    LPARAM lParam = 0;
};

struct LVCOLUMN {
    UINT mask = 0;
    int fmt = 0;
    int cx = 0;
    wchar_t* pszText = nullptr;
    int cchTextMax = 0;
    int iSubItem = 0;
};

inline constexpr UINT LVCF_FMT = 0x1;
inline constexpr UINT LVCF_WIDTH = 0x2;
inline constexpr UINT LVCF_TEXT = 0x4;
inline constexpr UINT LVCF_SUBITEM = 0x8;

// What LVN_ITEMCHANGED carries.
struct NMLISTVIEW {
    NMHDR hdr;
    int iItem = 0;
    int iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;
    CPoint ptAction;
    LPARAM lParam = 0;
};

// What NM_CLICK and NM_DBLCLK of a list view carry.
struct NMITEMACTIVATE {
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;
    CPoint ptAction;
    LPARAM lParam = 0;
    UINT uKeyFlags = 0;
};
