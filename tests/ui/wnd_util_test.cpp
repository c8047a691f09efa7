#include "qx/ui/wnd_util.h"

#include <gtest/gtest.h>

#include <climits>

#include "qx/platform/wnd/dialog_box.h"
#include "tests/ui/ui_fixture.h"

namespace {

enum : int { kGroup = 20, kInside = 21, kInsideToo = 22, kAcross = 23, kBelow = 24, kLast = 25 };

class WndUtilTest : public UiTest {
protected:
    void TearDown() override {
        if (dialog_) DestroyWindow(dialog_);
        UiTest::TearDown();
    }

    // A dialog with a group box around two controls, one control across its
    // edge and two below it.
    HWND MakeDialog(DWORD extraStyle = 0) {
        qx::DialogTemplate dialog;
        dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | extraStyle;
        dialog.rect = CRect(0, 0, 200, 200);
        dialog.title = L"Rohr";
        dialog.items = {
            {WS_VISIBLE | BS_GROUPBOX, 0, CRect(7, 7, 120, 60), kGroup, L"Button", L"Maße"},
            {WS_VISIBLE | WS_TABSTOP, 0, CRect(14, 20, 110, 34), kInside, L"Edit", L""},
            {WS_VISIBLE | BS_AUTOCHECKBOX, 0, CRect(14, 40, 110, 50), kInsideToo, L"Button", L"Gedämmt"},
            {WS_VISIBLE, 0, CRect(100, 30, 150, 40), kAcross, L"Static", L"mm"},
            {WS_VISIBLE | WS_TABSTOP, 0, CRect(7, 70, 120, 84), kBelow, L"Edit", L""},
            {WS_VISIBLE | BS_PUSHBUTTON, 0, CRect(7, 90, 60, 104), kLast, L"Button", L"OK"},
        };
        dialog_ = CreateDialogIndirectParam(dialog, nullptr, [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return FALSE; }, 0);
        return dialog_;
    }

    static CRect ClientRect(HWND hwnd) {
        CRect rect;
        GetClientRect(hwnd, &rect);
        return rect;
    }
    // The bottom of a control in its dialog's client coordinates.
    static int BottomInClient(HWND dialog, int id) {
        CPoint bottom(0, WindowRect(GetDlgItem(dialog, id)).bottom);
        ScreenToClient(dialog, &bottom);
        return bottom.y;
    }

    HWND dialog_ = nullptr;
};

}  // namespace

TEST_F(WndUtilTest, TheResolutionFactorScalesAndCutsTowardZero) {
    struct Case {
        const char* name;
        int dpi;
        double factor;
        int value;
        int scaled;
    } cases[] = {
        {"96 dots per inch", 96, 1.0, 10, 10},
        {"120: 12.5 is cut", 120, 1.25, 10, 12},
        {"120: -12.5 is cut toward zero", 120, 1.25, -10, -12},
        {"144", 144, 1.5, 7, 10},
        // 110 / 96 in floating point would give 109.999...
        {"110: exact for whole multiples", 110, 110.0 / 96, 96, 110},
        {"the int range holds", 192, 2.0, INT_MAX, INT_MAX},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        qx::SetScreenDpi(c.dpi);
        qx::ResetDPIMult();
        EXPECT_DOUBLE_EQ(WndUtil::GetDPIMult(), c.factor);
        EXPECT_EQ(WndUtil::ConsiderDPI(c.value), c.scaled);
    }
}

TEST_F(WndUtilTest, TheResolutionIsReadOnceUntilItIsForgotten) {
    qx::SetScreenDpi(120);
    EXPECT_DOUBLE_EQ(WndUtil::GetDPIMult(), 1.25);
    qx::SetScreenDpi(96);
    EXPECT_DOUBLE_EQ(WndUtil::GetDPIMult(), 1.25);
    EXPECT_EQ(WndUtil::ConsiderDPI(10), 12);
    qx::ResetDPIMult();
    EXPECT_DOUBLE_EQ(WndUtil::GetDPIMult(), 1.0);
}

TEST_F(WndUtilTest, ResizingEndsTheClientAreaBelowTheControl) {
    for (DWORD style : {0u, static_cast<unsigned>(WS_THICKFRAME)}) {
        SCOPED_TRACE(style ? "sizing border" : "fixed frame");
        HWND dialog = MakeDialog(style);
        const CRect before = WindowRect(dialog);
        WndUtil::ResizeDialog(dialog, kBelow);
        EXPECT_EQ(ClientRect(dialog).Height(), BottomInClient(dialog, kBelow) + 5);
        EXPECT_EQ(WindowRect(dialog).TopLeft(), before.TopLeft());
        EXPECT_EQ(WindowRect(dialog).Width(), before.Width());
        // Again gives the same size: nothing is lost to the frame.
        const CRect once = WindowRect(dialog);
        WndUtil::ResizeDialog(dialog, kBelow);
        EXPECT_EQ(WindowRect(dialog), once);
        // Growing works the same way.
        WndUtil::ResizeDialog(dialog, kLast);
        EXPECT_EQ(ClientRect(dialog).Height(), BottomInClient(dialog, kLast) + 5);
        WndUtil::ResizeDialog(dialog, 999);  // no such control
        EXPECT_EQ(ClientRect(dialog).Height(), BottomInClient(dialog, kLast) + 5);
        DestroyWindow(dialog);
        dialog_ = nullptr;
    }
}

TEST_F(WndUtilTest, AGroupBoxShowsAndHidesWhatLiesEntirelyInside) {
    HWND dialog = MakeDialog();
    const auto visible = [&](int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; };
    ShowWindow(dialog, SW_SHOW);
    WndUtil::ShowGroupBoxContents(dialog, kGroup, FALSE);
    EXPECT_FALSE(visible(kInside));
    EXPECT_FALSE(visible(kInsideToo));
    EXPECT_TRUE(visible(kGroup));
    EXPECT_TRUE(visible(kAcross));
    EXPECT_TRUE(visible(kBelow));
    WndUtil::ShowGroupBoxContents(dialog, kGroup, TRUE);
    EXPECT_TRUE(visible(kInside));
    EXPECT_TRUE(visible(kInsideToo));
    WndUtil::ShowGroupBoxContents(dialog, 999, FALSE);  // no such box
    EXPECT_TRUE(visible(kInside));
}
