// qxtool translate / units / langmod, run as a user would.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/test_support.h"
#include "tests/tools/run_tool.h"

namespace {

using qx::test::RunTool;

class LocaleCommandsTest : public testing::Test {
protected:
    void SetUp() override {
        qx::test::WriteBytes(dir_.path() / "Prog.en",
                             "Abbrechen <*> Cancel\n@Einheit @m/s <*> m/sec\nZwei\\nZeilen <*> Two\\nlines\n");
        qx::test::WriteBytes(dir_.path() / "Prog.fr", "Abbrechen <*> Annuler\n");
    }
    std::string Path(const std::string& name) const { return dir_.Native(name); }

    qx::test::TempDir dir_;
};

TEST_F(LocaleCommandsTest, CommandLines) {
    ASSERT_EQ(RunTool({"langmod", "build", Path("Prog.fr"), Path("qxbase.fr")}).exitCode, 0);
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int exitCode;
        std::string output;  // the whole output, or a part of it for failures
    } cases[] = {
        {"translate through wordbooks", {"translate", "--wordbooks", Path("Prog"), "--lang", "en", "Abbrechen", "@Button@OK", "@Kontext"}, 0,
         "Cancel\nOK\n\n"},
        {"translate escaped key", {"translate", "--wordbooks", Path("Prog"), "--lang", "en", "Zwei\nZeilen"}, 0, "Two\nlines\n"},
        {"translate unknown language", {"translate", "--wordbooks", Path("Prog"), "--lang", "it", "Abbrechen"}, 0, "Abbrechen\n"},
        {"translate through a module", {"translate", "--module", Path("qxbase.fr"), "Abbrechen", "Weiter"}, 0,
         "Annuler\nWeiter\n"},
        {"wordbooks before the module", {"translate", "--wordbooks", Path("Prog"), "--module", Path("qxbase.fr"), "--lang", "en", "Abbrechen"}, 0,
         "Cancel\n"},
        {"translate without keys", {"translate", "--lang", "en"}, 2, "expects at least one key"},
        {"translate missing module", {"translate", "--module", Path("none.de"), "x"}, 1, "cannot read language module"},
        {"translate module without language", {"translate", "--module", Path("Prog"), "x"}, 2, "needs its language"},
        {"units", {"units", "9210", "8020", "1370"}, 0, "m/s\n m\nin\xC2\xB3\n"},
        {"units translated", {"units", "--wordbooks", Path("Prog"), "--lang", "en", "9210"}, 0, "m/sec\n"},
        {"units unknown code", {"units", "9210", "9999"}, 1, "9999 names no unit"},
        {"units bad code", {"units", "m/s"}, 2, "not a unit code: m/s"},
        {"build missing wordbook", {"langmod", "build", Path("none.en"), Path("x.en")}, 1, "cannot build"},
        {"build arguments", {"langmod", "build", Path("Prog.en")}, 2, "expects a wordbook"},
        {"dump missing module", {"langmod", "dump", Path("none.en")}, 1, "cannot read language module"},
        {"dump not a module", {"langmod", "dump", Path("Prog.en")}, 1, "cannot read language module"},
        {"help", {"translate", "--help"}, 0, "usage: qxtool translate"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto result = RunTool(c.args);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.out;
        if (c.exitCode == 0 && c.name != std::string("help")) EXPECT_EQ(result.out, c.output);
        else EXPECT_NE(result.out.find(c.output), std::string::npos) << result.out;
    }
}

TEST_F(LocaleCommandsTest, BuildThenDump) {
    ASSERT_EQ(RunTool({"langmod", "build", Path("Prog.en"), Path("qxbase.en")}).exitCode, 0);
    auto dump = RunTool({"langmod", "dump", Path("qxbase.en")});
    EXPECT_EQ(dump.exitCode, 0);
    EXPECT_EQ(dump.out,
              "[TEXTE]\nAbbrechen <*> Cancel\n@Einheit @m/s <*> m/sec\nZwei\\nZeilen <*> Two\\nlines\n"
              "[STRING]\n[DIALOG]\n");
}

}  // namespace
