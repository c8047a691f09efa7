#include "qx/platform/os/system_folders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "qx/platform/os/file_system.h"
#include "qx/platform/os/process_info.h"
#include "tests/support/fixtures.h"

namespace qx {
namespace {

TEST(SystemFoldersTest, TheSystemFolderHoldsTheSystemsPrograms) {
    EXPECT_EQ(SystemDirectory(), L"\\usr\\bin\\");
    EXPECT_TRUE(DirectoryExists(SystemDirectory()));
}

TEST(SystemFoldersTest, TheSystemFolderTakesItsDriveLetter) {
    struct MappedUsr {
        MappedUsr() { SetDriveMap("R=/usr"); }
        ~MappedUsr() { ResetDriveMap(); }
    } mapped;
    EXPECT_EQ(SystemDirectory(), L"R:\\bin\\");
}

TEST(SystemFoldersTest, ProgramSearchGoesProgramCurrentThenPath) {
    const std::wstring program = ProgramDirectory();
    const std::wstring current = CurrentDirectory();
    struct Case {
        const char* name;
        const char* path;
        std::vector<std::wstring> after;  // the folders after program and current
    } const cases[] = {
        {"two folders", "/opt/x/bin:/usr/bin", {L"\\opt\\x\\bin", L"\\usr\\bin"}},
        {"empty entries and repeats", ":/opt/x::/opt/x:", {L"\\opt\\x"}},
        {"relative entry", "tools", {L"tools"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::ScopedEnv path("PATH", c.path);
        std::vector<std::wstring> expected = {program, current};
        expected.insert(expected.end(), c.after.begin(), c.after.end());
        EXPECT_EQ(ProgramSearchFolders(), expected);
    }
}

TEST(SystemFoldersTest, WithoutPathTheSystemsDefaultApplies) {
    test::ScopedEnv path("PATH", std::nullopt);
    const std::vector<std::wstring> folders = ProgramSearchFolders();
    EXPECT_NE(std::find(folders.begin(), folders.end(), L"\\usr\\bin"), folders.end());
}

}  // namespace
}  // namespace qx
