#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qx/install/reg_functions.h"
#include "qx/install/reg_util.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/native_path.h"
#include "qx/platform/os/registry_store.h"
#include "tests/support/fixtures.h"
#include "tests/support/test_support.h"

namespace {

// The registry and every freedesktop folder inside one temporary folder.
class AppFromExtensionTest : public ::testing::Test {
protected:
    AppFromExtensionTest() { qx::ResetRegistry(); }
    ~AppFromExtensionTest() override { qx::ResetRegistry(); }

    void Write(const std::string& name, const std::string& text) const {
        const auto file = dir_.path() / name;
        std::filesystem::create_directories(file.parent_path());
        qx::test::WriteBytes(file, text);
    }
    static void Classes(const wchar_t* key, const wchar_t* name, const wchar_t* text) {
        ASSERT_TRUE(RegSetValueW(HKEY_CLASSES_ROOT, key, name, text));
    }
    std::wstring Lib(const std::string& name) const { return qx::FromNativePath(dir_.Native(name)); }

    qx::test::TempDir dir_;
    qx::test::ScopedEnv registry_{"QX_REGISTRY_DIR", dir_.Native("reg")};
    qx::test::ScopedEnv configHome_{"XDG_CONFIG_HOME", dir_.Native("config")};
    qx::test::ScopedEnv configDirs_{"XDG_CONFIG_DIRS", dir_.Native("etc-xdg")};
    qx::test::ScopedEnv dataHome_{"XDG_DATA_HOME", dir_.Native("data")};
    qx::test::ScopedEnv dataDirs_{"XDG_DATA_DIRS", dir_.Native("share")};
    qx::test::ScopedEnv desktop_{"XDG_CURRENT_DESKTOP", std::nullopt};
    qx::test::ScopedEnv path_{"PATH", dir_.Native("bin")};
    qx::test::ScopedEnv tools_{"QXTEST_TOOLS", "C:\\Tools"};
};

struct CommandCase {
    const char* name;
    const wchar_t* command;
    const wchar_t* program;
};

TEST_F(AppFromExtensionTest, ReducesTheCommandToItsProgram) {
    const CommandCase cases[] = {
        {"quoted with argument", L"\"C:\\P\\prog.exe\" \"%1\"", L"C:\\P\\prog.exe"},
        {"space in the folder", L"C:\\Program Files\\App\\app.exe /open %1", L"C:\\Program Files\\App\\app.exe"},
        {"percent right after", L"C:\\x\\prog.exe%1", L"C:\\x\\prog.exe"},
        {"variables expanded", L"%QXTEST_TOOLS%\\app.exe \"%1\"", L"C:\\Tools\\app.exe"},
        {"unknown variable stays", L"%QXTEST_NOT_SET%\\a.exe", L"%QXTEST_NOT_SET%\\a.exe"},
        {"no dot: kept whole", L"notepad %1", L"notepad %1"},
    };
    Classes(L".qxa", nullptr, L"Qx.Doc");
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.name);
        Classes(L"Qx.Doc\\shell\\open\\command", nullptr, c.command);
        CString app;
        ASSERT_TRUE(CRegUtil::getAppFromExtension(L"qxa", app, false));
        EXPECT_EQ(app, c.program);
        ASSERT_TRUE(CRegUtil::getAppFromExtension(L".qxa", app, true));
        EXPECT_EQ(app, CString(L"\"") + c.program + L"\"");
    }
}

TEST_F(AppFromExtensionTest, RegistrySourcesInTheirOrder) {
    CString app = L"unchanged";
    EXPECT_FALSE(CRegUtil::getAppFromExtension(L".qxb", app, false));
    EXPECT_EQ(app, L"unchanged");

    // Without an "open" verb, the first verb with a command serves.
    Classes(L".qxb", nullptr, L"Qx.B");
    Classes(L"Qx.B\\shell\\print", nullptr, L"");
    Classes(L"Qx.B\\shell\\edit\\command", nullptr, L"C:\\edit.exe %1");
    ASSERT_TRUE(CRegUtil::getAppFromExtension(L".qxb", app, false));
    EXPECT_EQ(app, L"C:\\edit.exe");

    // The user's choice comes first.
    ASSERT_TRUE(RegSetValueW(HKEY_CURRENT_USER,
                             L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.qxb\\UserChoice",
                             L"ProgId", L"Qx.Mine"));
    Classes(L"Qx.Mine\\shell\\open\\command", nullptr, L"\"C:\\mine.exe\" \"%1\"");
    ASSERT_TRUE(CRegUtil::getAppFromExtension(L"QXB", app, false));
    EXPECT_EQ(app, L"C:\\mine.exe");
}

TEST_F(AppFromExtensionTest, FallsBackToTheDesktopsDefaultApplication) {
    Write("share/mime/globs2", "# comment\n50:text/x-low:*.qxd\n80:application/x-qxd:*.QXD\n");
    Write("data/applications/qxview.desktop",
          "[Desktop Action New]\nExec=/wrong\n[Desktop Entry]\nName=Qx View\nExec=\"" + dir_.Native("Qx View/qxview") +
              "\" %f\n");
    Write("data/applications/plain.desktop", "[Desktop Entry]\nExec=plainview %U\n");
    Write("bin/plainview", "");
    Write("etc-xdg/mimeapps.list", "[Default Applications]\napplication/x-qxd=plain.desktop\n");

    CString app;
    ASSERT_TRUE(CRegUtil::getAppFromExtension(L"qxd", app, false));
    EXPECT_EQ(app, Lib("bin/plainview")) << "a program without folder is found along PATH";

    // The user's list outranks the system's; an entry that is not installed
    // is passed over.
    Write("config/mimeapps.list",
          "[Added Associations]\napplication/x-qxd=plain.desktop\n"
          "[Default Applications]\napplication/x-qxd=missing.desktop;qxview.desktop;\n");
    ASSERT_TRUE(CRegUtil::getAppFromExtension(L".qxd", app, true));
    EXPECT_EQ(app, L"\"" + Lib("Qx View/qxview") + L"\"");

    // Only associated, no default anywhere: the association serves.
    Write("config/mimeapps.list", "[Added Associations]\napplication/x-qxd=qxview.desktop\n");
    Write("etc-xdg/mimeapps.list", "");
    ASSERT_TRUE(CRegUtil::getAppFromExtension(L".qxd", app, false));
    EXPECT_EQ(app, Lib("Qx View/qxview"));

    // The registry's association comes before the desktop's.
    Classes(L".qxd\\", nullptr, L"Qx.D");
    Classes(L"Qx.D\\shell\\open\\command", nullptr, L"C:\\d.exe %1");
    ASSERT_TRUE(CRegUtil::getAppFromExtension(L".qxd", app, false));
    EXPECT_EQ(app, L"C:\\d.exe");

    // A desktop id cannot lead out of the applications folder.
    Write("config/mimeapps.list", "[Default Applications]\napplication/x-qxe=../escape.desktop\n");
    Write("share/mime/globs2", "50:application/x-qxe:*.qxe\n");
    Write("data/escape.desktop", "[Desktop Entry]\nExec=/escaped\n");
    EXPECT_FALSE(CRegUtil::getAppFromExtension(L".qxe", app, false));
}

TEST_F(AppFromExtensionTest, LocalAppDataAndTemporaryFolders) {
    CString dir;
    EXPECT_TRUE(CRegUtil::getLocalAppDataPath(dir));
    EXPECT_EQ(dir, Lib("data") + L"\\");
    ASSERT_TRUE(RegSetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                             L"Local AppData", L"C:\\Users\\me\\AppData\\Local"));
    EXPECT_TRUE(CRegUtil::getLocalAppDataPath(dir));
    EXPECT_EQ(dir, L"C:\\Users\\me\\AppData\\Local\\");

    qx::test::ScopedEnv tmp("TMPDIR", dir_.Native("new-tmp"));
    EXPECT_NE(CRegUtil::getWindowsTempPath(dir), 0);
    EXPECT_EQ(dir, Lib("new-tmp") + L"\\");
    EXPECT_TRUE(std::filesystem::is_directory(dir_.path() / "new-tmp"));
}

}  // namespace
