#include "qx/platform/os/debug_output.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/fixtures.h"

namespace qx {
namespace {

TEST(DebugOutputTest, AnInstalledSinkReceivesTheTextAsGiven) {
    std::wstring captured;
    const DebugOutputSink previous =
        SetDebugOutputSink([&captured](std::wstring_view text) { captured += text; });
    EXPECT_EQ(previous, nullptr);
    OutputDebugText(L"WM_PAINT \u00FC\n");
    OutputDebugText(L"second");
    EXPECT_EQ(captured, L"WM_PAINT \u00FC\nsecond");
    EXPECT_NE(SetDebugOutputSink(nullptr), nullptr);
}

TEST(DebugOutputTest, TheDefaultSinkWritesUtf8ToStderrOnlyWhenAskedTo) {
    {
        test::ScopedEnv env("QX_DEBUG_OUTPUT", std::nullopt);
        testing::internal::CaptureStderr();
        OutputDebugText(L"dropped");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    }
    {
        test::ScopedEnv env("QX_DEBUG_OUTPUT", "");
        testing::internal::CaptureStderr();
        OutputDebugText(L"dropped");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    }
    test::ScopedEnv env("QX_DEBUG_OUTPUT", "1");
    testing::internal::CaptureStderr();
    OutputDebugText(L"Gr\u00FC\u00DFe\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Gr\xC3\xBC\xC3\x9F" "e\n");
}

}  // namespace
}  // namespace qx
