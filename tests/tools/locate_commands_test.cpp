// qxtool locate against an installation laid out in a temporary folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/fixtures.h"
#include "tests/support/test_support.h"
#include "tests/tools/run_tool.h"

namespace {

using qx::test::RunTool;

class LocateCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Write("inst/Support/Map_1.Region",
              "[Regions]\n[Region]\nName:DEU\n[ENDE_Region]\n[Region]\nName:FRA\n[ENDE_Region]\n[ENDE_Regions]\n");
        for (const char* file : {"Mask.txt", "Mask_FRA.txt", "Mask_DEU_fr.txt", "Mask_DEU_it.txt", "Std_Mask_FRA.txt"})
            Write(std::string("inst/Data/") + file, "x");
        ASSERT_EQ(RunTool({"reg", "set", "HKCU\\Software\\quOrix GmbH\\Env", "Lang", "fr"}).exitCode, 0);
        ASSERT_EQ(RunTool({"reg", "set", "HKCU\\Software\\quOrix GmbH\\Env", "PrintLang", "it"}).exitCode, 0);
    }
    void Write(const std::string& name, const std::string& bytes) const {
        const std::filesystem::path file = dir_.path() / name;
        std::filesystem::create_directories(file.parent_path());
        qx::test::WriteBytes(file, bytes);
    }
    std::string Inst() const { return dir_.Native("inst"); }

    qx::test::TempDir dir_;
    qx::test::ScopedEnv registry_{"QX_REGISTRY_DIR", dir_.Native("reg")};
};

TEST_F(LocateCommandsTest, PrintsTheChosenVariant) {
    struct Case {
        const char* name;
        std::vector<std::string> options;
        const char* file;
        int exitCode;
        std::string out;  // the whole output for success, a part of it otherwise
    };
    const Case cases[] = {
        {"start-up region, no language", {}, "Data/Mask.txt", 0, "Data/Mask.txt\n"},
        {"region given", {"--region", "FRA"}, "Data/Mask.txt", 0, "Data/Mask_FRA.txt\n"},
        {"display language", {"--display"}, "Data/Mask.txt", 0, "Data/Mask_DEU_fr.txt\n"},
        {"print language", {"--print"}, "Data/Mask.txt", 0, "Data/Mask_DEU_it.txt\n"},
        {"prefix", {"--region", "FRA", "--prefix", "Std"}, "Data/Mask.txt", 0, "Data/Std_Mask_FRA.txt\n"},
        {"unknown region", {"--region", "XYZ"}, "Data/Mask.txt", 1, "no region XYZ in the region maps of"},
        {"no variant", {}, "Data/None.txt", 1, "no variant of Data/None.txt exists"},
        {"both languages", {"--display", "--print"}, "Data/Mask.txt", 2, "exclude each other"},
        {"unknown option", {"--lang", "fr"}, "Data/Mask.txt", 2, "--lang"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = {"locate", c.file, "--install", Inst()};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const auto r = RunTool(args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.out;
        if (c.exitCode == 0) {
            EXPECT_EQ(r.out, Inst() + "/" + c.out);
        } else {
            EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
        }
    }
    // Looking stores no region.
    EXPECT_NE(RunTool({"reg", "query", "HKCU\\Software\\quOrix GmbH", "Region"}).exitCode, 0);
}

TEST_F(LocateCommandsTest, UsageAndHelp) {
    EXPECT_EQ(RunTool({"locate", "Data/Mask.txt"}).exitCode, 2);
    const auto help = RunTool({"locate", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("Mask_DEU_fr.txt"), std::string::npos) << help.out;
}

}  // namespace
