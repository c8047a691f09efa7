#include "qx/platform/wnd/screen.h"

#include <gtest/gtest.h>

#include "tests/platform/wnd/wnd_fixture.h"

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
