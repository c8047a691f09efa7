// qxtool reg ...: run as a user would, against a registry in a temporary
// folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qx/platform/base/utf.h"
#include "tests/support/fixtures.h"
#include "tests/support/test_support.h"
#include "tests/tools/run_tool.h"

namespace {

using qx::test::RunTool;
using qx::test::ToolResult;

class RegCommandsTest : public ::testing::Test {
protected:
    std::string File(const std::string& name) const { return dir_.Native(name); }

    qx::test::TempDir dir_;
    qx::test::ScopedEnv registry_{"QX_REGISTRY_DIR", dir_.Native("reg")};
};

struct CommandCase {
    const char* name;
    std::vector<std::string> args;
    int exitCode;
    std::string outContains;
};

void RunCases(const std::vector<CommandCase>& cases) {
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolResult r = RunTool(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.out;
        EXPECT_NE(r.out.find(c.outContains), std::string::npos) << r.out;
    }
}

TEST_F(RegCommandsTest, SetQueryDelete) {
    const std::string env = "HKEY_CURRENT_USER\\Software\\Acme\\Env";
    RunCases({
        {"set text", {"reg", "set", env, "Lang", "de"}, 0, ""},
        {"set number", {"reg", "set", "HKCU\\Software\\Acme\\Env", "Count", "0x2a", "--dword"}, 0, ""},
        {"set expandable", {"reg", "set", "hkcu\\software\\acme\\env", "Path", "%HOME%\\x", "--expand"}, 0, ""},
        {"set default", {"reg", "set", env, "@", "d"}, 0, ""},
        {"query one", {"reg", "query", env, "lang"}, 0, "    Lang    REG_SZ    de\n"},
        {"query number", {"reg", "query", env, "Count"}, 0, "REG_DWORD    0x0000002a (42)"},
        {"query expandable", {"reg", "query", env, "Path"}, 0, "REG_EXPAND_SZ    %HOME%\\x"},
        {"query default", {"reg", "query", env, "@"}, 0, "(Default)    REG_SZ    d"},
        {"query key", {"reg", "query", "HKCU\\Software\\Acme"}, 0,
         "HKEY_CURRENT_USER\\Software\\Acme\nHKEY_CURRENT_USER\\Software\\Acme\\Env\n"},
        {"query missing value", {"reg", "query", env, "Nope"}, 1, "no value 'Nope'"},
        {"query missing key", {"reg", "query", "HKLM\\Nope"}, 1, "no such key"},
        {"delete value", {"reg", "delete", env, "Lang"}, 0, ""},
        {"deleted value is gone", {"reg", "query", env, "Lang"}, 1, "no value"},
        {"delete missing value", {"reg", "delete", env, "Lang"}, 1, "no value"},
        {"delete key", {"reg", "delete", "HKCU\\Software\\Acme"}, 0, ""},
        {"deleted key is gone", {"reg", "query", env}, 1, "no such key"},
        {"delete missing key", {"reg", "delete", "HKCU\\Software\\Acme"}, 1, "no such key"},
    });
}

TEST_F(RegCommandsTest, CommandLineErrors) {
    RunCases({
        {"help", {"reg", "set", "--help"}, 0, "usage: qxtool reg set KEY NAME VALUE"},
        {"other root", {"reg", "query", "HKEY_USERS\\x"}, 2, "KEY must start with"},
        {"bad key", {"reg", "set", "HKCU\\a\\\\b", "n", "v"}, 2, "not a valid key name"},
        {"bad number", {"reg", "set", "HKCU\\a", "n", "12x", "--dword"}, 2, "--dword takes a number"},
        {"negative number", {"reg", "set", "HKCU\\a", "n", "-1", "--dword"}, 2, "--dword takes a number"},
        {"number too big", {"reg", "set", "HKCU\\a", "n", "4294967296", "--dword"}, 2, "--dword takes a number"},
        {"two types", {"reg", "set", "HKCU\\a", "n", "1", "--dword", "--expand"}, 2, "exclude each other"},
        {"missing arguments", {"reg", "set", "HKCU\\a", "n"}, 2, "expects KEY NAME VALUE"},
        {"unknown option", {"reg", "query", "HKCU\\a", "--x"}, 2, "unknown option --x"},
        {"a root cannot go", {"reg", "delete", "HKCU"}, 2, "a root cannot be deleted"},
        {"missing file", {"reg", "import", "/nonexistent/x.reg"}, 1, "cannot read"},
        {"export of a missing key", {"reg", "export", "HKCU\\Nope", "-"}, 1, "no such key"},
    });
}

TEST_F(RegCommandsTest, ImportsARegeditExportAsItIs) {
    const std::wstring text =
        L"Windows Registry Editor Version 5.00\r\n\r\n"
        L"[HKEY_CURRENT_USER\\Software\\quOrix GmbH\\Env]\r\n"
        L"\"Lang\"=\"de\"\r\n\"Adressen20\"=\"C:\\\\Daten\\\\Adr\\\\\"\r\n\"Zahl\"=dword:00000010\r\n"
        L"\"Pfad\"=hex(2):25,00,41,00,25,00,00,00\r\n"
        L"\"Lang\"=\"not \"escaped\" well\"\r\n"
        L"\r\n[HKEY_USERS\\S-1-5-21\\Software]\r\n\"x\"=\"y\"\r\n"
        L"\r\n[HKEY_CLASSES_ROOT\\.qxd]\r\n@=\"Qx.Doc\"\r\n";
    qx::test::WriteBytes(File("in.reg"), "\xFF\xFE" + qx::WideToUtf16Bytes(text, false));
    RunCases({
        {"import", {"reg", "import", File("in.reg")}, 0, "skipped line 8: \"Lang\"=\"not \"escaped\" well\" (not understood)"},
        {"other roots are reported", {"reg", "import", File("in.reg")}, 0, "line 10: [HKEY_USERS"},
        {"text", {"reg", "query", "HKCU\\Software\\quOrix GmbH\\Env", "Lang"}, 0, "REG_SZ    de\n"},
        {"escaped backslashes", {"reg", "query", "HKCU\\Software\\quOrix GmbH\\Env", "Adressen20"}, 0, "C:\\Daten\\Adr\\\n"},
        {"number", {"reg", "query", "HKCU\\Software\\quOrix GmbH\\Env", "Zahl"}, 0, "(16)"},
        {"expandable", {"reg", "query", "HKCU\\Software\\quOrix GmbH\\Env", "Pfad"}, 0, "REG_EXPAND_SZ    %A%\n"},
        {"classes", {"reg", "query", "HKCR\\.qxd", "@"}, 0, "Qx.Doc"},
        {"classes live in the machine's file", {"reg", "query", "HKLM\\Software\\Classes\\.QXD", "@"}, 0, "Qx.Doc"},
    });
}

TEST_F(RegCommandsTest, QueryShowsEachTypeAsWhatItHolds) {
    qx::test::WriteBytes(File("types.reg"),
                         "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\T]\n"
                         "\"multi\"=hex(7):6f,00,6e,00,65,00,00,00,00,00,74,00,77,00,6f,00,00,00,00,00\n"
                         "\"multi escaped\"=hex(7):61,00,1b,00,62,00,00,00,00,00\n"
                         "\"qword\"=hex(b):2a,00,00,00,00,00,00,01\n"
                         "\"short qword\"=hex(b):2a,00\n"
                         "\"big endian\"=hex(5):00,00,00,2a\n"
                         "\"link\"=hex(6):41,00\n"
                         "\"resources\"=hex(8):01,02\n"
                         "\"descriptor\"=hex(9):03\n"
                         "\"requirements\"=hex(a):04\n"
                         "\"title\x1b]0;x\x07\"=\"clear\x1b[2J\"\n");
    RunCases({
        {"import", {"reg", "import", File("types.reg")}, 0, ""},
        {"strings of a list, an empty one inside kept", {"reg", "query", "HKCU\\T", "multi"}, 0,
         "    multi    REG_MULTI_SZ    one\\0\\0two\n"},
        {"a list's control characters", {"reg", "query", "HKCU\\T", "multi escaped"}, 0, "REG_MULTI_SZ    a\\x1bb\n"},
        {"a 64-bit number", {"reg", "query", "HKCU\\T", "qword"}, 0,
         "REG_QWORD    0x010000000000002a (72057594037927978)\n"},
        {"a 64-bit number of two bytes", {"reg", "query", "HKCU\\T", "short qword"}, 0, "REG_QWORD    2A00\n"},
        {"type 5", {"reg", "query", "HKCU\\T", "big endian"}, 0, "REG_DWORD_BIG_ENDIAN    0000002A\n"},
        {"type 6", {"reg", "query", "HKCU\\T", "link"}, 0, "REG_LINK    4100\n"},
        {"type 8", {"reg", "query", "HKCU\\T", "resources"}, 0, "REG_RESOURCE_LIST    0102\n"},
        {"type 9", {"reg", "query", "HKCU\\T", "descriptor"}, 0, "REG_FULL_RESOURCE_DESCRIPTOR    03\n"},
        {"type 10", {"reg", "query", "HKCU\\T", "requirements"}, 0, "REG_RESOURCE_REQUIREMENTS_LIST    04\n"},
        {"names and text cannot move the terminal", {"reg", "query", "HKCU\\T"}, 0,
         "    title\\x1b]0;x\\x07    REG_SZ    clear\\x1b[2J\n"},
    });
    EXPECT_EQ(RunTool({"reg", "query", "HKCU\\T"}).out.find('\x1b'), std::string::npos);
}

TEST_F(RegCommandsTest, ImportReportsALastLineCutShortAndKeepsItOut) {
    const std::string head = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\C]\r\n\"a\"=\"1\"\r\n";
    const std::string utf16 =
        "\xFF\xFE" + qx::WideToUtf16Bytes(qx::Utf8ToWide(head) + L"\"v\"=dword:0000002a\r\n", false);
    const struct {
        const char* name;
        std::string bytes;
        std::string skipped;
    } cases[] = {
        {"UTF-16 of odd length", utf16.substr(0, utf16.size() - 7), "skipped line 5: \"v\"=dword:000000"},
        {"a quoted value without its closing quote", head + "\"v\"=\"C:\\\\Dat", "skipped line 5: \"v\"=\"C:\\\\Dat"},
        {"a hex list promising a next line", head + "\"v\"=hex:01,02,\\\r\n", "skipped line 5: \"v\"=hex:01,02,\\"},
        {"a dword cut in its digits", head + "\"v\"=dword:0000002", "skipped line 5: \"v\"=dword:0000002"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        qx::test::WriteBytes(File("cut.reg"), c.bytes);
        RunCases({
            {"import", {"reg", "import", File("cut.reg")}, 0, c.skipped},
            {"says why", {"reg", "import", File("cut.reg")}, 0, "(cut short: the file ends inside it)"},
            {"the rest is imported", {"reg", "query", "HKCU\\C", "a"}, 0, "REG_SZ    1\n"},
            {"the cut value is not", {"reg", "query", "HKCU\\C", "v"}, 1, "no value 'v'"},
        });
    }
}

TEST_F(RegCommandsTest, NamesBeyondTheLimitsOfWindowsAreRefused) {
    std::string deepPath = "HKCU";
    for (int i = 0; i < 129; ++i) deepPath += "\\" + std::string(255, 'k');
    const std::string longName(16384, 'n');
    qx::test::WriteBytes(File("long.reg"),
                         "REGEDIT4\n[HKEY_CURRENT_USER\\L]\n\"" + longName + "\"=\"v\"\n\"ok\"=\"w\"\n");
    RunCases({
        {"a key path beyond 32,767", {"reg", "set", deepPath, "n", "v"}, 2, "not a valid key name"},
        {"a value name beyond 16,383", {"reg", "set", "HKCU\\L", longName, "v"}, 2, "longer than 16,383 characters"},
        {"a value name of 16,383", {"reg", "set", "HKCU\\L", longName.substr(1), "v"}, 0, ""},
        {"imported, a value name beyond 16,383", {"reg", "import", File("long.reg")}, 0,
         "(not a valid value name: longer than 16,383 characters or holding a zero)"},
        {"the rest is imported", {"reg", "query", "HKCU\\L", "ok"}, 0, "REG_SZ    w\n"},
    });
}

TEST_F(RegCommandsTest, ExportReadsBackTheSame) {
    RunCases({
        {"text", {"reg", "set", "HKLM\\Software\\X", "t", "\"quoted\" \\ back"}, 0, ""},
        {"number", {"reg", "set", "HKLM\\Software\\X\\Sub", "n", "7", "--dword"}, 0, ""},
        {"line break", {"reg", "set", "HKLM\\Software\\X\\Sub", "multi", "a\nb"}, 0, ""},
    });
    for (const char* form : {"--utf16", "--utf8-is-the-default"}) {
        SCOPED_TRACE(form);
        std::vector<std::string> exportArgs = {"reg", "export", "HKLM\\Software\\X", File("out.reg")};
        if (std::string(form) == "--utf16") exportArgs.push_back(form);
        ASSERT_EQ(RunTool(exportArgs).exitCode, 0);
        const std::string bytes = qx::test::ReadBytes(File("out.reg"));
        EXPECT_EQ(bytes.starts_with("\xFF\xFE"), std::string(form) == "--utf16");
        RunCases({
            {"delete", {"reg", "delete", "HKLM\\Software\\X"}, 0, ""},
            {"import", {"reg", "import", File("out.reg")}, 0, ""},
            {"text back", {"reg", "query", "HKLM\\Software\\X", "t"}, 0, "REG_SZ    \"quoted\" \\ back\n"},
            {"number back", {"reg", "query", "HKLM\\Software\\X\\Sub", "n"}, 0, "(7)"},
            {"line break back, shown escaped", {"reg", "query", "HKLM\\Software\\X\\Sub", "multi"}, 0,
             "REG_SZ    a\\nb\n"},
        });
    }
}

}  // namespace
