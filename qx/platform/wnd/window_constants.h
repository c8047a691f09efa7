// Message, notification, style and flag constants of the window layer with
// their published numeric values, at global scope as the family's window
// code uses them. The named messages come from message_list.h, which the
// message tracer reads too.
#pragma once

#include "qx/platform/wnd/message_box.h"  // MB_ flags and ID results
#include "qx/platform/wnd/message_list.h"
#include "qx/platform/wnd/window_types.h"

#define QX_DECLARE_MESSAGE(name, value) inline constexpr UINT name = value;
QX_WINDOW_MESSAGES(QX_DECLARE_MESSAGE)
#undef QX_DECLARE_MESSAGE

// The wide forms under the names the family's code uses.
inline constexpr UINT EM_SETLIMITTEXT = EM_LIMITTEXT;
inline constexpr UINT LVM_GETITEM = LVM_GETITEMW;
inline constexpr UINT LVM_SETITEM = LVM_SETITEMW;
inline constexpr UINT LVM_INSERTITEM = LVM_INSERTITEMW;
inline constexpr UINT LVM_INSERTCOLUMN = LVM_INSERTCOLUMNW;
inline constexpr UINT LVM_GETITEMTEXT = LVM_GETITEMTEXTW;
inline constexpr UINT LVM_SETITEMTEXT = LVM_SETITEMTEXTW;

// Button, dialog and progress-bar messages (not named by the tracer).
inline constexpr UINT BM_GETCHECK = 0x00F0;
inline constexpr UINT BM_SETCHECK = 0x00F1;
inline constexpr UINT BM_GETSTATE = 0x00F2;
inline constexpr UINT BM_SETSTATE = 0x00F3;
inline constexpr UINT BM_SETSTYLE = 0x00F4;
inline constexpr UINT BM_CLICK = 0x00F5;
inline constexpr UINT DM_GETDEFID = WM_USER + 0;
inline constexpr UINT DM_SETDEFID = WM_USER + 1;
inline constexpr UINT PBM_SETRANGE = WM_USER + 1;
inline constexpr UINT PBM_SETPOS = WM_USER + 2;
inline constexpr UINT PBM_DELTAPOS = WM_USER + 3;
inline constexpr UINT PBM_SETSTEP = WM_USER + 4;
inline constexpr UINT PBM_STEPIT = WM_USER + 5;
inline constexpr UINT PBM_SETRANGE32 = WM_USER + 6;
inline constexpr UINT PBM_GETRANGE = WM_USER + 7;
inline constexpr UINT PBM_GETPOS = WM_USER + 8;
inline constexpr UINT STM_SETICON = 0x0170;
inline constexpr UINT STM_GETICON = 0x0171;

// Window styles.
inline constexpr DWORD WS_OVERLAPPED = 0x00000000;
inline constexpr DWORD WS_TABSTOP = 0x00010000;
inline constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
inline constexpr DWORD WS_GROUP = 0x00020000;
inline constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
inline constexpr DWORD WS_THICKFRAME = 0x00040000;
inline constexpr DWORD WS_SIZEBOX = WS_THICKFRAME;
inline constexpr DWORD WS_SYSMENU = 0x00080000;
inline constexpr DWORD WS_HSCROLL = 0x00100000;
inline constexpr DWORD WS_VSCROLL = 0x00200000;
inline constexpr DWORD WS_DLGFRAME = 0x00400000;
inline constexpr DWORD WS_BORDER = 0x00800000;
inline constexpr DWORD WS_CAPTION = 0x00C00000;
inline constexpr DWORD WS_MAXIMIZE = 0x01000000;
inline constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
inline constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
inline constexpr DWORD WS_DISABLED = 0x08000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_MINIMIZE = 0x20000000;
inline constexpr DWORD WS_CHILD = 0x40000000;
inline constexpr DWORD WS_POPUP = 0x80000000;

// Extended window styles.
inline constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
inline constexpr DWORD WS_EX_NOPARENTNOTIFY = 0x00000004;
inline constexpr DWORD WS_EX_TOPMOST = 0x00000008;
inline constexpr DWORD WS_EX_TRANSPARENT = 0x00000020;
inline constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
inline constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
inline constexpr DWORD WS_EX_CONTEXTHELP = 0x00000400;
inline constexpr DWORD WS_EX_STATICEDGE = 0x00020000;
inline constexpr DWORD WS_EX_CONTROLPARENT = 0x00010000;

// Button styles; the low four bits are the button's kind.
inline constexpr DWORD BS_PUSHBUTTON = 0x0;
inline constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
inline constexpr DWORD BS_CHECKBOX = 0x2;
inline constexpr DWORD BS_AUTOCHECKBOX = 0x3;
inline constexpr DWORD BS_RADIOBUTTON = 0x4;
inline constexpr DWORD BS_3STATE = 0x5;
inline constexpr DWORD BS_AUTO3STATE = 0x6;
inline constexpr DWORD BS_GROUPBOX = 0x7;
inline constexpr DWORD BS_USERBUTTON = 0x8;
inline constexpr DWORD BS_AUTORADIOBUTTON = 0x9;
inline constexpr DWORD BS_OWNERDRAW = 0xB;
inline constexpr DWORD BS_TYPEMASK = 0xF;
inline constexpr DWORD BS_LEFTTEXT = 0x20;
inline constexpr DWORD BS_MULTILINE = 0x2000;
inline constexpr DWORD BS_NOTIFY = 0x4000;

inline constexpr int BST_UNCHECKED = 0;
inline constexpr int BST_CHECKED = 1;
inline constexpr int BST_INDETERMINATE = 2;
inline constexpr int BST_PUSHED = 4;
inline constexpr int BST_FOCUS = 8;

// Edit styles.
inline constexpr DWORD ES_LEFT = 0x0000;
inline constexpr DWORD ES_CENTER = 0x0001;
inline constexpr DWORD ES_RIGHT = 0x0002;
inline constexpr DWORD ES_MULTILINE = 0x0004;
inline constexpr DWORD ES_UPPERCASE = 0x0008;
inline constexpr DWORD ES_LOWERCASE = 0x0010;
inline constexpr DWORD ES_PASSWORD = 0x0020;
inline constexpr DWORD ES_AUTOVSCROLL = 0x0040;
inline constexpr DWORD ES_AUTOHSCROLL = 0x0080;
inline constexpr DWORD ES_NOHIDESEL = 0x0100;
inline constexpr DWORD ES_READONLY = 0x0800;
inline constexpr DWORD ES_WANTRETURN = 0x1000;
inline constexpr DWORD ES_NUMBER = 0x2000;

// Static styles.
inline constexpr DWORD SS_LEFT = 0x00;
inline constexpr DWORD SS_CENTER = 0x01;
inline constexpr DWORD SS_RIGHT = 0x02;
inline constexpr DWORD SS_ICON = 0x03;
inline constexpr DWORD SS_BLACKRECT = 0x04;
inline constexpr DWORD SS_LEFTNOWORDWRAP = 0x0C;
inline constexpr DWORD SS_NOPREFIX = 0x80;
inline constexpr DWORD SS_BITMAP = 0x0E;
inline constexpr DWORD SS_NOTIFY = 0x0100;
inline constexpr DWORD SS_SUNKEN = 0x1000;

// Combo box and list box styles.
inline constexpr DWORD CBS_SIMPLE = 0x0001;
inline constexpr DWORD CBS_DROPDOWN = 0x0002;
inline constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
inline constexpr DWORD CBS_AUTOHSCROLL = 0x0040;
inline constexpr DWORD CBS_SORT = 0x0100;
inline constexpr DWORD CBS_HASSTRINGS = 0x0200;
inline constexpr DWORD LBS_NOTIFY = 0x0001;
inline constexpr DWORD LBS_SORT = 0x0002;
inline constexpr DWORD LBS_MULTIPLESEL = 0x0008;
inline constexpr DWORD LBS_HASSTRINGS = 0x0040;
inline constexpr DWORD LBS_EXTENDEDSEL = 0x0800;
inline constexpr DWORD LBS_STANDARD = 0x00A00003;

// List view styles.
inline constexpr DWORD LVS_ICON = 0x0000;
inline constexpr DWORD LVS_REPORT = 0x0001;
inline constexpr DWORD LVS_SMALLICON = 0x0002;
inline constexpr DWORD LVS_LIST = 0x0003;
inline constexpr DWORD LVS_SINGLESEL = 0x0004;
inline constexpr DWORD LVS_SHOWSELALWAYS = 0x0008;

// Progress bar styles.
inline constexpr DWORD PBS_SMOOTH = 0x01;
inline constexpr DWORD PBS_VERTICAL = 0x04;

// Dialog styles.
inline constexpr DWORD DS_ABSALIGN = 0x01;
inline constexpr DWORD DS_SYSMODAL = 0x02;
inline constexpr DWORD DS_LOCALEDIT = 0x20;
inline constexpr DWORD DS_SETFONT = 0x40;
inline constexpr DWORD DS_MODALFRAME = 0x80;
inline constexpr DWORD DS_NOIDLEMSG = 0x100;
inline constexpr DWORD DS_SETFOREGROUND = 0x200;
inline constexpr DWORD DS_3DLOOK = 0x0004;
inline constexpr DWORD DS_FIXEDSYS = 0x0008;
inline constexpr DWORD DS_NOFAILCREATE = 0x0010;
inline constexpr DWORD DS_CONTROL = 0x0400;
inline constexpr DWORD DS_CENTER = 0x0800;
inline constexpr DWORD DS_CENTERMOUSE = 0x1000;
inline constexpr DWORD DS_CONTEXTHELP = 0x2000;
inline constexpr DWORD DS_SHELLFONT = DS_SETFONT | DS_FIXEDSYS;

// Notification codes of WM_COMMAND.
inline constexpr WORD BN_CLICKED = 0;
inline constexpr WORD BN_PAINT = 1;
inline constexpr WORD BN_PUSHED = 2;
inline constexpr WORD BN_HILITE = BN_PUSHED;
inline constexpr WORD BN_UNPUSHED = 3;
inline constexpr WORD BN_UNHILITE = BN_UNPUSHED;
inline constexpr WORD BN_DISABLE = 4;
inline constexpr WORD BN_DBLCLK = 5;
inline constexpr WORD BN_DOUBLECLICKED = BN_DBLCLK;
inline constexpr WORD BN_SETFOCUS = 6;
inline constexpr WORD BN_KILLFOCUS = 7;
inline constexpr WORD EN_SETFOCUS = 0x0100;
inline constexpr WORD EN_KILLFOCUS = 0x0200;
inline constexpr WORD EN_CHANGE = 0x0300;
inline constexpr WORD EN_UPDATE = 0x0400;
inline constexpr WORD EN_ERRSPACE = 0x0500;
inline constexpr WORD EN_MAXTEXT = 0x0501;
inline constexpr WORD EN_HSCROLL = 0x0601;
inline constexpr WORD EN_VSCROLL = 0x0602;
inline constexpr WORD CBN_ERRSPACE = static_cast<WORD>(-1);
inline constexpr WORD CBN_SELCHANGE = 1;
inline constexpr WORD CBN_DBLCLK = 2;
inline constexpr WORD CBN_SETFOCUS = 3;
inline constexpr WORD CBN_KILLFOCUS = 4;
inline constexpr WORD CBN_EDITCHANGE = 5;
inline constexpr WORD CBN_EDITUPDATE = 6;
inline constexpr WORD CBN_DROPDOWN = 7;
inline constexpr WORD CBN_CLOSEUP = 8;
inline constexpr WORD CBN_SELENDOK = 9;
inline constexpr WORD CBN_SELENDCANCEL = 10;
inline constexpr WORD LBN_ERRSPACE = static_cast<WORD>(-2);
inline constexpr WORD LBN_SELCHANGE = 1;
inline constexpr WORD LBN_DBLCLK = 2;
inline constexpr WORD LBN_SELCANCEL = 3;
inline constexpr WORD LBN_SETFOCUS = 4;
inline constexpr WORD LBN_KILLFOCUS = 5;
inline constexpr WORD STN_CLICKED = 0;

// Notification codes of WM_NOTIFY (negative numbers as the platform counts
// them, held in an unsigned code).
inline constexpr UINT NM_FIRST = 0u;
inline constexpr UINT NM_OUTOFMEMORY = NM_FIRST - 1;
inline constexpr UINT NM_CLICK = NM_FIRST - 2;
inline constexpr UINT NM_DBLCLK = NM_FIRST - 3;
inline constexpr UINT NM_RETURN = NM_FIRST - 4;
inline constexpr UINT NM_RCLICK = NM_FIRST - 5;
inline constexpr UINT NM_RDBLCLK = NM_FIRST - 6;
inline constexpr UINT NM_SETFOCUS = NM_FIRST - 7;
inline constexpr UINT NM_KILLFOCUS = NM_FIRST - 8;
inline constexpr UINT NM_CUSTOMDRAW = NM_FIRST - 12;
inline constexpr UINT NM_HOVER = NM_FIRST - 13;
inline constexpr UINT NM_NCHITTEST = NM_FIRST - 14;
inline constexpr UINT NM_KEYDOWN = NM_FIRST - 15;
inline constexpr UINT NM_RELEASEDCAPTURE = NM_FIRST - 16;
inline constexpr UINT NM_SETCURSOR = NM_FIRST - 17;
inline constexpr UINT NM_CHAR = NM_FIRST - 18;
inline constexpr UINT TTN_FIRST = 0u - 520u;
inline constexpr UINT TTN_GETDISPINFO = TTN_FIRST - 10;  // the wide form
inline constexpr UINT TTN_SHOW = TTN_FIRST - 1;
inline constexpr UINT TTN_POP = TTN_FIRST - 2;
inline constexpr UINT TTN_LINKCLICK = TTN_FIRST - 3;
inline constexpr UINT LVN_FIRST = 0u - 100u;
inline constexpr UINT LVN_ITEMCHANGED = LVN_FIRST - 1;

// Results of WM_GETDLGCODE.
inline constexpr UINT DLGC_WANTARROWS = 0x0001;
inline constexpr UINT DLGC_WANTTAB = 0x0002;
inline constexpr UINT DLGC_WANTALLKEYS = 0x0004;
inline constexpr UINT DLGC_WANTMESSAGE = 0x0004;
inline constexpr UINT DLGC_HASSETSEL = 0x0008;
inline constexpr UINT DLGC_DEFPUSHBUTTON = 0x0010;
inline constexpr UINT DLGC_UNDEFPUSHBUTTON = 0x0020;
inline constexpr UINT DLGC_RADIOBUTTON = 0x0040;
inline constexpr UINT DLGC_WANTCHARS = 0x0080;
inline constexpr UINT DLGC_STATIC = 0x0100;
inline constexpr UINT DLGC_BUTTON = 0x2000;

// Show commands and WM_SHOWWINDOW status, WM_SIZE types.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_NORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_MAXIMIZE = 3;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_SHOWMINNOACTIVE = 7;
inline constexpr int SW_SHOWNA = 8;
inline constexpr int SW_RESTORE = 9;
inline constexpr int SW_SHOWDEFAULT = 10;
inline constexpr int SW_PARENTCLOSING = 1;
inline constexpr int SW_OTHERZOOM = 2;
inline constexpr int SW_PARENTOPENING = 3;
inline constexpr int SW_OTHERUNZOOM = 4;
inline constexpr int SIZE_RESTORED = 0;
inline constexpr int SIZE_MINIMIZED = 1;
inline constexpr int SIZE_MAXIMIZED = 2;
inline constexpr int SIZE_MAXSHOW = 3;
inline constexpr int SIZE_MAXHIDE = 4;

// SetWindowPos flags.
inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
inline constexpr UINT SWP_NOZORDER = 0x0004;
inline constexpr UINT SWP_NOREDRAW = 0x0008;
inline constexpr UINT SWP_NOACTIVATE = 0x0010;
inline constexpr UINT SWP_FRAMECHANGED = 0x0020;
inline constexpr UINT SWP_SHOWWINDOW = 0x0040;
inline constexpr UINT SWP_HIDEWINDOW = 0x0080;

// Index values of Get/SetWindowLongPtr; the dialog ones follow the pointer
// size of a 64-bit build.
inline constexpr int GWLP_WNDPROC = -4;
inline constexpr int GWLP_HINSTANCE = -6;
inline constexpr int GWLP_HWNDPARENT = -8;
inline constexpr int GWLP_ID = -12;
inline constexpr int GWL_STYLE = -16;
inline constexpr int GWL_EXSTYLE = -20;
inline constexpr int GWLP_USERDATA = -21;
inline constexpr int DWLP_MSGRESULT = 0;
inline constexpr int DWLP_DLGPROC = 8;
inline constexpr int DWLP_USER = 16;

// GetWindow relations.
inline constexpr UINT GW_HWNDFIRST = 0;
inline constexpr UINT GW_HWNDLAST = 1;
inline constexpr UINT GW_HWNDNEXT = 2;
inline constexpr UINT GW_HWNDPREV = 3;
inline constexpr UINT GW_OWNER = 4;
inline constexpr UINT GW_CHILD = 5;

// The virtual keys under their published names, one name to a value (the
// other names of a value follow below). The message tracer names keys from
// the same list.
#define QX_VIRTUAL_KEYS(X) \
    X(VK_LBUTTON, 0x01) \
    X(VK_RBUTTON, 0x02) \
    X(VK_CANCEL, 0x03) \
    X(VK_MBUTTON, 0x04) \
    X(VK_XBUTTON1, 0x05) \
    X(VK_XBUTTON2, 0x06) \
    X(VK_BACK, 0x08) \
    X(VK_TAB, 0x09) \
    X(VK_CLEAR, 0x0C) \
    X(VK_RETURN, 0x0D) \
    X(VK_SHIFT, 0x10) \
    X(VK_CONTROL, 0x11) \
    X(VK_MENU, 0x12) \
    X(VK_PAUSE, 0x13) \
    X(VK_CAPITAL, 0x14) \
    X(VK_KANA, 0x15) \
    X(VK_IME_ON, 0x16) \
    X(VK_JUNJA, 0x17) \
    X(VK_FINAL, 0x18) \
    X(VK_HANJA, 0x19) \
    X(VK_IME_OFF, 0x1A) \
    X(VK_ESCAPE, 0x1B) \
    X(VK_CONVERT, 0x1C) \
    X(VK_NONCONVERT, 0x1D) \
    X(VK_ACCEPT, 0x1E) \
    X(VK_MODECHANGE, 0x1F) \
    X(VK_SPACE, 0x20) \
    X(VK_PRIOR, 0x21) \
    X(VK_NEXT, 0x22) \
    X(VK_END, 0x23) \
    X(VK_HOME, 0x24) \
    X(VK_LEFT, 0x25) \
    X(VK_UP, 0x26) \
    X(VK_RIGHT, 0x27) \
    X(VK_DOWN, 0x28) \
    X(VK_SELECT, 0x29) \
    X(VK_PRINT, 0x2A) \
    X(VK_EXECUTE, 0x2B) \
    X(VK_SNAPSHOT, 0x2C) \
    X(VK_INSERT, 0x2D) \
    X(VK_DELETE, 0x2E) \
    X(VK_HELP, 0x2F) \
    X(VK_LWIN, 0x5B) \
    X(VK_RWIN, 0x5C) \
    X(VK_APPS, 0x5D) \
    X(VK_SLEEP, 0x5F) \
    X(VK_NUMPAD0, 0x60) \
    X(VK_NUMPAD1, 0x61) \
    X(VK_NUMPAD2, 0x62) \
    X(VK_NUMPAD3, 0x63) \
    X(VK_NUMPAD4, 0x64) \
    X(VK_NUMPAD5, 0x65) \
    X(VK_NUMPAD6, 0x66) \
    X(VK_NUMPAD7, 0x67) \
    X(VK_NUMPAD8, 0x68) \
    X(VK_NUMPAD9, 0x69) \
    X(VK_MULTIPLY, 0x6A) \
    X(VK_ADD, 0x6B) \
    X(VK_SEPARATOR, 0x6C) \
    X(VK_SUBTRACT, 0x6D) \
    X(VK_DECIMAL, 0x6E) \
    X(VK_DIVIDE, 0x6F) \
    X(VK_F1, 0x70) \
    X(VK_F2, 0x71) \
    X(VK_F3, 0x72) \
    X(VK_F4, 0x73) \
    X(VK_F5, 0x74) \
    X(VK_F6, 0x75) \
    X(VK_F7, 0x76) \
    X(VK_F8, 0x77) \
    X(VK_F9, 0x78) \
    X(VK_F10, 0x79) \
    X(VK_F11, 0x7A) \
    X(VK_F12, 0x7B) \
    X(VK_F13, 0x7C) \
    X(VK_F14, 0x7D) \
    X(VK_F15, 0x7E) \
    X(VK_F16, 0x7F) \
    X(VK_F17, 0x80) \
    X(VK_F18, 0x81) \
    X(VK_F19, 0x82) \
    X(VK_F20, 0x83) \
    X(VK_F21, 0x84) \
    X(VK_F22, 0x85) \
    X(VK_F23, 0x86) \
    X(VK_F24, 0x87) \
    X(VK_NAVIGATION_VIEW, 0x88) \
    X(VK_NAVIGATION_MENU, 0x89) \
    X(VK_NAVIGATION_UP, 0x8A) \
    X(VK_NAVIGATION_DOWN, 0x8B) \
    X(VK_NAVIGATION_LEFT, 0x8C) \
    X(VK_NAVIGATION_RIGHT, 0x8D) \
    X(VK_NAVIGATION_ACCEPT, 0x8E) \
    X(VK_NAVIGATION_CANCEL, 0x8F) \
    X(VK_NUMLOCK, 0x90) \
    X(VK_SCROLL, 0x91) \
    X(VK_OEM_NEC_EQUAL, 0x92) \
    X(VK_OEM_FJ_MASSHOU, 0x93) \
    X(VK_OEM_FJ_TOUROKU, 0x94) \
    X(VK_OEM_FJ_LOYA, 0x95) \
    X(VK_OEM_FJ_ROYA, 0x96) \
    X(VK_LSHIFT, 0xA0) \
    X(VK_RSHIFT, 0xA1) \
    X(VK_LCONTROL, 0xA2) \
    X(VK_RCONTROL, 0xA3) \
    X(VK_LMENU, 0xA4) \
    X(VK_RMENU, 0xA5) \
    X(VK_BROWSER_BACK, 0xA6) \
    X(VK_BROWSER_FORWARD, 0xA7) \
    X(VK_BROWSER_REFRESH, 0xA8) \
    X(VK_BROWSER_STOP, 0xA9) \
    X(VK_BROWSER_SEARCH, 0xAA) \
    X(VK_BROWSER_FAVORITES, 0xAB) \
    X(VK_BROWSER_HOME, 0xAC) \
    X(VK_VOLUME_MUTE, 0xAD) \
    X(VK_VOLUME_DOWN, 0xAE) \
    X(VK_VOLUME_UP, 0xAF) \
    X(VK_MEDIA_NEXT_TRACK, 0xB0) \
    X(VK_MEDIA_PREV_TRACK, 0xB1) \
    X(VK_MEDIA_STOP, 0xB2) \
    X(VK_MEDIA_PLAY_PAUSE, 0xB3) \
    X(VK_LAUNCH_MAIL, 0xB4) \
    X(VK_LAUNCH_MEDIA_SELECT, 0xB5) \
    X(VK_LAUNCH_APP1, 0xB6) \
    X(VK_LAUNCH_APP2, 0xB7)

#define QX_DECLARE_KEY(name, value) inline constexpr UINT name = value;
QX_VIRTUAL_KEYS(QX_DECLARE_KEY)
#undef QX_DECLARE_KEY
inline constexpr UINT VK_HANGEUL = VK_KANA;
inline constexpr UINT VK_HANGUL = VK_KANA;
inline constexpr UINT VK_KANJI = VK_HANJA;
inline constexpr UINT VK_OEM_FJ_JISHO = VK_OEM_NEC_EQUAL;

// Hit-test codes of WM_NCHITTEST, one name to a value; the message tracer
// names them from this list.
#define QX_HIT_TEST_CODES(X) \
    X(HTERROR, -2) \
    X(HTTRANSPARENT, -1) \
    X(HTNOWHERE, 0) \
    X(HTCLIENT, 1) \
    X(HTCAPTION, 2) \
    X(HTSYSMENU, 3) \
    X(HTGROWBOX, 4) \
    X(HTMENU, 5) \
    X(HTHSCROLL, 6) \
    X(HTVSCROLL, 7) \
    X(HTMINBUTTON, 8) \
    X(HTMAXBUTTON, 9) \
    X(HTLEFT, 10) \
    X(HTRIGHT, 11) \
    X(HTTOP, 12) \
    X(HTTOPLEFT, 13) \
    X(HTTOPRIGHT, 14) \
    X(HTBOTTOM, 15) \
    X(HTBOTTOMLEFT, 16) \
    X(HTBOTTOMRIGHT, 17) \
    X(HTBORDER, 18) \
    X(HTOBJECT, 19) \
    X(HTCLOSE, 20) \
    X(HTHELP, 21)
#define QX_DECLARE_HIT_TEST(name, value) inline constexpr int name = value;
QX_HIT_TEST_CODES(QX_DECLARE_HIT_TEST)
#undef QX_DECLARE_HIT_TEST
inline constexpr int HTSIZE = HTGROWBOX;
inline constexpr int HTREDUCE = HTMINBUTTON;
inline constexpr int HTZOOM = HTMAXBUTTON;
inline constexpr int HTSIZEFIRST = HTLEFT;
inline constexpr int HTSIZELAST = HTBOTTOMRIGHT;

// Mouse-key flags of mouse messages.
inline constexpr WPARAM MK_LBUTTON = 0x0001;
inline constexpr WPARAM MK_RBUTTON = 0x0002;
inline constexpr WPARAM MK_SHIFT = 0x0004;
inline constexpr WPARAM MK_CONTROL = 0x0008;
inline constexpr WPARAM MK_MBUTTON = 0x0010;
inline constexpr WPARAM MK_XBUTTON1 = 0x0020;
inline constexpr WPARAM MK_XBUTTON2 = 0x0040;

// WM_SYSCOMMAND commands.
inline constexpr WPARAM SC_SIZE = 0xF000;  // WM_SYSCOMMAND commands
inline constexpr WPARAM SC_MOVE = 0xF010;
inline constexpr WPARAM SC_MINIMIZE = 0xF020;
inline constexpr WPARAM SC_MAXIMIZE = 0xF030;
inline constexpr WPARAM SC_CLOSE = 0xF060;

// WM_CHANGEUISTATE actions and flags.
inline constexpr WORD UIS_SET = 1;
inline constexpr WORD UIS_CLEAR = 2;
inline constexpr WORD UIS_INITIALIZE = 3;
inline constexpr WORD UISF_HIDEFOCUS = 0x1;
inline constexpr WORD UISF_HIDEACCEL = 0x2;

// List view item states, masks and GetNextItem flags.
inline constexpr UINT LVIS_FOCUSED = 0x0001;
inline constexpr UINT LVIS_SELECTED = 0x0002;
inline constexpr UINT LVIF_TEXT = 0x0001;
inline constexpr UINT LVIF_IMAGE = 0x0002;
inline constexpr UINT LVIF_PARAM = 0x0004;
inline constexpr UINT LVIF_STATE = 0x0008;
inline constexpr UINT LVNI_ALL = 0x0000;
inline constexpr UINT LVNI_FOCUSED = 0x0001;
inline constexpr UINT LVNI_SELECTED = 0x0002;

// Results of list and combo boxes.
inline constexpr int LB_OKAY = 0;
inline constexpr int LB_ERR = -1;
inline constexpr int LB_ERRSPACE = -2;
inline constexpr int CB_OKAY = 0;
inline constexpr int CB_ERR = -1;
inline constexpr int CB_ERRSPACE = -2;

// System metrics and colours the family asks for.
inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
inline constexpr int SM_CXVSCROLL = 2;
inline constexpr int SM_CYHSCROLL = 3;
inline constexpr int SM_CYCAPTION = 4;
inline constexpr int SM_CXBORDER = 5;
inline constexpr int SM_CYBORDER = 6;
inline constexpr int SM_CXDLGFRAME = 7;
inline constexpr int SM_CYDLGFRAME = 8;
inline constexpr int SM_CXICON = 11;
inline constexpr int SM_CYICON = 12;
inline constexpr int SM_CXFULLSCREEN = 16;
inline constexpr int SM_CYFULLSCREEN = 17;
inline constexpr int SM_CXFRAME = 32;
inline constexpr int SM_CYFRAME = 33;
inline constexpr int SM_CXSIZE = 30;
inline constexpr int SM_CYSIZE = 31;
inline constexpr int SM_CXSMICON = 49;
inline constexpr int SM_CYSMICON = 50;
inline constexpr int SM_CMONITORS = 80;

inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWFRAME = 6;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_CAPTIONTEXT = 9;
inline constexpr int COLOR_ACTIVECAPTION = 2;
inline constexpr int COLOR_HIGHLIGHT = 13;
inline constexpr int COLOR_HIGHLIGHTTEXT = 14;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_3DFACE = COLOR_BTNFACE;
inline constexpr int COLOR_BTNSHADOW = 16;
inline constexpr int COLOR_GRAYTEXT = 17;
inline constexpr int COLOR_BTNTEXT = 18;
inline constexpr int COLOR_BTNHIGHLIGHT = 20;
inline constexpr int COLOR_3DDKSHADOW = 21;
inline constexpr int COLOR_3DLIGHT = 22;

// IDs of dialog controls that mean something to the dialog manager.
inline constexpr int IDC_STATIC = -1;
inline constexpr int IDHELP = 9;
inline constexpr int IDCLOSE = 8;
