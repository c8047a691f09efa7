// qxtool tree cat / convert / get / set on the shipped examples.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "qx/platform/base/codepage.h"
#include "qx/platform/base/utf.h"
#include "qx/text/encoded_form.h"
#include "qx/text/text_codec.h"
#include "tests/support/test_support.h"
#include "tests/tools/run_tool.h"

namespace {

using qx::test::ReadBytes;
using qx::test::RunTool;
using qx::test::RunToolCountingOutput;
using qx::test::TempDir;
using qx::test::WriteBytes;

const std::string kExamples = QX_EXAMPLES_DIR;
const std::string kMusterVdi = kExamples + "/vdi/muster_heizkoerper.vdi";

std::string Encoded(std::string bytes) {
    qx::EncodeBytes(bytes);
    return bytes;
}

// The text of tree file bytes as the family's readers decode it.
std::wstring DecodedFile(std::string bytes, bool encoded) {
    if (encoded) qx::DecodeStoredBytes(bytes);
    return qx::DecodeText(bytes, 0);
}

// The names in *dir*, to show that nothing was left behind.
std::vector<std::string> Entries(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(TreeCommandsTest, CatReadsEveryForm) {
    std::string utf8 = RunTool({"tree", "cat", kExamples + "/trees/config_utf8.txt"}).out;
    ASSERT_NE(utf8.find("Länge:mm"), std::string::npos) << utf8;
    for (const char* file : {"config_cp1252.txt", "config_utf16.txt", "config_encoded.txx"}) {
        SCOPED_TRACE(file);
        auto r = RunTool({"tree", "cat", kExamples + "/trees/" + file});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out, utf8);
    }
}

TEST(TreeCommandsTest, FailuresAndUsage) {
    TempDir dir;
    WriteBytes(dir.path() / "bad.txt", "[A]\r\n[ENDE_B]\r\n");
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int exitCode;
        std::string contains;
    } cases[] = {
        {"read error", {"tree", "cat", dir.Native("bad.txt")}, 1, "Wrong ending node!"},
        {"missing file", {"tree", "cat", dir.Native("none.txt")}, 1, "cannot read"},
        {"no file", {"tree", "cat"}, 2, "usage"},
        {"bad index", {"tree", "get", dir.Native("bad.txt"), "", "k", "x"}, 2, "INDEX"},
        {"bad code page", {"tree", "convert", "a", "b", "--codepage", "99"}, 2, "--codepage"},
        {"missing value", {"tree", "get", kExamples + "/trees/config_utf8.txt", "", "Nope"}, 1, "no value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto r = RunTool(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.out;
        EXPECT_NE(r.out.find(c.contains), std::string::npos) << r.out;
    }
}

TEST(TreeCommandsTest, GetAndSetKeepTheFileForm) {
    TempDir dir;
    std::string file = dir.Native("config.txx");
    WriteBytes(file, ReadBytes(kExamples + "/trees/config_encoded.txx"));
    auto got = RunTool({"tree", "get", file, "Fenster\\", "Position", "3"});
    EXPECT_EQ(got.exitCode, 0);
    EXPECT_EQ(got.out, "800\n");
    EXPECT_EQ(RunTool({"tree", "set", file, "Fenster\\", "Position", "3", "1024"}).exitCode, 0);
    EXPECT_EQ(RunTool({"tree", "get", file, "Fenster\\", "Position", "3"}).out, "1024\n");
    // Still encoded: the plain text is not in the file.
    EXPECT_EQ(ReadBytes(file).find("Fenster"), std::string::npos);
    EXPECT_EQ(RunTool({"tree", "set", file, "NoBackslash", "k", "1", "v"}).exitCode, 1);
}

TEST(TreeCommandsTest, VdiSurvivesConversionToTextAndBack) {
    // Through code-page text and through Unicode text: a VDI file is 8-bit
    // whatever form the tree came in.
    for (const char* option : {"--codepage", "--utf8"}) {
        SCOPED_TRACE(option);
        TempDir dir;
        std::vector<std::string> toText = {"tree", "convert", kMusterVdi, dir.Native("y.txt"), option};
        if (std::string(option) == "--codepage") toText.push_back("1252");
        ASSERT_EQ(RunTool(toText).exitCode, 0);
        auto back = RunTool({"tree", "convert", dir.Native("y.txt"), dir.Native("z.vdi")});
        ASSERT_EQ(back.exitCode, 0) << back.out;
        EXPECT_EQ(ReadBytes(dir.path() / "z.vdi"), ReadBytes(kMusterVdi));
    }
}

TEST(TreeCommandsTest, VdiOutputFailsWithoutTouchingOut) {
    TempDir dir;
    // The product data as Unicode text, with a maker's name code page 1252
    // cannot hold.
    ASSERT_EQ(RunTool({"tree", "convert", kMusterVdi, dir.Native("polish.txt"), "--utf8"}).exitCode, 0);
    ASSERT_EQ(RunTool({"tree", "set", dir.Native("polish.txt"), "GRUPPE 100\\100\\", "<>", "2", "Łódź Sp."}).exitCode, 0);
    WriteBytes(dir.path() / "two.txt", "[010]\r\n<>:3\r\n[100]\r\n<>:1\r\nNotiz:x\r\n[ENDE_100]\r\n[ENDE_010]\r\n");
    struct Case {
        const char* name;
        std::vector<std::string> args;  // OUT is out.vdi
        int exitCode;
        std::string says;
    } cases[] = {
        {"not VDI data", {kExamples + "/trees/config_utf8.txt"}, 1, "the root node 'Einstellungen' is not the record 010"},
        {"a record that would lose a leaf", {dir.Native("two.txt")}, 1, "the record '100' holds 2 leaves"},
        {"a character code page 1252 lacks", {dir.Native("polish.txt")}, 1, "code page 1252 lacks characters"},
        {"UTF-8 is no form of a VDI file", {kMusterVdi, "--utf8"}, 2, "8-bit"},
        {"nor is code page 65001", {kMusterVdi, "--codepage", "65001"}, 2, "8-bit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (bool existed : {false, true}) {
            if (existed) WriteBytes(dir.path() / "out.vdi", "old");
            std::vector<std::string> args = {"tree", "convert", c.args[0], dir.Native("out.vdi")};
            args.insert(args.end(), c.args.begin() + 1, c.args.end());
            auto r = RunTool(args);
            EXPECT_EQ(r.exitCode, c.exitCode) << r.out;
            EXPECT_NE(r.out.find(c.says), std::string::npos) << r.out;
            if (existed) {
                EXPECT_EQ(ReadBytes(dir.path() / "out.vdi"), "old");
            } else {
                EXPECT_FALSE(std::filesystem::exists(dir.path() / "out.vdi"));
            }
            std::filesystem::remove(dir.path() / "out.vdi");
            EXPECT_EQ(Entries(dir), (std::vector<std::string>{"polish.txt", "two.txt"}));
        }
    }
    // The code page that has the characters writes them.
    auto r = RunTool({"tree", "convert", dir.Native("polish.txt"), dir.Native("out.vdi"), "--codepage", "1250"});
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(ReadBytes(dir.path() / "out.vdi").find("100;1;\xA3\xF3" "d\x9F Sp.;"), std::string::npos);
}

TEST(TreeCommandsTest, ConvertToStandardOutputWritesTheFileBytes) {
    const std::string in = kExamples + "/trees/config_utf16.txt";
    const std::vector<std::vector<std::string>> options = {
        {}, {"--utf8"}, {"--codepage", "1250"}, {"--encode"}, {"--no-indent"}};
    for (const auto& option : options) {
        SCOPED_TRACE(testing::PrintToString(option));
        TempDir dir;
        std::vector<std::string> toFile = {"tree", "convert", in, dir.Native("out.txt")};
        std::vector<std::string> toStdout = {"tree", "convert", in, "-"};
        toFile.insert(toFile.end(), option.begin(), option.end());
        toStdout.insert(toStdout.end(), option.begin(), option.end());
        ASSERT_EQ(RunTool(toFile).exitCode, 0);
        auto r = RunTool(toStdout);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out, ReadBytes(dir.path() / "out.txt"));
    }
}

TEST(TreeCommandsTest, DeepDocumentStreams) {
    // 47,000 nested nodes: 705 KB of text, but indented more than two
    // thousand million tabs, which once overran the text buffer. Printed
    // as the tree is walked, it costs memory for the tree alone.
    TempDir dir;
    constexpr unsigned long long kDepth = 47000;
    std::string text;
    for (unsigned long long i = 0; i < kDepth; ++i) text += "[n]\r\n";
    for (unsigned long long i = 0; i < kDepth; ++i) text += "[ENDE_n]\r\n";
    WriteBytes(dir.path() / "deep.txt", text);
    // Level L writes L tabs before "[n]\r\n" and before "[ENDE_n]\r\n".
    const unsigned long long indented = kDepth * (kDepth - 1) + 15 * kDepth;
    for (const char* command : {"cat", "convert"}) {
        SCOPED_TRACE(command);
        std::vector<std::string> args = {"tree", command, dir.Native("deep.txt")};
        if (std::string(command) == "convert") args.push_back("-");
        auto r = RunToolCountingOutput(args);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.outBytes, indented);
        // The indented text alone is 2.2 GB; held whole as wide text, 8.8 GB.
        EXPECT_LT(r.maxResidentKb, 512 * 1024);
    }
}

TEST(TreeCommandsTest, SetKeepsTheFileEncoding) {
    const std::string utf8 = ReadBytes(kExamples + "/trees/config_utf8.txt");
    const std::wstring text = DecodedFile(utf8, false);
    const std::string utf16 = ReadBytes(kExamples + "/trees/config_utf16.txt");
    struct Case {
        const char* name;
        std::string file;  // its name
        std::string bytes;
        size_t markBytes;
    } cases[] = {
        {"UTF-16LE", "c.txt", utf16, 2},
        {"UTF-16BE", "c.txt", "\xFE\xFF" + qx::WideToCodePage(text, qx::kCpUtf16Be), 2},
        {"UTF-8", "c.txt", utf8, 3},
        {"code page", "c.txt", ReadBytes(kExamples + "/trees/config_cp1252.txt"), 0},
        {"encoded UTF-16LE", "c.txx", Encoded(utf16), 2},
        {"encoded UTF-8", "c.txx", Encoded(utf8), 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        WriteBytes(dir.path() / c.file, c.bytes);
        auto r = RunTool({"tree", "set", dir.Native(c.file), "Fenster\\", "Titel", "1", "Grüße"});
        ASSERT_EQ(r.exitCode, 0) << r.out;
        const std::string written = ReadBytes(dir.path() / c.file);
        EXPECT_EQ(written.substr(0, c.markBytes), c.bytes.substr(0, c.markBytes));
        const bool encoded = c.file.back() == 'x';
        EXPECT_NE(DecodedFile(written, encoded).find(L"\t\tTitel:Grüße\r\n"), std::wstring::npos);
        EXPECT_EQ(RunTool({"tree", "get", dir.Native(c.file), "Fenster\\", "Titel"}).out, "Grüße\n");
    }
    // A value the file's code page cannot hold leaves the file as it was.
    TempDir dir;
    const std::string cp1252 = ReadBytes(kExamples + "/trees/config_cp1252.txt");
    WriteBytes(dir.path() / "c.txt", cp1252);
    auto r = RunTool({"tree", "set", dir.Native("c.txt"), "Fenster\\", "Titel", "1", "Łódź"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("code page 1252 lacks characters"), std::string::npos) << r.out;
    EXPECT_EQ(ReadBytes(dir.path() / "c.txt"), cp1252);
    EXPECT_EQ(Entries(dir), std::vector<std::string>{"c.txt"});
}

const std::string kVdiData = std::string(QX_TEST_DATA_DIR) + "/vdi/";
const char* const kCatalogues[] = {"valves.vdi", "pipes.vdi", "heat_pumps.vdi"};

TEST(TreeCommandsTest, VdiImportThatStopsFailsTheCommand) {
    TempDir dir;
    WriteBytes(dir.path() / "orphan.vdi",
               "010;3;\r\n100;1;\r\n110;1;\r\n700;a;\r\n710.01;b;\r\n700;c;\r\n710.11;d;\r\n");
    WriteBytes(dir.path() / "long.vdi", "010;3;\r\n9" + std::string(99, 'A') + ";x;\r\n");
    WriteBytes(dir.path() / "spaced.vdi", "010;3;\r\n900;a;\r\n740 x;y;\r\n");
    WriteBytes(dir.path() / "plain.vdi", "[A]\r\n[ENDE_A]\r\n");
    const std::string out = dir.Native("out.vdi");
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::string contains;
    } cases[] = {
        {"a type outside the table", {"tree", "cat", kVdiData + "heat_pumps.vdi"},
         "import stopped at line 6: record type 710.09 is outside the placement table of part 22 "
         "(--keep-unknown keeps such records)"},
        {"a record without its parent", {"tree", "convert", dir.Native("orphan.vdi"), out},
         "import stopped at line 7: record type 710.11 has no record 710.01 to go below"},
        {"a type with a space is not kept", {"tree", "convert", "--keep-unknown", dir.Native("spaced.vdi"), out},
         "import stopped at line 3: record type 740 x cannot be kept (it holds a space or ends in a backslash)"},
        {"the type shortened", {"tree", "cat", dir.Native("long.vdi")},
         "record type 9" + std::string(39, 'A') + "... is outside"},
        {"not a VDI file", {"tree", "convert", dir.Native("plain.vdi"), out}, "not a VDI file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto r = RunTool(c.args);
        EXPECT_EQ(r.exitCode, 1) << r.out;
        EXPECT_NE(r.out.find(c.contains), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find("Unknown VDI-Node"), std::string::npos) << r.out;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

TEST(TreeCommandsTest, KeepUnknownReadsModernCataloguesWhole) {
    TempDir dir;
    for (const char* catalogue : kCatalogues) {
        SCOPED_TRACE(catalogue);
        const std::string in = kVdiData + catalogue;
        auto direct = RunTool({"tree", "convert", "--keep-unknown", in, dir.Native("direct.vdi")});
        ASSERT_EQ(direct.exitCode, 0) << direct.out;
        EXPECT_EQ(ReadBytes(dir.path() / "direct.vdi"), ReadBytes(in));
        // Through the tree text form and back: colons and real registered
        // signs stay apart in code page 1252 too.
        ASSERT_EQ(RunTool({"tree", "convert", in, dir.Native("tree.txt"), "--keep-unknown"}).exitCode, 0);
        auto back = RunTool({"tree", "convert", dir.Native("tree.txt"), dir.Native("back.vdi")});
        ASSERT_EQ(back.exitCode, 0) << back.out;
        EXPECT_EQ(ReadBytes(dir.path() / "back.vdi"), ReadBytes(in));
    }
    auto cat = RunTool({"tree", "cat", "--keep-unknown", kVdiData + "valves.vdi"});
    EXPECT_EQ(cat.exitCode, 0);
    EXPECT_NE(cat.out.find("[GRUPPE 740]"), std::string::npos) << cat.out;
}

TEST(TreeCommandsTest, SetWritesAVdiFileBackWholeOrNotAtAll) {
    TempDir dir;
    const std::string file = dir.Native("valves.vdi");
    const std::string original = ReadBytes(kVdiData + "valves.vdi");
    WriteBytes(file, original);
    const std::vector<std::string> set = {"tree", "set", file, "GRUPPE 100\\100\\", "<>", "2", "Neue Armaturen GmbH"};
    EXPECT_EQ(RunTool(set).exitCode, 1);
    EXPECT_EQ(ReadBytes(file), original);

    std::vector<std::string> keep = set;
    keep.push_back("--keep-unknown");
    auto r = RunTool(keep);
    ASSERT_EQ(r.exitCode, 0) << r.out;
    std::string expected = original;
    const std::string maker = "Muster Armaturen GmbH;Ventilweg";
    expected.replace(expected.find(maker), maker.size(), "Neue Armaturen GmbH;Ventilweg");
    EXPECT_EQ(ReadBytes(file), expected);
}

}  // namespace
