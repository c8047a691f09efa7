// Choosing the UI host from QX_UI and what the process has. Without a
// display the GTK host is never loaded, so these run anywhere; the GTK
// suite (tests/platform/wnd_gtk) covers a display that is there or cannot
// be opened.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "qx/platform/os/terminal.h"
#include "qx/platform/wnd/ui_host.h"
#include "tests/support/fixtures.h"

namespace {

TEST(UiHostChoice, NamesAndDisplaysGiveTheirHostOrAReason) {
    struct Case {
        const char* name;
        const char* ui;
        std::optional<std::string> display;
        const char* host;  // nullptr: none
        const char* why;
    };
    // Without a display auto asks at the terminal when there is one.
    const char* automatic = qx::StandardInputIsTerminal() && qx::StandardErrorIsTerminal() ? "terminal" : "batch";
    const Case cases[] = {
        {"auto without a display", "auto", std::nullopt, automatic, ""},
        {"unset without a display", "", std::nullopt, automatic, ""},
        {"gtk without a display", "gtk", std::nullopt, nullptr,
         "the GTK host cannot be used: no display (neither DISPLAY nor WAYLAND_DISPLAY is set)"},
        {"gtk with an empty DISPLAY", "gtk", "", nullptr,
         "the GTK host cannot be used: no display (neither DISPLAY nor WAYLAND_DISPLAY is set)"},
        // Asked for by name, batch stays batch on a desktop.
        {"batch with a display", "batch", ":7", "batch", ""},
        {"unknown", "curses", std::nullopt, nullptr,
         "QX_UI names no host this build has: \"curses\" (gtk, batch, terminal, script, image, auto)"},
    };
    qx::test::ScopedEnv wayland("WAYLAND_DISPLAY", std::nullopt);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        qx::test::ScopedEnv display("DISPLAY", c.display);
        std::string why;
        const std::unique_ptr<qx::UiHost> host = qx::MakeUiHost(c.ui, &why);
        if (c.host) {
            ASSERT_TRUE(host) << why;
            EXPECT_STREQ(host->Name(), c.host);
        } else {
            EXPECT_FALSE(host);
            EXPECT_EQ(why, c.why);
        }
    }
}

TEST(UiHostChoice, AGtkHostThatCannotBeUsedLeavesTheProgramWithTheBatchHost) {
    qx::test::ScopedEnv ui("QX_UI", "gtk");
    qx::test::ScopedEnv display("DISPLAY", std::nullopt);
    qx::test::ScopedEnv wayland("WAYLAND_DISPLAY", std::nullopt);
    std::unique_ptr<qx::UiHost> previous = qx::SetUiHost(nullptr);
    testing::internal::CaptureStderr();
    const std::string name = qx::CurrentUiHost().Name();
    const std::string said = testing::internal::GetCapturedStderr();
    qx::SetUiHost(std::move(previous));
    EXPECT_EQ(name, "batch");
    EXPECT_NE(said.find("qxbase: the GTK host cannot be used: no display"), std::string::npos) << said;
}

}  // namespace
