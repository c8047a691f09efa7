#include "qx/text/path_system.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <filesystem>
#include <string>

#include "qx/platform/os/file_system.h"
#include "qx/platform/os/process_info.h"
#include "tests/support/fixtures.h"

namespace {

namespace fs = std::filesystem;

class PathSystemTest : public qx::test::DriveFolderTest {};

TEST_F(PathSystemTest, CreatesEveryMissingFolder) {
    Write("file", "x");
    struct Case {
        const wchar_t* path;
        const char* folder;  // must exist afterwards
    } const cases[] = {
        {L"C:\\a\\b\\c", "a/b/c"},
        {L"C:\\a\\b\\d\\", "a/b/d"},
        {L"C:/s1/s2", "s1/s2"},  // slashes separate too
        {L"C:\\A\\x", "a/x"},    // an existing folder in another letter case is used
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "path \"" << c.path << "\"");
        EXPECT_EQ(qxRecurseCreateDir(c.path), 1);
        EXPECT_TRUE(fs::is_directory(Native(c.folder)));
    }
    EXPECT_EQ(qxRecurseCreateDir(L"C:\\file\\x"), 1) << "failures are not reported";
    EXPECT_TRUE(fs::is_regular_file(Native("file")));
    EXPECT_EQ(qxRecurseCreateDir(L"Q:\\x"), 1);
    EXPECT_EQ(qxRecurseCreateDir(L""), 1);
}

TEST_F(PathSystemTest, FindsFilesOnTheSearchPathAndInTheList) {
    Write("bin/tool.cfg", "x");
    Write("one/a.dat", "x");
    Write("two/b.dat", "x");
    Write("two/a.dat", "x");
    MakeFolder("empty");
    qx::test::ScopedEnv path("PATH", Native("empty") + ":" + Native("bin"));
    wchar_t list[] = L"C:\\nowhere; C:\\one; C:\\two";
    wchar_t tight[] = L"C:\\nowhere;C:\\two ;;";
    struct Case {
        const wchar_t* name;
        wchar_t* list;
        bool result;
        std::wstring found;  // "" : *found* untouched
    } const cases[] = {
        {L"tool.cfg", nullptr, true, L"C:\\bin\\tool.cfg"},
        {L"TOOL.CFG", nullptr, true, L"C:\\bin\\TOOL.CFG"},
        {L"a.dat", list, true, L"C:\\one\\a.dat"},
        {L"b.dat", list, true, L"C:\\two\\b.dat"},
        {L"b.dat", tight, true, L"C:\\two\\b.dat"},  // no space after ';', space before it
        {L"c.dat", list, false, L""},
        {L"b.dat", nullptr, false, L""},
        {L"C:\\one\\a.dat", nullptr, true, L"C:\\one\\a.dat"},
        {L"C:\\one\\b.dat", list, false, L""},
        {L"", list, false, L""},
        {nullptr, list, false, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "name \"" << (c.name ? c.name : L"(null)") << "\"");
        wchar_t found[260] = L"untouched";
        EXPECT_EQ(qx_access(c.name, 0, c.list, found), c.result);
        EXPECT_EQ(std::wstring(found), c.found.empty() ? L"untouched" : c.found);
    }
    EXPECT_EQ(std::wstring(list), L"C:\\nowhere; C:\\one; C:\\two") << "the list is not changed";
    EXPECT_TRUE(qx_access(L"a.dat", 4, list, nullptr)) << "found may be null";
}

TEST_F(PathSystemTest, SearchesTheProgramsFolderAndTheCurrentFolder) {
    Write("here.txt", "x");
    const fs::path previous = fs::current_path();
    fs::current_path(dir_.path());
    wchar_t found[260] = {};
    const bool inCurrent = qx_access(L"here.txt", 0, nullptr, found);
    fs::current_path(previous);
    EXPECT_TRUE(inCurrent);
    EXPECT_EQ(std::wstring(found), L"C:\\here.txt");

    const std::wstring program = qx::ProgramPath();
    const std::wstring programName = program.substr(program.rfind(L'\\') + 1);
    ASSERT_TRUE(qx_access(programName.c_str(), 0, nullptr, found));
    EXPECT_EQ(std::wstring(found), program);
}

TEST_F(PathSystemTest, ChecksTheAccessMode) {
    Write("rw.txt", "x");
    Write("ro.txt", "x");
    ASSERT_TRUE(qx::ChangeFileAttributes(L"C:\\ro.txt", qx::kFileAttributeReadOnly));
    struct Case {
        const wchar_t* name;
        unsigned char mode;
        bool granted;
    } const cases[] = {
        {L"C:\\rw.txt", 0, true}, {L"C:\\rw.txt", 2, true}, {L"C:\\rw.txt", 4, true}, {L"C:\\rw.txt", 6, true},
        {L"C:\\ro.txt", 0, true}, {L"C:\\ro.txt", 2, false}, {L"C:\\ro.txt", 4, true}, {L"C:\\ro.txt", 6, false},
        {L"C:\\rw.txt", 1, false},  // not a mode
        {L"C:\\rw.txt", 8, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "name \"" << c.name << "\", mode " << int{c.mode});
        EXPECT_EQ(qx_access(c.name, c.mode, nullptr, nullptr), c.granted);
    }
}

TEST_F(PathSystemTest, APathLongerThanTheBufferIsNotFound) {
    // The caller's buffer holds 260 characters; the path must not run past it.
    const std::string folder = std::string(150, 'f') + "/" + std::string(100, 'g');
    Write(folder + "/long-name.txt", "x");
    wchar_t list[300];
    const std::wstring libraryFolder = L"C:\\" + std::wstring(150, L'f') + L"\\" + std::wstring(100, L'g');
    std::wcscpy(list, libraryFolder.c_str());
    wchar_t found[260] = L"untouched";
    EXPECT_FALSE(qx_access(L"long-name.txt", 0, list, found));
    EXPECT_EQ(std::wstring(found), L"untouched");
}

TEST(PathFoldersTest, EndWithABackslash) {
    qx::test::ScopedEnv tmp("TMPDIR", "/var/tmp/");
    EXPECT_EQ(GetTempPathW(), L"\\var\\tmp\\");
    EXPECT_EQ(GetSystemDirectoryW(), L"\\usr\\bin\\");
}

}  // namespace
