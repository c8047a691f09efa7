// The archive and encoded-file commands of qxtool, run as a user would.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/fixtures.h"
#include "tests/support/raw_zip.h"
#include "tests/support/test_support.h"
#include "tests/tools/run_tool.h"

namespace {

namespace fs = std::filesystem;
using qx::test::ReadBytes;
using qx::test::RunTool;
using qx::test::ToolResult;
using qx::test::WriteBytes;

TEST(ArchiveCommandsTest, GetAndListACabinet) {
    if (std::system("gcab --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "gcab is not installed";
    const qx::test::TempDir dir;
    const qx::test::TempDir temp;
    const qx::test::ScopedEnv tmpdir("TMPDIR", temp.path().string());
    fs::create_directories(dir.path() / "data");
    WriteBytes(dir.path() / "a.txt", "archived");
    const std::string cab = (dir.path() / "data" / "data.cab").string();
    ASSERT_EQ(std::system(("cd '" + dir.Native("") + "' && gcab -c '" + cab + "' a.txt >/dev/null").c_str()), 0);

    const ToolResult list = RunTool({"archive", "list", dir.Native("data")});
    EXPECT_EQ(list.exitCode, 0) << list.out;
    EXPECT_NE(list.out.find("data.cab\n"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("           8  a.txt\n"), std::string::npos) << list.out;

    const ToolResult get = RunTool({"archive", "get", dir.Native("data/A.TXT")});
    ASSERT_EQ(get.exitCode, 0) << get.out;
    const std::string copy = get.out.substr(0, get.out.size() - 1);
    EXPECT_EQ(copy.rfind((temp.path() / "TempCpr").string(), 0), 0u) << copy;
    EXPECT_EQ(ReadBytes(copy), "archived");
}

TEST(ArchiveCommandsTest, Failures) {
    const qx::test::TempDir dir;
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int exitCode;
    } const cases[] = {
        {"get of a missing file", {"archive", "get", dir.Native("nothing.txt")}, 1},
        {"list without archive", {"archive", "list", dir.Native("")}, 1},
        {"list of a damaged archive", {"archive", "list", dir.Native("bad")}, 1},
        {"list of a zip cut in its end record", {"archive", "list", dir.Native("cut")}, 1},
        {"get from a zip cut in its end record", {"archive", "get", dir.Native("cut/a.txt")}, 1},
        {"get without path", {"archive", "get"}, 2},
        {"encode of a missing file", {"encode", dir.Native("missing"), dir.Native("out")}, 1},
        {"decode with one path", {"decode", "--head", dir.Native("x")}, 2},
        {"unknown option", {"encode", "--fast", "a", "b"}, 2},
    };
    fs::create_directory(dir.path() / "bad");
    WriteBytes(dir.path() / "bad" / "data.zip", "PK not really");
    // Cut after the member counts of the end record: minizip reads the rest
    // as whatever it read last, which once gave an empty list and success.
    fs::create_directory(dir.path() / "cut");
    const std::string zip = qx::test::RawZip({{"a.txt", "archived", 0, {}}, {"b.txt", "second", 0, {}}});
    WriteBytes(dir.path() / "cut" / "data.zip", zip.substr(0, zip.size() - 10));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolResult r = RunTool(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.out;
        EXPECT_FALSE(r.out.empty()) << "a failure says why";
    }
}

TEST(ArchiveCommandsTest, ListEscapesControlCharactersInNames) {
    const qx::test::TempDir dir;
    fs::create_directory(dir.path() / "data");
    WriteBytes(dir.path() / "data" / "data.zip",
               qx::test::RawZip({{"title\x1b]0;owned\x07.txt", "x", 0, {}},
                                 {"two\nlines\r.txt", "x", 0, {}},
                                 {"tab\t\x7f.txt", "x", 0, {}},
                                 {"C1 \xc2\x9b" "2J.txt", "x", 0, {}},
                                 {"plain\\name.txt", "x", 0, {}}}));
    const ToolResult list = RunTool({"archive", "list", dir.Native("data")});
    ASSERT_EQ(list.exitCode, 0) << list.out;
    for (const char* shown : {"  title\\x1b]0;owned\\x07.txt\n", "  two\\nlines\\r.txt\n", "  tab\\t\\x7f.txt\n",
                              "  C1 \\x9b2J.txt\n", "  plain\\name.txt\n"})
        EXPECT_NE(list.out.find(shown), std::string::npos) << shown << "\n" << list.out;
    EXPECT_EQ(list.out.find('\x1b'), std::string::npos);
    EXPECT_EQ(list.out.find("\xc2\x9b"), std::string::npos);
}

TEST(ArchiveCommandsTest, Zip64MemberIsListedWithItsSizeAndRefusedWithAReason) {
    const qx::test::TempDir dir;
    const qx::test::TempDir temp;
    const qx::test::ScopedEnv tmpdir("TMPDIR", temp.path().string());
    fs::create_directory(dir.path() / "data");
    WriteBytes(dir.path() / "data" / "data.zip", qx::test::RawZip({{"big.txt", "hello", 0, 5ull << 30}}));
    const ToolResult list = RunTool({"archive", "list", dir.Native("data")});
    EXPECT_EQ(list.exitCode, 0) << list.out;
    EXPECT_NE(list.out.find("  5368709120  big.txt\n"), std::string::npos) << list.out;
    const ToolResult get = RunTool({"archive", "get", dir.Native("data/big.txt")});
    EXPECT_EQ(get.exitCode, 1) << get.out;
    EXPECT_NE(get.out.find("5368709120 bytes is stored with 64-bit sizes"), std::string::npos) << get.out;
}

TEST(ArchiveCommandsTest, EncodeAndDecode) {
    const qx::test::TempDir dir;
    std::string plain;
    for (int i = 0; i < 300; ++i) plain += static_cast<char>(i);
    WriteBytes(dir.path() / "plain", plain);
    ASSERT_EQ(RunTool({"encode", dir.Native("plain"), dir.Native("enc")}).exitCode, 0);
    EXPECT_EQ(static_cast<unsigned char>(ReadBytes(dir.path() / "enc")[0]), 0x2Au);
    ASSERT_EQ(RunTool({"decode", dir.Native("enc"), dir.Native("dec")}).exitCode, 0);
    EXPECT_EQ(ReadBytes(dir.path() / "dec"), plain);

    ASSERT_EQ(RunTool({"decode", "--head", dir.Native("enc"), dir.Native("head")}).exitCode, 0);
    const std::string head = ReadBytes(dir.path() / "head");
    EXPECT_EQ(head.substr(0, 100), plain.substr(0, 100));
    EXPECT_EQ(head.substr(100), ReadBytes(dir.path() / "enc").substr(100));
}

}  // namespace
