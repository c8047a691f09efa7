#include "qx/platform/wnd/screen.h"

#include <gtest/gtest.h>

#include "qx/platform/gfx/picture.h"
#include "qx/platform/gfx/targets.h"
#include "qx/platform/wnd/icons.h"
#include "qx/platform/wnd/image_host.h"
#include "tests/platform/wnd/wnd_fixture.h"
#include "tests/support/test_support.h"

namespace {

// The primary monitor and a smaller one to its right.
class ScreenTest : public WndTest {
protected:
    void SetUp() override {
        WndTest::SetUp();
        qx::SetScreenLayout({{CRect(0, 0, 1920, 1080), CRect(0, 0, 1920, 1040)},
                             {CRect(1920, 0, 3200, 1024), CRect(1920, 0, 3200, 1000)}});
    }
    void TearDown() override {
        WndTest::TearDown();
        qx::SetScreenLayout({});
    }

    // The monitor's full rectangle; an empty one for no monitor.
    static CRect Bounds(HMONITOR monitor) {
        MONITORINFO info;
        return GetMonitorInfo(monitor, &info) ? info.rcMonitor : CRect();
    }
};

}  // namespace

TEST_F(ScreenTest, ARectangleBelongsToTheMonitorItMeetsMostOrAsTheFlagsSay) {
    const CRect primary(0, 0, 1920, 1080), second(1920, 0, 3200, 1024);
    struct Case {
        const char* name;
        CRect rect;
        DWORD flags;
        CRect expected;
    } cases[] = {
        {"on the second", CRect(2000, 100, 2400, 400), MONITOR_DEFAULTTONULL, second},
        {"mostly on the second", CRect(1800, 100, 2400, 400), MONITOR_DEFAULTTONULL, second},
        {"mostly on the primary", CRect(1000, 100, 2000, 400), MONITOR_DEFAULTTONULL, primary},
        {"on none: none", CRect(3300, 100, 3400, 200), MONITOR_DEFAULTTONULL, CRect()},
        {"on none: the primary", CRect(3300, 100, 3400, 200), MONITOR_DEFAULTTOPRIMARY, primary},
        {"on none: the nearest", CRect(3300, 100, 3400, 200), MONITOR_DEFAULTTONEAREST, second},
        {"below the second only", CRect(2000, 1030, 2100, 1060), MONITOR_DEFAULTTONULL, CRect()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Bounds(MonitorFromRect(&c.rect, c.flags)), c.expected);
    }
    EXPECT_EQ(MonitorFromRect(nullptr, MONITOR_DEFAULTTONULL), nullptr);
    EXPECT_EQ(Bounds(MonitorFromRect(nullptr, MONITOR_DEFAULTTONEAREST)), primary);

    HWND window = MakeParent();
    MoveWindow(window, 2500, 300, 200, 100);
    EXPECT_EQ(Bounds(MonitorFromWindow(window, MONITOR_DEFAULTTONULL)), second);
}

TEST_F(ScreenTest, IconsFromPictureFilesBelongToTheirCaller) {
    qx::test::TempDir dir;
    CImageDC image(24, 24);
    image.FillSolidRect(CRect(0, 0, 24, 24), RGB(200, 0, 0));
    ASSERT_TRUE(image.SavePng(CString(dir.Wide("app.png").c_str())));
    qx::test::WriteBytes(dir.path() / "text.ico", "no picture");

    HICON icon = qx::LoadIconFile(CString(dir.Wide("app.png").c_str()), 32, 32);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(qx::IconSize(icon), CSize(32, 32));
    ASSERT_NE(qx::IconPicture(icon), nullptr);
    EXPECT_EQ(qx::IconPicture(icon)->SizePixels(), CSize(24, 24));
    EXPECT_EQ(qx::SystemIconOf(icon), 0u);
    // A static control shows the picture.
    HWND parent = MakeParent(WS_POPUP | WS_VISIBLE);
    HWND shown = CreateWindowEx(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_ICON, 10, 10, 32, 32, parent, 1);
    SendMessage(shown, STM_SETICON, reinterpret_cast<WPARAM>(icon));
    CImageDC painted(400, 300);
    qx::ImageHost::PaintWindowTree(parent, painted);
    EXPECT_EQ(painted.GetPixel(26, 26), RGB(200, 0, 0));
    HICON other = qx::LoadIconFile(CString(dir.Wide("app.png").c_str()), 16, 16);
    EXPECT_NE(other, icon);

    EXPECT_EQ(qx::LoadIconFile(CString(dir.Wide("text.ico").c_str()), 16, 16), nullptr);
    EXPECT_EQ(qx::LoadIconFile(CString(dir.Wide("missing.ico").c_str()), 16, 16), nullptr);
    EXPECT_EQ(qx::LoadIconFile(CString(dir.Wide("app.png").c_str()), 0, 16), nullptr);

    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));  // freed once
    EXPECT_EQ(qx::IconPicture(icon), nullptr);
    EXPECT_EQ(qx::IconSize(icon), CSize(0, 0));
    EXPECT_NE(qx::IconPicture(other), nullptr);
    EXPECT_FALSE(DestroyIcon(LoadIcon(nullptr, IDI_QUESTION)));  // system icons stay
    EXPECT_TRUE(DestroyIcon(other));
}
