#include "qx/ui/safe_timer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "qx/platform/os/process_info.h"
#include "qx/platform/wnd/ui_host.h"
#include "tests/ui/ui_fixture.h"

namespace {

class SafeTimerTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        qx::SetClockForTesting([this] { return now_; });
    }
    void TearDown() override {
        UiTest::TearDown();
        qx::SetClockForTesting(nullptr);
    }
    // The timer identifiers the window was sent.
    static std::vector<WPARAM> Fired(HWND hwnd) {
        std::vector<WPARAM> ids;
        for (const Recorded& r : RecordedMessages()) {
            if (r.hwnd == hwnd && r.message == WM_TIMER) ids.push_back(r.wParam);
        }
        return ids;
    }
};

}  // namespace

TEST_F(SafeTimerTest, TheFirstIdentifierNoTimerOfTheWindowUsesIsTaken) {
    HWND window = MakeParent();
    HWND other = MakeParent();
    EXPECT_EQ(GetSafeTimerID(window, 100), 31u);
    EXPECT_EQ(GetSafeTimerID(window, 100), 32u);  // 31 runs
    EXPECT_EQ(GetSafeTimerID(other, 100), 31u);   // another window's timers do not count
    SetTimer(window, 33, 500);                     // one of the window's own
    EXPECT_EQ(GetSafeTimerID(window, 100), 34u);
    KillTimer(window, 31);
    EXPECT_EQ(GetSafeTimerID(window, 100), 31u);

    // The timers run: the 100 ms ones fire, the window's own 500 ms one not
    // yet (it was not restarted either).
    RecordedMessages().clear();
    now_ += 150;
    qx::PumpMessages();
    std::vector<WPARAM> fired = Fired(window);
    std::sort(fired.begin(), fired.end());
    EXPECT_EQ(fired, (std::vector<WPARAM>{31, 32, 34}));
}

TEST_F(SafeTimerTest, NoIdentifierIsGivenWhenAllAreTakenOrTheWindowIsNotValid) {
    HWND window = MakeParent();
    for (UINT_PTR id = 31; id <= 99; ++id) SetTimer(window, id, 1000);
    EXPECT_EQ(GetSafeTimerID(window, 100), 0u);
    KillTimer(window, 77);
    EXPECT_EQ(GetSafeTimerID(window, 100), 77u);
    EXPECT_EQ(GetSafeTimerID(nullptr, 100), 0u);
    HWND gone = MakeParent();
    DestroyWindow(gone);
    EXPECT_EQ(GetSafeTimerID(gone, 100), 0u);
}
