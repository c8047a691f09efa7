// Every family's reader, given a FIFO where it expects a file, fails (or
// does without the file) at once instead of waiting for a writer that never
// comes.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/fixtures.h"
#include "tests/support/test_support.h"
#include "tests/tools/run_tool.h"

namespace {

namespace fs = std::filesystem;
using qx::test::RunTool;
using qx::test::ToolResult;

const std::string kReport = std::string(QX_EXAMPLES_DIR) + "/report/";

// Today's log file name, as the logger builds it from the local date.
std::string TodaysLogName() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return "Log_" + std::to_string(local.tm_year + 1900) + "." + std::to_string(local.tm_mon + 1) + "." +
           std::to_string(local.tm_mday) + ".csv";
}

TEST(SpecialFilesTest, ReadersOfEveryFamilyDoNotWaitOnAFifo) {
    const qx::test::TempDir dir;
    const qx::test::TempDir temp;
    for (const char* folder : {"logs", "archive", "report"}) fs::create_directory(dir.path() / folder);
    for (const char* name :
         {"fifo", "qxbase.de", "Prog.en", "archive/data.zip", "report/logo.png", "slides.slb", "slide.sld"})
        qx::test::MakeFifo(dir.path() / name);
    qx::test::MakeFifo(dir.path() / "logs" / TodaysLogName());
    fs::copy_file(kReport + "parts_list.msk", dir.path() / "report" / "parts_list.msk");
    const std::string fifo = dir.Native("fifo");
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int exitCode;
        const char* output;  // a part of it
    };
    const Case cases[] = {
        {"tree file", {"tree", "cat", fifo}, 1, "cannot read"},
        {"language module", {"langmod", "dump", dir.Native("qxbase.de")}, 1, "cannot read language module"},
        {"wordbook", {"translate", "--wordbooks", dir.Native("Prog"), "--lang", "en", "Abbrechen"}, 0, "Abbrechen\n"},
        {"log file", {"log", "write", dir.Native("logs"), "G", "m"}, 1, "cannot open today's log"},
        {"encoded file", {"encode", fifo, dir.Native("out")}, 1, "cannot encode"},
        {"archive list", {"archive", "list", dir.Native("archive")}, 1, "not a readable archive"},
        {"archive get", {"archive", "get", dir.Native("archive/a.txt")}, 1, "not available"},
        {"layout text", {"mask", "unscramble", fifo, dir.Native("out")}, 1, ""},
        {"print data", {"print", kReport + "parts_list.msk", fifo, "--text", dir.Native("out")}, 1, ""},
        {"slide library", {"slide", "list", fifo}, 1, "not a readable slide library"},
        {"slide in a library", {"slide", "render", dir.Native("slides.slb") + "?A", dir.Native("out.png")}, 1,
         "cannot read the slide"},
        {"slide", {"slide", "render", dir.Native("slide"), dir.Native("out.png")}, 1, "cannot read the slide"},
        // A picture that cannot be read is left out of the page.
        {"picture", {"print", dir.Native("report/parts_list.msk"), kReport + "parts_list_data.txt", "--pdf",
                     dir.Native("out.pdf")}, 0, "pages\n"},
    };
    const qx::test::ScopedEnv tmpdir("TMPDIR", temp.path().string());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolResult r = RunTool(c.args, 30);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.out;
        EXPECT_NE(r.out.find(c.output), std::string::npos) << r.out;
    }
    EXPECT_FALSE(fs::exists(dir.path() / "out"));
}

}  // namespace
