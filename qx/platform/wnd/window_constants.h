// Message, notification, style and flag constants of the window layer with
// their published numeric values, at global scope as the family's window
// code uses them. The named messages come from message_list.h, which the
// message tracer reads too.
#pragma once

#include "qx/platform/os/message_box.h"  // MB_ flags and ID results
#include "qx/platform/wnd/message_list.h"
#include "qx/platform/wnd/window_types.h"

#define QX_DECLARE_MESSAGE(name, value) name = value,
enum : UINT { QX_WINDOW_MESSAGES(QX_DECLARE_MESSAGE) };
#undef QX_DECLARE_MESSAGE

// The wide forms under the names the family's code uses.
enum : UINT {
    EM_SETLIMITTEXT = EM_LIMITTEXT,
    LVM_GETITEM = LVM_GETITEMW,
    LVM_SETITEM = LVM_SETITEMW,
    LVM_INSERTITEM = LVM_INSERTITEMW,
    LVM_INSERTCOLUMN = LVM_INSERTCOLUMNW,
    LVM_GETITEMTEXT = LVM_GETITEMTEXTW,
    LVM_SETITEMTEXT = LVM_SETITEMTEXTW,
};

// Button, dialog and progress-bar messages (not named by the tracer).
enum : UINT {
    BM_GETCHECK = 0x00F0,
    BM_SETCHECK = 0x00F1,
    BM_GETSTATE = 0x00F2,
    BM_SETSTATE = 0x00F3,
    BM_SETSTYLE = 0x00F4,
    BM_CLICK = 0x00F5,
    DM_GETDEFID = WM_USER + 0,
    DM_SETDEFID = WM_USER + 1,
    PBM_SETRANGE = WM_USER + 1,
    PBM_SETPOS = WM_USER + 2,
    PBM_DELTAPOS = WM_USER + 3,
    PBM_SETSTEP = WM_USER + 4,
    PBM_STEPIT = WM_USER + 5,
    PBM_SETRANGE32 = WM_USER + 6,
    PBM_GETRANGE = WM_USER + 7,
    PBM_GETPOS = WM_USER + 8,
};

// Window styles.
enum : DWORD {
    WS_OVERLAPPED = 0x00000000,
    WS_TABSTOP = 0x00010000,
    WS_MAXIMIZEBOX = 0x00010000,
    WS_GROUP = 0x00020000,
    WS_MINIMIZEBOX = 0x00020000,
    WS_THICKFRAME = 0x00040000,
    WS_SIZEBOX = WS_THICKFRAME,
    WS_SYSMENU = 0x00080000,
    WS_HSCROLL = 0x00100000,
    WS_VSCROLL = 0x00200000,
    WS_DLGFRAME = 0x00400000,
    WS_BORDER = 0x00800000,
    WS_CAPTION = 0x00C00000,
    WS_MAXIMIZE = 0x01000000,
    WS_CLIPCHILDREN = 0x02000000,
    WS_CLIPSIBLINGS = 0x04000000,
    WS_DISABLED = 0x08000000,
    WS_VISIBLE = 0x10000000,
    WS_MINIMIZE = 0x20000000,
    WS_CHILD = 0x40000000,
    WS_POPUP = 0x80000000,
};

// Extended window styles.
enum : DWORD {
    WS_EX_DLGMODALFRAME = 0x00000001,
    WS_EX_NOPARENTNOTIFY = 0x00000004,
    WS_EX_TOPMOST = 0x00000008,
    WS_EX_TRANSPARENT = 0x00000020,
    WS_EX_TOOLWINDOW = 0x00000080,
    WS_EX_WINDOWEDGE = 0x00000100,
    WS_EX_CLIENTEDGE = 0x00000200,
    WS_EX_CONTEXTHELP = 0x00000400,
    WS_EX_STATICEDGE = 0x00020000,
    WS_EX_CONTROLPARENT = 0x00010000,
};

// Button styles; the low four bits are the button's kind.
enum : DWORD {
    BS_PUSHBUTTON = 0x0,
    BS_DEFPUSHBUTTON = 0x1,
    BS_CHECKBOX = 0x2,
    BS_AUTOCHECKBOX = 0x3,
    BS_RADIOBUTTON = 0x4,
    BS_3STATE = 0x5,
    BS_AUTO3STATE = 0x6,
    BS_GROUPBOX = 0x7,
    BS_USERBUTTON = 0x8,
    BS_AUTORADIOBUTTON = 0x9,
    BS_OWNERDRAW = 0xB,
    BS_TYPEMASK = 0xF,
    BS_LEFTTEXT = 0x20,
    BS_MULTILINE = 0x2000,
};

enum : int { BST_UNCHECKED = 0, BST_CHECKED = 1, BST_INDETERMINATE = 2, BST_PUSHED = 4, BST_FOCUS = 8 };

// Edit styles.
enum : DWORD {
    ES_LEFT = 0x0000,
    ES_CENTER = 0x0001,
    ES_RIGHT = 0x0002,
    ES_MULTILINE = 0x0004,
    ES_UPPERCASE = 0x0008,
    ES_LOWERCASE = 0x0010,
    ES_PASSWORD = 0x0020,
    ES_AUTOVSCROLL = 0x0040,
    ES_AUTOHSCROLL = 0x0080,
    ES_NOHIDESEL = 0x0100,
    ES_READONLY = 0x0800,
    ES_WANTRETURN = 0x1000,
    ES_NUMBER = 0x2000,
};

// Static styles.
enum : DWORD {
    SS_LEFT = 0x00,
    SS_CENTER = 0x01,
    SS_RIGHT = 0x02,
    SS_ICON = 0x03,
    SS_BLACKRECT = 0x04,
    SS_LEFTNOWORDWRAP = 0x0C,
    SS_BITMAP = 0x0E,
    SS_NOTIFY = 0x0100,
    SS_SUNKEN = 0x1000,
};

// Combo box and list box styles.
enum : DWORD {
    CBS_SIMPLE = 0x0001,
    CBS_DROPDOWN = 0x0002,
    CBS_DROPDOWNLIST = 0x0003,
    CBS_AUTOHSCROLL = 0x0040,
    CBS_SORT = 0x0100,
    CBS_HASSTRINGS = 0x0200,
    LBS_NOTIFY = 0x0001,
    LBS_SORT = 0x0002,
    LBS_MULTIPLESEL = 0x0008,
    LBS_HASSTRINGS = 0x0040,
    LBS_EXTENDEDSEL = 0x0800,
    LBS_STANDARD = 0x00A00003,
};

// List view styles.
enum : DWORD {
    LVS_ICON = 0x0000,
    LVS_REPORT = 0x0001,
    LVS_SMALLICON = 0x0002,
    LVS_LIST = 0x0003,
    LVS_SINGLESEL = 0x0004,
    LVS_SHOWSELALWAYS = 0x0008,
};

// Progress bar styles.
enum : DWORD { PBS_SMOOTH = 0x01, PBS_VERTICAL = 0x04 };

// Dialog styles.
enum : DWORD {
    DS_ABSALIGN = 0x01,
    DS_SYSMODAL = 0x02,
    DS_LOCALEDIT = 0x20,
    DS_SETFONT = 0x40,
    DS_MODALFRAME = 0x80,
    DS_NOIDLEMSG = 0x100,
    DS_SETFOREGROUND = 0x200,
    DS_3DLOOK = 0x0004,
    DS_FIXEDSYS = 0x0008,
    DS_NOFAILCREATE = 0x0010,
    DS_CONTROL = 0x0400,
    DS_CENTER = 0x0800,
    DS_CENTERMOUSE = 0x1000,
    DS_CONTEXTHELP = 0x2000,
    DS_SHELLFONT = DS_SETFONT | DS_FIXEDSYS,
};

// Notification codes of WM_COMMAND.
enum : WORD {
    BN_CLICKED = 0,
    BN_PAINT = 1,
    BN_PUSHED = 2,
    BN_HILITE = BN_PUSHED,
    BN_UNPUSHED = 3,
    BN_UNHILITE = BN_UNPUSHED,
    BN_DISABLE = 4,
    BN_DBLCLK = 5,
    BN_DOUBLECLICKED = BN_DBLCLK,
    BN_SETFOCUS = 6,
    BN_KILLFOCUS = 7,
    EN_SETFOCUS = 0x0100,
    EN_KILLFOCUS = 0x0200,
    EN_CHANGE = 0x0300,
    EN_UPDATE = 0x0400,
    EN_ERRSPACE = 0x0500,
    EN_MAXTEXT = 0x0501,
    EN_HSCROLL = 0x0601,
    EN_VSCROLL = 0x0602,
    CBN_ERRSPACE = static_cast<WORD>(-1),
    CBN_SELCHANGE = 1,
    CBN_DBLCLK = 2,
    CBN_SETFOCUS = 3,
    CBN_KILLFOCUS = 4,
    CBN_EDITCHANGE = 5,
    CBN_EDITUPDATE = 6,
    CBN_DROPDOWN = 7,
    CBN_CLOSEUP = 8,
    CBN_SELENDOK = 9,
    CBN_SELENDCANCEL = 10,
    LBN_ERRSPACE = static_cast<WORD>(-2),
    LBN_SELCHANGE = 1,
    LBN_DBLCLK = 2,
    LBN_SELCANCEL = 3,
    LBN_SETFOCUS = 4,
    LBN_KILLFOCUS = 5,
};

// Notification codes of WM_NOTIFY (negative numbers as the platform counts
// them, held in an unsigned code).
enum : UINT {
    NM_FIRST = 0u,
    NM_OUTOFMEMORY = NM_FIRST - 1,
    NM_CLICK = NM_FIRST - 2,
    NM_DBLCLK = NM_FIRST - 3,
    NM_RETURN = NM_FIRST - 4,
    NM_RCLICK = NM_FIRST - 5,
    NM_RDBLCLK = NM_FIRST - 6,
    NM_SETFOCUS = NM_FIRST - 7,
    NM_KILLFOCUS = NM_FIRST - 8,
    NM_CUSTOMDRAW = NM_FIRST - 12,
    NM_HOVER = NM_FIRST - 13,
    NM_NCHITTEST = NM_FIRST - 14,
    NM_KEYDOWN = NM_FIRST - 15,
    NM_RELEASEDCAPTURE = NM_FIRST - 16,
    NM_SETCURSOR = NM_FIRST - 17,
    NM_CHAR = NM_FIRST - 18,
    TTN_FIRST = 0u - 520u,
    TTN_GETDISPINFO = TTN_FIRST - 10,  // the wide form
    TTN_SHOW = TTN_FIRST - 1,
    TTN_POP = TTN_FIRST - 2,
    TTN_LINKCLICK = TTN_FIRST - 3,
    LVN_FIRST = 0u - 100u,
    LVN_ITEMCHANGED = LVN_FIRST - 1,
};

// Results of WM_GETDLGCODE.
enum : UINT {
    DLGC_WANTARROWS = 0x0001,
    DLGC_WANTTAB = 0x0002,
    DLGC_WANTALLKEYS = 0x0004,
    DLGC_WANTMESSAGE = 0x0004,
    DLGC_HASSETSEL = 0x0008,
    DLGC_DEFPUSHBUTTON = 0x0010,
    DLGC_UNDEFPUSHBUTTON = 0x0020,
    DLGC_RADIOBUTTON = 0x0040,
    DLGC_WANTCHARS = 0x0080,
    DLGC_STATIC = 0x0100,
    DLGC_BUTTON = 0x2000,
};

// Show commands and WM_SHOWWINDOW status, WM_SIZE types.
enum : int {
    SW_HIDE = 0,
    SW_SHOWNORMAL = 1,
    SW_NORMAL = 1,
    SW_SHOWMINIMIZED = 2,
    SW_SHOWMAXIMIZED = 3,
    SW_MAXIMIZE = 3,
    SW_SHOWNOACTIVATE = 4,
    SW_SHOW = 5,
    SW_MINIMIZE = 6,
    SW_SHOWMINNOACTIVE = 7,
    SW_SHOWNA = 8,
    SW_RESTORE = 9,
    SW_SHOWDEFAULT = 10,
    SW_PARENTCLOSING = 1,
    SW_OTHERZOOM = 2,
    SW_PARENTOPENING = 3,
    SW_OTHERUNZOOM = 4,
    SIZE_RESTORED = 0,
    SIZE_MINIMIZED = 1,
    SIZE_MAXIMIZED = 2,
    SIZE_MAXSHOW = 3,
    SIZE_MAXHIDE = 4,
};

// SetWindowPos flags.
enum : UINT {
    SWP_NOSIZE = 0x0001,
    SWP_NOMOVE = 0x0002,
    SWP_NOZORDER = 0x0004,
    SWP_NOREDRAW = 0x0008,
    SWP_NOACTIVATE = 0x0010,
    SWP_FRAMECHANGED = 0x0020,
    SWP_SHOWWINDOW = 0x0040,
    SWP_HIDEWINDOW = 0x0080,
};

// Index values of Get/SetWindowLongPtr; the dialog ones follow the pointer
// size of a 64-bit build.
enum : int {
    GWLP_WNDPROC = -4,
    GWLP_HINSTANCE = -6,
    GWLP_HWNDPARENT = -8,
    GWLP_ID = -12,
    GWL_STYLE = -16,
    GWL_EXSTYLE = -20,
    GWLP_USERDATA = -21,
    DWLP_MSGRESULT = 0,
    DWLP_DLGPROC = 8,
    DWLP_USER = 16,
};

// GetWindow relations.
enum : UINT { GW_HWNDFIRST = 0, GW_HWNDLAST = 1, GW_HWNDNEXT = 2, GW_HWNDPREV = 3, GW_OWNER = 4, GW_CHILD = 5 };

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

#define QX_DECLARE_CONSTANT(name, value) name = value,
enum : UINT { QX_VIRTUAL_KEYS(QX_DECLARE_CONSTANT) };
enum : UINT { VK_HANGEUL = VK_KANA, VK_HANGUL = VK_KANA, VK_KANJI = VK_HANJA, VK_OEM_FJ_JISHO = VK_OEM_NEC_EQUAL };

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
enum : int { QX_HIT_TEST_CODES(QX_DECLARE_CONSTANT) };
enum : int { HTSIZE = HTGROWBOX, HTREDUCE = HTMINBUTTON, HTZOOM = HTMAXBUTTON, HTSIZEFIRST = HTLEFT, HTSIZELAST = HTBOTTOMRIGHT };
#undef QX_DECLARE_CONSTANT

// Mouse-key flags of mouse messages.
enum : WPARAM {
    MK_LBUTTON = 0x0001,
    MK_RBUTTON = 0x0002,
    MK_SHIFT = 0x0004,
    MK_CONTROL = 0x0008,
    MK_MBUTTON = 0x0010,
    MK_XBUTTON1 = 0x0020,
    MK_XBUTTON2 = 0x0040,
};

// WM_SYSCOMMAND commands.
enum : WPARAM { SC_SIZE = 0xF000, SC_MOVE = 0xF010, SC_MINIMIZE = 0xF020, SC_MAXIMIZE = 0xF030, SC_CLOSE = 0xF060 };

// WM_CHANGEUISTATE actions and flags.
enum : WORD { UIS_SET = 1, UIS_CLEAR = 2, UIS_INITIALIZE = 3, UISF_HIDEFOCUS = 0x1, UISF_HIDEACCEL = 0x2 };

// List view item states, masks and GetNextItem flags.
enum : UINT {
    LVIS_FOCUSED = 0x0001,
    LVIS_SELECTED = 0x0002,
    LVIF_TEXT = 0x0001,
    LVIF_IMAGE = 0x0002,
    LVIF_PARAM = 0x0004,
    LVIF_STATE = 0x0008,
    LVNI_ALL = 0x0000,
    LVNI_FOCUSED = 0x0001,
    LVNI_SELECTED = 0x0002,
};

// Results of list and combo boxes.
enum : int { LB_OKAY = 0, LB_ERR = -1, LB_ERRSPACE = -2, CB_OKAY = 0, CB_ERR = -1, CB_ERRSPACE = -2 };

// System metrics and colours the family asks for.
enum : int {
    SM_CXSCREEN = 0,
    SM_CYSCREEN = 1,
    SM_CXVSCROLL = 2,
    SM_CYHSCROLL = 3,
    SM_CYCAPTION = 4,
    SM_CXBORDER = 5,
    SM_CYBORDER = 6,
    SM_CXDLGFRAME = 7,
    SM_CYDLGFRAME = 8,
    SM_CXICON = 11,
    SM_CYICON = 12,
    SM_CXFULLSCREEN = 16,
    SM_CYFULLSCREEN = 17,
    SM_CXFRAME = 32,
    SM_CYFRAME = 33,
    SM_CXSIZE = 30,
    SM_CYSIZE = 31,
    SM_CXSMICON = 49,
    SM_CYSMICON = 50,
    SM_CMONITORS = 80,
};

enum : int {
    COLOR_WINDOW = 5,
    COLOR_WINDOWFRAME = 6,
    COLOR_WINDOWTEXT = 8,
    COLOR_CAPTIONTEXT = 9,
    COLOR_ACTIVECAPTION = 2,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNFACE = 15,
    COLOR_3DFACE = COLOR_BTNFACE,
    COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
};

// IDs of dialog controls that mean something to the dialog manager.
enum : int { IDC_STATIC = -1, IDHELP = 9, IDCLOSE = 8 };
