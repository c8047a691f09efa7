#include <string>

#include "qx/platform/os/process_info.h"
#include "tests/platform/wnd/wnd_fixture.h"

namespace {

LRESULT CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
WNDPROC g_previous = nullptr;
int g_seen = 0;

LRESULT CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT) ++g_seen;
    return CallWindowProc(g_previous, hwnd, message, wParam, lParam);
}

}  // namespace

TEST_F(WndTest, DestroyedHandlesStayInvalidAndAreNotReused) {
    HWND parent = MakeParent();
    HWND child = CreateWindowEx(0, L"Button", L"OK", WS_CHILD | WS_VISIBLE, 10, 10, 80, 24, parent, IDOK);
    ASSERT_TRUE(IsWindow(child));
    EXPECT_EQ(GetParent(child), parent);
    EXPECT_EQ(GetDlgItem(parent, IDOK), child);
    EXPECT_EQ(GetDlgCtrlID(child), IDOK);
    ASSERT_TRUE(DestroyWindow(child));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_EQ(SendMessage(child, WM_GETTEXTLENGTH), 0);
    EXPECT_FALSE(SetWindowText(child, L"gone"));
    EXPECT_EQ(GetDlgItem(parent, IDOK), nullptr);
    HWND again = CreateWindowEx(0, L"Button", L"OK", WS_CHILD, 10, 10, 80, 24, parent, IDOK);
    EXPECT_NE(again, child);
    EXPECT_EQ(CreateWindowEx(0, L"NoSuchClass", L"", WS_CHILD, 0, 0, 1, 1, parent, 5), nullptr);
    EXPECT_EQ(CreateWindowEx(0, L"Button", L"", WS_CHILD, 0, 0, 1, 1, child, 5), nullptr);  // dead parent
}

TEST_F(WndTest, DestroyingAParentDestroysItsChildrenAndWhatItOwns) {
    HWND parent = MakeParent();
    HWND child = CreateWindowEx(0, L"Edit", L"", WS_CHILD, 0, 0, 50, 20, parent, 7);
    HWND owned = CreateWindowEx(0, L"QxRecorder", L"Owned", WS_POPUP, 0, 0, 50, 50, parent, 0);
    SetFocus(child);
    DestroyWindow(parent);
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(IsWindow(owned));
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(WndTest, SubclassedProceduresSeeMessagesFirstAndPassThemOn) {
    HWND parent = MakeParent();
    HWND edit = CreateWindowEx(0, L"Edit", L"", WS_CHILD, 0, 0, 50, 20, parent, 7);
    g_seen = 0;
    g_previous = reinterpret_cast<WNDPROC>(SetWindowLongPtr(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc)));
    SetWindowText(edit, L"abc");
    EXPECT_EQ(g_seen, 1);
    EXPECT_EQ(TextOf(edit), L"abc");
    EXPECT_EQ(GetWindowTextLength(edit), 3);
}

TEST_F(WndTest, RectanglesAndCoordinateConversion) {
    HWND parent = MakeParent();  // a caption of 23 pixels in a frame of 3
    HWND child = CreateWindowEx(0, L"Static", L"x", WS_CHILD, 10, 20, 30, 40, parent, 1);
    CRect window, client;
    GetWindowRect(child, &window);
    EXPECT_EQ(window, CRect(113, 96, 143, 136));
    GetClientRect(parent, &client);
    EXPECT_EQ(client, CRect(0, 0, 394, 271));
    CPoint point(5, 5);
    ClientToScreen(child, &point);
    EXPECT_EQ(point, CPoint(118, 101));
    ScreenToClient(parent, &point);
    EXPECT_EQ(point, CPoint(15, 25));
    MoveWindow(child, 0, 0, 10, 10);
    GetWindowRect(child, &window);
    EXPECT_EQ(window, CRect(103, 76, 113, 86));
}

TEST_F(WndTest, TimersFireOnTheLayersClockWithoutWaiting) {
    qx::SetClockForTesting([this] { return now_; });
    HWND parent = MakeParent();
    ASSERT_EQ(SetTimer(parent, 42, 1000), 42u);
    EXPECT_TRUE(qx::IsTimerSet(parent, 42));
    EXPECT_FALSE(qx::IsTimerSet(parent, 43));
    EXPECT_FALSE(qx::IsTimerSet(nullptr, 42));
    RecordedMessages().clear();
    qx::PumpMessages();
    EXPECT_TRUE(RecordedMessages().empty());
    // The timer is due 1000 ms after it was set.
    const DWORD before = GetTickCount();
    now_ += 999;
    qx::PumpMessages();
    EXPECT_TRUE(RecordedMessages().empty());
    now_ += 1;
    qx::PumpMessages();
    ASSERT_EQ(RecordedMessages().size(), 1u);
    EXPECT_EQ(RecordedMessages()[0].message, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(RecordedMessages()[0].wParam, 42u);
    EXPECT_GE(GetTickCount() - before, 1000u);
    EXPECT_TRUE(KillTimer(parent, 42));
    EXPECT_FALSE(qx::IsTimerSet(parent, 42));
    now_ += 5000;
    RecordedMessages().clear();
    qx::PumpMessages();
    EXPECT_TRUE(RecordedMessages().empty());
    qx::SetClockForTesting(nullptr);
}

TEST_F(WndTest, PostedMessagesWaitForThePump) {
    HWND parent = MakeParent();
    RecordedMessages().clear();
    EXPECT_TRUE(PostMessage(parent, WM_USER + 5, 1, 2));
    EXPECT_TRUE(RecordedMessages().empty());
    EXPECT_EQ(qx::PumpMessages(), 1);
    ASSERT_EQ(RecordedMessages().size(), 1u);
    EXPECT_EQ(RecordedMessages()[0].message, static_cast<UINT>(WM_USER + 5));
    DestroyWindow(parent);
    EXPECT_FALSE(PostMessage(parent, WM_USER, 0, 0));
}
