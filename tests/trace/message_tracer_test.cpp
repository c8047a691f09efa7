#include "qx/trace/message_tracer.h"

#include <gtest/gtest.h>

#include <string>

#include "qx/platform/wnd/window.h"
#include "tests/trace/tracer_fixture.h"

namespace qx {
namespace {

constexpr const wchar_t* kDashes = L"--------------------------------------\n";

using MessageTracerTest = test::TracerTest;

TEST_F(MessageTracerTest, NumbersTheLinesAndWritesThePrefix) {
    EXPECT_EQ(Trace(WM_TIMER, 7), L"000: WM_TIMER, ID: 7\n");
    EXPECT_EQ(Trace(WM_TIMER, 8, 0, 0, L"Main: "), L"001: Main: WM_TIMER, ID: 8\n");
    for (int i = 2; i < 1000; ++i) Trace(WM_CLOSE);
    EXPECT_EQ(Trace(WM_CLOSE), L"1000: WM_CLOSE, 0x0, 0x0\n");
}

// A dashed line marks a pause of more than a second since the last traced
// message; the first message follows no pause.
TEST_F(MessageTracerTest, MarksAPauseOfMoreThanASecond) {
    EXPECT_EQ(Trace(WM_TIMER, 1), L"000: WM_TIMER, ID: 1\n");
    Advance(1500);
    EXPECT_EQ(Trace(WM_TIMER, 2), std::wstring(kDashes) + L"001: WM_TIMER, ID: 2\n");
    Advance(10);
    EXPECT_EQ(Trace(WM_TIMER, 3), L"002: WM_TIMER, ID: 3\n");
    Advance(1000);
    EXPECT_EQ(Trace(WM_TIMER, 4), L"003: WM_TIMER, ID: 4\n");
    Advance(1001);
    EXPECT_EQ(Trace(WM_TIMER, 5), std::wstring(kDashes) + L"004: WM_TIMER, ID: 5\n");
}

TEST_F(MessageTracerTest, MeasuresThePauseAcrossTheClocksWrap) {
    SetNow(0xFFFFFF00);
    Trace(WM_TIMER, 1);
    SetNow(0x1'0000'0100);  // 512 ms later, past the 32-bit wrap
    EXPECT_EQ(Trace(WM_TIMER, 2), L"001: WM_TIMER, ID: 2\n");
    SetNow(0x1'0000'0100 + 2000);
    EXPECT_EQ(Trace(WM_TIMER, 3), std::wstring(kDashes) + L"002: WM_TIMER, ID: 3\n");
}

TEST_F(MessageTracerTest, SilencedMessagesWriteNothingAndDoNotCount) {
    DontTraceMessages(WM_MOUSEMOVE, WM_NCHITTEST, WM_SETCURSOR, 0u);
    EXPECT_EQ(Trace(WM_MOUSEMOVE, 0, MAKELPARAM(1, 2)), L"");
    EXPECT_EQ(Trace(WM_SETCURSOR), L"");
    EXPECT_EQ(Trace(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 2)), L"000: WM_LBUTTONDOWN, Keys: MK_LBUTTON, Pos: (1, 2)\n");
    // A silenced message is no traced message: the pause since the last
    // traced one still shows.
    Advance(900);
    Trace(WM_NCHITTEST);
    Advance(900);
    EXPECT_EQ(Trace(WM_LBUTTONUP), std::wstring(kDashes) + L"001: WM_LBUTTONUP, Keys: , Pos: (0, 0)\n");
    // Messages the tracer does not name cannot be silenced.
    DontTraceMessages(0x8001u, 0u);
    EXPECT_EQ(Trace(0x8001, 1, 2), L"002:  0x8001, 0x1, 0x2\n");
    // A reset traces everything again.
    ResetMessageTracerForTesting();
    EXPECT_EQ(Trace(WM_MOUSEMOVE), L"000: WM_MOUSEMOVE, Keys: , Pos: (0, 0)\n");
}

TEST_F(MessageTracerTest, NamesUnlistedMessagesByTheRangeTheyFallIn) {
    struct Case {
        unsigned message;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {0x1005, L"000: LVM_ 0x1005, 0x0, 0x0\n"},  // a narrow form the list leaves out
        {0x1050, L"000: LVM_ 0x1050, 0x0, 0x0\n"}, {0x10FF, L"000: LVM_ 0x10FF, 0x0, 0x0\n"},
        {0x1100, L"000: TM_ 0x1100, 0x0, 0x0\n"},   {0x1234, L"000: HDM_ 0x1234, 0x0, 0x0\n"},
        {0x13FF, L"000: TCM_ 0x13FF, 0x0, 0x0\n"},  {0x1400, L"000: PGM_ 0x1400, 0x0, 0x0\n"},
        {0x1FFF, L"000: PGM_ 0x1FFF, 0x0, 0x0\n"},  {0x2000, L"000: CCM_ 0x2000, 0x0, 0x0\n"},
        {0x21FF, L"000: CCM_ 0x21FF, 0x0, 0x0\n"},  {0x2200, L"000:  0x2200, 0x0, 0x0\n"},
        {0x0405, L"000:  0x405, 0x0, 0x0\n"},       {0x0FFF, L"000:  0xFFF, 0x0, 0x0\n"},
        {0x0004, L"000:  0x4, 0x0, 0x0\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        ResetMessageTracerForTesting();
        EXPECT_EQ(Trace(c.message), c.expected);
    }
}

struct DetailCase {
    const char* label;
    unsigned message;
    unsigned wParam;
    long lParam;
    long result;
    const wchar_t* expected;  // the line without its number
};

long Param(const void* pointer) { return reinterpret_cast<long>(pointer); }
long Pos(int x, int y) { return static_cast<long>(MAKELPARAM(static_cast<unsigned>(x), static_cast<unsigned>(y))); }

TEST_F(MessageTracerTest, DescribesEachMessageByItsParameters) {
    static const wchar_t kHello[] = L"Hello";
    static const wchar_t kUnterminated[] = {L'x', L'y', L'z', L'Q', L'Q', 0};
    static WINDOWPOS windowPos;
    windowPos.x = 1, windowPos.y = 2, windowPos.cx = 300, windowPos.cy = -4;
    static NMHDR click, tip, itemChanged;
    click.code = NM_CLICK;
    tip.code = TTN_GETDISPINFO;
    itemChanged.code = LVN_ITEMCHANGED;

    const DetailCase cases[] = {
        {"no details", WM_DESTROY, 1, 2, 0, L"WM_DESTROY,  "},
        {"no details", WM_NCDESTROY, 0, 0, 0, L"WM_NCDESTROY,  "},
        {"position", WM_MOVE, 0, Pos(10, 20), 0, L"WM_MOVE, Pos: (10, 20)"},
        {"negative position", WM_NCHITTEST, 0, Pos(-5, 7), 0, L"WM_NCHITTEST, Pos: (-5, 7)"},
        {"size", WM_SIZE, SIZE_MAXIMIZED, Pos(640, 480), 0, L"WM_SIZE, Type: SIZE_MAXIMIZED, Width: 640, Height: 480"},
        {"unknown size type", WM_SIZE, 7, Pos(1, 2), 0, L"WM_SIZE, Type: 7, Width: 1, Height: 2"},
        {"activate", WM_ACTIVATE, MAKEWPARAM(1, 1), 0x1234, 0,
         L"WM_ACTIVATE, Active: True, Minimized: True, HWND Previous: 0x1234"},
        {"deactivate", WM_ACTIVATE, 0, 0, 0, L"WM_ACTIVATE, Active: False, Minimized: False, HWND Previous: 0x0"},
        {"focus", WM_SETFOCUS, 0xABC, 0, 0, L"WM_SETFOCUS, HWND: 0xabc"},
        {"wide handle", WM_CAPTURECHANGED, 0, 0x123456789AL, 0, L"WM_CAPTURECHANGED, HWND: 0x123456789a"},
        {"enable", WM_ENABLE, 1, 0, 0, L"WM_ENABLE, Flag: True"},
        {"text", WM_SETTEXT, 0, Param(kHello), 0, L"WM_SETTEXT, Text: 'Hello'"},
        {"no text", WM_SETTEXT, 0, 0, 0, L"WM_SETTEXT, Text: ''"},
        {"text buffer", WM_GETTEXT, 32, Param(kHello), 5, L"WM_GETTEXT, Length: 32, Text: 'Hello'"},
        {"buffer read to its length only", WM_GETTEXT, 3, Param(kUnterminated), 0,
         L"WM_GETTEXT, Length: 3, Text: 'xyz'"},
        {"no buffer", WM_GETTEXT, 32, 0, 0, L"WM_GETTEXT, Length: 32, Text: ''"},
        {"text length", WM_GETTEXTLENGTH, 0, 0, 42, L"WM_GETTEXTLENGTH, Received: 42"},
        {"paint", WM_PAINT, 0x10, 0, 0, L"WM_PAINT, HDC: 0x10"},
        {"show", WM_SHOWWINDOW, 1, SW_PARENTOPENING, 0, L"WM_SHOWWINDOW, Show: True, Status: SW_PARENTOPENING"},
        {"show, other status", WM_SHOWWINDOW, 0, 7, 0, L"WM_SHOWWINDOW, Show: False, Status: 7"},
        {"cursor", WM_SETCURSOR, 0x50, Pos(HTCLIENT, WM_MOUSEMOVE), 0,
         L"WM_SETCURSOR, HitTest: HTCLIENT, message: WM_MOUSEMOVE"},
        {"cursor on an error", WM_SETCURSOR, 0x50, Pos(HTERROR, WM_LBUTTONDOWN), 0,
         L"WM_SETCURSOR, HitTest: HTERROR, message: WM_LBUTTONDOWN"},
        {"cursor, unknown code", WM_SETCURSOR, 0, Pos(99, 0x1234), 0,
         L"WM_SETCURSOR, HitTest: 99, message: HDM_ 0x1234"},
        {"mouse activate", WM_MOUSEACTIVATE, 0x20, Pos(HTCAPTION, WM_RBUTTONDOWN), 0,
         L"WM_MOUSEACTIVATE, HWND Parent: 0x20, HitTest: HTCAPTION, message: WM_RBUTTONDOWN"},
        {"window position", WM_WINDOWPOSCHANGED, 0, Param(&windowPos), 0,
         L"WM_WINDOWPOSCHANGED, Pos: (x:1, y:2, cx:300, cy:-4)"},
        {"no window position", WM_WINDOWPOSCHANGING, 0, 0, 0, L"WM_WINDOWPOSCHANGING, Pos: (null)"},
        {"notify", WM_NOTIFY, 5, Param(&click), 0, L"WM_NOTIFY, idCtrl: 5, Notify code: NM_CLICK"},
        {"tooltip notify", WM_NOTIFY, 6, Param(&tip), 0, L"WM_NOTIFY, idCtrl: 6, Notify code: TTN_GETDISPINFO"},
        {"other notify", WM_NOTIFY, 7, Param(&itemChanged), 0, L"WM_NOTIFY, idCtrl: 7, Notify code: -101"},
        {"notify without header", WM_NOTIFY, 8, 0, 0, L"WM_NOTIFY, idCtrl: 8, Notify code: (null)"},
        {"context menu", WM_CONTEXTMENU, 0x30, Pos(100, 200), 0, L"WM_CONTEXTMENU, HWND: 0x30, Pos: (100, 200)"},
        {"context menu from the keyboard", WM_CONTEXTMENU, 0x30, -1, 0, L"WM_CONTEXTMENU, HWND: 0x30, Pos: (-1, -1)"},
        {"non-client paint", WM_NCPAINT, 1, 0, 0, L"WM_NCPAINT, HRGN: 0x1"},
        {"non-client activate", WM_NCACTIVATE, 0, 0, 0, L"WM_NCACTIVATE, Active: False"},
        {"dialog code", WM_GETDLGCODE, 0, 0, DLGC_WANTARROWS | DLGC_WANTCHARS,
         L"WM_GETDLGCODE, Received: DLGC_WANTARROWS | DLGC_WANTCHARS"},
        {"no dialog code", WM_GETDLGCODE, 0, 0, 0, L"WM_GETDLGCODE, Received: "},
        {"unnamed dialog code bits", WM_GETDLGCODE, 0, 0, DLGC_BUTTON | 0x8000, L"WM_GETDLGCODE, Received: DLGC_BUTTON | 0x8000"},
        {"non-client button", WM_NCLBUTTONDOWN, HTCAPTION, Pos(10, 20), 0,
         L"WM_NCLBUTTONDOWN, HitTest: HTCAPTION, Pos: (10, 20)"},
        {"non-client X button", WM_NCXBUTTONUP, HTCLOSE, Pos(1, 2), 0, L"WM_NCXBUTTONUP, HitTest: HTCLOSE, Pos: (1, 2)"},
        {"non-client, transparent", WM_NCMOUSEMOVE, static_cast<unsigned>(HTTRANSPARENT), 0, 0,
         L"WM_NCMOUSEMOVE, HitTest: HTTRANSPARENT, Pos: (0, 0)"},
        {"key", WM_KEYDOWN, VK_RETURN, 1, 0, L"WM_KEYDOWN, Key: VK_RETURN, Count: 1"},
        {"last named key", WM_KEYUP, VK_LAUNCH_APP2, 2, 0, L"WM_KEYUP, Key: VK_LAUNCH_APP2, Count: 2"},
        {"letter key", WM_KEYDOWN, 'A', 1, 0, L"WM_KEYDOWN, Key: 'A', Count: 1"},
        {"unnamed key", WM_KEYDOWN, 0xE9, 1, 0, L"WM_KEYDOWN, Key: 233, Count: 1"},
        {"character", WM_CHAR, 'x', 3, 0, L"WM_CHAR, 'x', Count: 3"},
        {"control character", WM_CHAR, 13, 1, 0, L"WM_CHAR, 13, Count: 1"},
        {"latin character", WM_CHAR, 0xE4, 1, 0, L"WM_CHAR, '\u00E4', Count: 1"},
        {"character beyond latin", WM_CHAR, 0x20AC, 1, 0, L"WM_CHAR, 8364, Count: 1"},
        {"menu command", WM_COMMAND, MAKEWPARAM(100, 0), 0, 0, L"WM_COMMAND, Notify code: 0, ID: 100, HWND: 0x0"},
        {"timer", WM_TIMER, 7, 0, 0, L"WM_TIMER, ID: 7"},
        {"ui state", WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0, 0,
         L"WM_CHANGEUISTATE, Action: UIS_SET, Affects: UISF_HIDEFOCUS | UISF_HIDEACCEL"},
        {"ui state, unknown action", WM_UPDATEUISTATE, MAKEWPARAM(9, 0), 0, 0,
         L"WM_UPDATEUISTATE, Action: 9, Affects: "},
        {"ui state query", WM_QUERYUISTATE, 0, 0, UISF_HIDEACCEL, L"WM_QUERYUISTATE, Received: UISF_HIDEACCEL"},
        {"colour without a control", WM_CTLCOLORSTATIC, 0x40, 0, 0, L"WM_CTLCOLORSTATIC, HDC: 0x40, HWND: 0x0 (ID:0)"},
        {"mouse", WM_LBUTTONDOWN, 9, Pos(16, 20), 0, L"WM_LBUTTONDOWN, Keys: MK_LBUTTON | MK_CONTROL, Pos: (16, 20)"},
        {"all mouse keys", WM_MBUTTONDBLCLK, 0x7F, Pos(0, 0), 0,
         L"WM_MBUTTONDBLCLK, Keys: MK_LBUTTON | MK_RBUTTON | MK_SHIFT | MK_CONTROL | MK_MBUTTON | MK_XBUTTON1 | "
         L"MK_XBUTTON2, Pos: (0, 0)"},
        {"X button", WM_XBUTTONDOWN, MAKEWPARAM(MK_XBUTTON1, 1), Pos(3, 4), 0,
         L"WM_XBUTTONDOWN, Keys: MK_XBUTTON1, Pos: (3, 4)"},
        {"wheel", WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, 120), Pos(5, 6), 0,
         L"WM_MOUSEWHEEL, Keys: MK_SHIFT, Delta: 120, Pos: (5, 6)"},
        {"wheel towards the user", WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<unsigned>(-120)), Pos(5, 6), 0,
         L"WM_MOUSEWHEEL, Keys: , Delta: -120, Pos: (5, 6)"},
        {"child created", WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, 12), 0x77, 0,
         L"WM_PARENTNOTIFY, Event: WM_CREATE, Child ID: 12, Value: 0x77"},
        {"child clicked", WM_PARENTNOTIFY, MAKEWPARAM(WM_LBUTTONDOWN, 0), Pos(3, 4), 0,
         L"WM_PARENTNOTIFY, Event: WM_LBUTTONDOWN, Child ID: 0, Value: (3, 4)"},
        {"other", WM_CLOSE, 0, 0, 0, L"WM_CLOSE, 0x0, 0x0"},
        {"other, wide lParam", CB_SETCURSEL, 0xFFFFFFFF, -1, 0, L"CB_SETCURSEL, 0xffffffff, 0xffffffffffffffff"},
    };
    for (const DetailCase& c : cases) {
        SCOPED_TRACE(c.label);
        ResetMessageTracerForTesting();
        EXPECT_EQ(Trace(c.message, c.wParam, c.lParam, c.result), std::wstring(L"000: ") + c.expected + L"\n");
    }
}

}  // namespace
}  // namespace qx
