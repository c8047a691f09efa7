// qxtool msgbox, input and progress under the script and batch hosts.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "tests/support/fixtures.h"
#include "tests/support/pseudo_terminal.h"
#include "tests/support/test_support.h"
#include "tests/tools/run_tool.h"

namespace {

using qx::test::RunTool;

// Runs qxtool under QX_UI=script with *script*; the transcript is kept.
class ScriptedToolTest : public ::testing::Test {
protected:
    qx::test::ToolResult Run(const std::vector<std::string>& args, const std::string& script) {
        const std::string scriptFile = folder_.Native("ui-script");
        std::ofstream(scriptFile) << script;
        qx::test::ScopedEnv ui("QX_UI", "script");
        qx::test::ScopedEnv source("QX_UI_SCRIPT", scriptFile);
        qx::test::ScopedEnv transcript("QX_UI_TRANSCRIPT", folder_.Native("transcript"));
        return RunTool(args, 30);
    }
    std::string Transcript() const { return qx::test::ReadBytes(folder_.path() / "transcript"); }

    qx::test::TempDir folder_;
};

}  // namespace

TEST_F(ScriptedToolTest, MsgboxPrintsThePressedButtonAndTheCheckState) {
    struct Case {
        std::vector<std::string> args;
        const char* script;
        const char* out;
    };
    const Case cases[] = {
        {{"msgbox", "Ersetzen?", "--type", "yesno", "--icon", "question"}, "press Nein\n", "7\n"},
        {{"msgbox", "Weiter?", "--buttons", "Jetzt;Später;Nie", "--check", "Nicht mehr fragen"}, "check on\npress Nie\n", "2\n1\n"},
        {{"msgbox", "Weiter?", "--type", "okcancel", "--default", "2"}, "key Enter\n", "2\n"},
        {{"msgbox", "Fertig."}, "", "1\n"},  // the script ends: the default button
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        const qx::test::ToolResult result = Run(c.args, c.script);
        EXPECT_EQ(result.exitCode, 0) << result.out;
        EXPECT_EQ(result.out, c.out);
    }
    // The box was shown with its icon and the caption of the program.
    EXPECT_NE(Transcript().find("\"text\":\"qxtool\""), std::string::npos);
}

TEST_F(ScriptedToolTest, InputPrintsTheTextOrFailsWhenCancelled) {
    qx::test::ToolResult result = Run({"input", "Vorlauftemperatur:", "--value", "55"}, "key End\ntype 7\nkey Enter\n");
    EXPECT_EQ(result.exitCode, 0) << result.out;
    EXPECT_EQ(result.out, "557\n");
    result = Run({"input", "Vorlauftemperatur:"}, "press Abbrechen\n");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
}

TEST(DialogCommandsTest, WrongCommandLinesAreUsageErrors) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"msgbox"}, {"msgbox", "a", "b"}, {"msgbox", "a", "--type", "maybe"}, {"msgbox", "a", "--default", "0"},
             {"msgbox", "a", "--wibble"}, {"input"}, {"progress", "text"}}) {
        SCOPED_TRACE(args.back());
        EXPECT_EQ(RunTool(args, 30).exitCode, 2);
    }
}

TEST(DialogCommandsTest, ProgressFollowsItsInputUntilItEnds) {
    // Without a terminal the batch host shows nothing; the window follows
    // the lines and closes at the end of the input.
    const std::string command = std::string("printf '10\\n#Fast fertig\\nx\\n100\\n' | ") + QXTOOL_PATH + " progress --text Kopieren";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    EXPECT_EQ(pclose(pipe), 0);
}

TEST(DialogCommandsTest, AtATerminalTheQuestionsAreAskedThere) {
    qx::test::TerminalChild child(QXTOOL_PATH, {"msgbox", "Ersetzen?", "--type", "yesno", "--check", "Immer"}, {"QX_UI=auto"});
    ASSERT_TRUE(child.WaitFor("qxtool\r\nErsetzen?\r\n")) << child.Seen();
    ASSERT_TRUE(child.WaitFor("Immer? [y/N] ")) << child.Seen();
    child.Type("y\r");
    ASSERT_TRUE(child.WaitFor("[1] Ja  [2] Nein\r\n> ")) << child.Seen();
    child.Type("2\r");
    ASSERT_TRUE(child.WaitFor("7\r\n1\r\n")) << child.Seen();
    EXPECT_EQ(child.ExitCode(), 0);

    qx::test::TerminalChild input(QXTOOL_PATH, {"input", "Name:", "--value", "Kessel"}, {"QX_UI=terminal"});
    ASSERT_TRUE(input.WaitFor("qxtool\r\nName:\r\nEingabe: Kessel")) << input.Seen();
    input.Type(" 2\r");
    ASSERT_TRUE(input.WaitFor("> ")) << input.Seen();
    input.Type("\r");
    ASSERT_TRUE(input.WaitFor("Kessel 2\r\n")) << input.Seen();
    EXPECT_EQ(input.ExitCode(), 0);
}
