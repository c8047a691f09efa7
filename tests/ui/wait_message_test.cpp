#include <gtest/gtest.h>

#include <memory>

#include "qx/platform/os/process_info.h"
#include "qx/platform/wnd/common_controls.h"
#include "qx/platform/wnd/script_host.h"
#include "qx/ui/wait_message.h"

namespace {

class WaitMessageTest : public ::testing::Test {
protected:
    void SetUp() override {
        qx::SetClockForTesting([this] { return now_; });
        previous_ = qx::SetUiHost(std::make_unique<qx::ScriptHost>());
        ASSERT_TRUE(first_.CreateEx(0, L"#32770", L"Erstes", WS_POPUP | WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 0));
        ASSERT_TRUE(second_.CreateEx(0, L"#32770", L"Zweites", WS_POPUP | WS_VISIBLE, CRect(900, 0, 1500, 600), nullptr, 0));
    }
    void TearDown() override {
        first_.DestroyWindow();
        second_.DestroyWindow();
        qx::SetUiHost(std::move(previous_));
        qx::SetClockForTesting(nullptr);
    }

    std::int64_t now_ = 1'000'000;
    CWnd first_;
    CWnd second_;

private:
    std::unique_ptr<qx::UiHost> previous_;
};

}  // namespace

TEST_F(WaitMessageTest, ShowingOverASecondWindowGivesTheFirstItsStateBack) {
    CWaitMessage wait(&first_);
    ASSERT_TRUE(wait.Create());
    EXPECT_FALSE(wait.IsWindowVisible());
    wait.Show();
    EXPECT_TRUE(wait.IsWindowVisible());
    EXPECT_FALSE(first_.IsWindowEnabled());
    wait.Show(&second_);
    EXPECT_TRUE(first_.IsWindowEnabled());
    EXPECT_FALSE(second_.IsWindowEnabled());
    EXPECT_EQ(::GetParent(wait.m_hWnd), second_.m_hWnd);
    wait.Hide();
    EXPECT_TRUE(second_.IsWindowEnabled());
    EXPECT_FALSE(wait.IsWindowVisible());
    // A window that was disabled before stays disabled.
    first_.EnableWindow(FALSE);
    wait.Show(&first_);
    wait.DestroyWindow();
    EXPECT_FALSE(first_.IsWindowEnabled());
    EXPECT_EQ(wait.m_hWnd, nullptr);
}

TEST_F(WaitMessageTest, HidingWithoutShowingOnlyHides) {
    first_.EnableWindow(FALSE);
    CWaitMessage wait(&first_);
    ASSERT_TRUE(wait.Create());
    wait.Hide();
    EXPECT_FALSE(first_.IsWindowEnabled());
}

TEST_F(WaitMessageTest, TextAndBarReachTheControls) {
    CWaitMessage wait(&first_);
    wait.SetText(L"vorher");  // not created: nothing happens
    ASSERT_TRUE(wait.Create());
    wait.SetText(L"Kopieren");
    CString text;
    wait.GetDlgItemText(1001, text);
    EXPECT_EQ(text, CString(L"Kopieren"));
    PBRANGE range;
    SendDlgItemMessage(wait.m_hWnd, 1000, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iHigh, 100);
    wait.SetRange(0, 500);
    wait.SetPosition(250);
    EXPECT_EQ(SendDlgItemMessage(wait.m_hWnd, 1000, PBM_GETPOS), 250);
}

TEST_F(WaitMessageTest, AFullBarIsWaitedForOnce) {
    CWaitMessage wait(&first_);
    ASSERT_TRUE(wait.Create());
    wait.Show();
    const DWORD before = GetTickCount();
    wait.SetProzent(50);
    EXPECT_EQ(GetTickCount() - before, 0u);
    wait.SetProzent(100);
    wait.SetProzent(100);  // unchanged: no second wait
    EXPECT_EQ(GetTickCount() - before, 100u);
    EXPECT_EQ(SendDlgItemMessage(wait.m_hWnd, 1000, PBM_GETPOS), 100);
}
