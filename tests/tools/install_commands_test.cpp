// qxtool install-info against an installation laid out in a temporary folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/fixtures.h"
#include "tests/support/test_support.h"
#include "tests/tools/run_tool.h"

namespace {

using qx::test::RunTool;

class InstallCommandsTest : public ::testing::Test {
protected:
    void MakeFolder(const std::string& name) const { std::filesystem::create_directories(dir_.path() / name); }
    void Set(const std::string& key, const std::string& name, const std::string& value) const {
        ASSERT_EQ(RunTool({"reg", "set", key, name, value}).exitCode, 0);
    }

    qx::test::TempDir dir_;
    qx::test::ScopedEnv registry_{"QX_REGISTRY_DIR", dir_.Native("reg")};
    qx::test::ScopedEnv common_{"QX_COMMON_FILES", dir_.Native("opt")};
    qx::test::ScopedEnv data_{"XDG_DATA_HOME", dir_.Native("data")};
};

void ExpectLines(const std::string& out, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        SCOPED_TRACE(line);
        EXPECT_NE(out.find(line), std::string::npos) << out;
    }
}

TEST_F(InstallCommandsTest, SaysWhereEachAnswerCameFrom) {
    MakeFolder("common/Dll");
    MakeFolder("opt/Acme/quOsysDll");
    MakeFolder("lib/Maker/MMD");
    Set("HKLM\\Software\\Acme\\Env", "CommonFiles", dir_.Native("common"));
    Set("HKLM\\Software\\quOrix GmbH\\Env", "CommonLib", dir_.Native("lib"));
    Set("HKCU\\Software\\quOrix GmbH\\Env", "Lang", "fr");

    const auto r = RunTool({"install-info", "--company", "Acme"});
    ASSERT_EQ(r.exitCode, 0) << r.out;
    ExpectLines(r.out, {
                           "company: Acme\n    (--company)",
                           "common folder: ",
                           "common\\\n    (HKEY_LOCAL_MACHINE\\Software\\Acme\\Env\\CommonFiles)",
                           "library folder: ",
                           "common\\Dll\\\n    (common folder plus Dll\\)",
                           "display language: fr\n    (HKEY_CURRENT_USER\\Software\\quOrix GmbH\\Env\\Lang)",
                           "print language: de\n    (the default: no value PrintLang in HKEY_CURRENT_USER\\Software\\Acme\\Env or",
                           "project management: not found\n    (no value Prv",
                           "updater: not found",
                           "manufacturer data folders: 1\n",
                           "lib\\Maker\\\n",
                           "local application data: ",
                           "data\\\n    ($XDG_DATA_HOME, else ~/.local/share)",
                       });
    // The family's own form of the common folder is the program files one.
    EXPECT_NE(r.out.find("address book: not found\n    (no common folder)"), std::string::npos) << r.out;

    const auto defaults = RunTool({"install-info"});
    ASSERT_EQ(defaults.exitCode, 0) << defaults.out;
    ExpectLines(defaults.out, {"company: quOrix GmbH\n    (the default", "common folder: not found"});
}

TEST_F(InstallCommandsTest, CommandLine) {
    EXPECT_EQ(RunTool({"install-info", "extra"}).exitCode, 2);
    EXPECT_EQ(RunTool({"install-info", "--company"}).exitCode, 2);
    const auto help = RunTool({"install-info", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("$QX_COMMON_FILES"), std::string::npos);
}

}  // namespace
