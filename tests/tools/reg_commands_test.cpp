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
            {"line break back", {"reg", "query", "HKLM\\Software\\X\\Sub", "multi"}, 0, "REG_SZ    a\nb\n"},
        });
    }
}

}  // namespace
