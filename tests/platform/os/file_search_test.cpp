#include "qx/platform/os/file_search.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "qx/platform/os/last_error.h"
#include "tests/support/fixtures.h"

namespace qx {
namespace {

class FileSearchTest : public test::DriveFolderTest {
protected:
    // The names a search for *pathPattern* hands out, folders marked with a
    // final '/'; {"<error N>"} when it does not start.
    static std::vector<std::wstring> List(const std::wstring& pathPattern) {
        auto search = FileSearch::Start(pathPattern);
        if (!search) return {L"<error " + std::to_wstring(GetLastError()) + L">"};
        std::vector<std::wstring> names;
        while (const FoundEntry* entry = search->Next()) names.push_back(entry->name + (entry->folder ? L"/" : L""));
        return names;
    }
};

TEST_F(FileSearchTest, ListsDotsFirstThenInNtfsOrder) {
    // Created in an order unlike the expected one; the file system's own
    // order must not show.
    for (const char* name : {"b.txt", "_x.txt", "A.txt", "c", "a0.txt", "\xC3\x84pfel.txt", "Z.TXT"})
        Write(std::string("data/") + name, "x");
    MakeFolder("data/Sub");
    // Upper-cased, '_' (0x5F) sorts after the letters and 'Ä' after them all.
    // "A.TXT" before "A0.TXT": the point is 0x2E, the digit 0x30.
    const std::vector<std::wstring> all = {L"./", L"../",  L"A.txt", L"a0.txt", L"b.txt",
                                           L"c",  L"Sub/", L"Z.TXT", L"_x.txt", L"\u00C4pfel.txt"};
    EXPECT_EQ(List(L"C:\\data\\*"), all);
    EXPECT_EQ(List(L"C:\\data\\*.*"), all);
    EXPECT_EQ(List(L"C:/data/*.TXT"),
              (std::vector<std::wstring>{L"A.txt", L"a0.txt", L"b.txt", L"Z.TXT", L"_x.txt", L"\u00C4pfel.txt"}));
    EXPECT_EQ(List(L"C:\\data\\*."), (std::vector<std::wstring>{L"./", L"../", L"c", L"Sub/"}));
    EXPECT_EQ(List(L"C:\\DATA\\sub"), (std::vector<std::wstring>{L"Sub/"})) << "a plain name in any case";
}

TEST_F(FileSearchTest, NamesEqualIgnoringCaseComeInAFixedOrder) {
    Write("d/readme", "x");
    Write("d/README", "x");
    EXPECT_EQ(List(L"C:\\d\\readme"), (std::vector<std::wstring>{L"README", L"readme"}));
}

TEST_F(FileSearchTest, ALinkToAFolderIsAFolder) {
    MakeFolder("d/target");
    Write("d/file", "x");
    std::filesystem::create_directory_symlink(Native("d/target"), Native("d/to-folder"));
    std::filesystem::create_symlink(Native("d/file"), Native("d/to-file"));
    std::filesystem::create_symlink(Native("d/nothing"), Native("d/dangling"));
    EXPECT_EQ(List(L"C:\\d\\t*"), (std::vector<std::wstring>{L"target/", L"to-file", L"to-folder/"}));
    EXPECT_EQ(List(L"C:\\d\\dangling"), (std::vector<std::wstring>{L"dangling"}));
}

TEST_F(FileSearchTest, LeavesOutNamesThatALibraryPathCannotName) {
    // Joined to its folder, "..\\evil" would name a file outside of it.
    Write("d/..\\evil", "x");
    Write("d/good", "x");
    EXPECT_EQ(List(L"C:\\d\\*"), (std::vector<std::wstring>{L"./", L"../", L"good"}));
}

TEST_F(FileSearchTest, FailsAsFindFirstFileDoes) {
    Write("d/a.txt", "x");
    EXPECT_EQ(List(L"C:\\d\\*.csv"), (std::vector<std::wstring>{L"<error 2>"}));
    EXPECT_EQ(List(L"C:\\d\\"), (std::vector<std::wstring>{L"<error 2>"})) << "an empty pattern matches nothing";
    EXPECT_EQ(List(L"C:\\missing\\*"), (std::vector<std::wstring>{L"<error 3>"}));
    EXPECT_EQ(List(L"C:\\d\\a.txt\\*"), (std::vector<std::wstring>{L"<error 3>"})) << "a file is no folder";
    EXPECT_EQ(List(L"Q:\\*"), (std::vector<std::wstring>{L"<error 3>"})) << "an unmapped drive";
}

TEST_F(FileSearchTest, SearchesTheCurrentFolderOrTheDrivesFolder) {
    Write("top.txt", "x");
    EXPECT_EQ(List(L"C:*.txt"), (std::vector<std::wstring>{L"top.txt"}));
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
    const auto relative = List(L"*.txt");
    std::filesystem::current_path(previous);
    EXPECT_EQ(relative, (std::vector<std::wstring>{L"top.txt"}));
}

TEST_F(FileSearchTest, ReadsAnEntrysStatusWhenAsked) {
    Write("d/a.txt", "12345");
    MakeFolder("d/sub");
    auto search = FileSearch::Start(L"C:\\d\\*");
    ASSERT_TRUE(search);
    const FoundEntry* dot = search->Next();
    const auto dotStatus = search->StatusOf(*dot);
    ASSERT_TRUE(dotStatus);
    EXPECT_EQ(dotStatus->attributes & kFileAttributeDirectory, kFileAttributeDirectory);
    search->Next();  // ".."
    const FoundEntry* file = search->Next();
    ASSERT_EQ(file->name, L"a.txt");
    const auto status = search->StatusOf(*file);
    ASSERT_TRUE(status);
    EXPECT_EQ(status->size, 5u);
    EXPECT_EQ(status->attributes, kFileAttributeArchive);

    std::filesystem::remove(Native("d/a.txt"));
    EXPECT_FALSE(search->StatusOf(*file)) << "gone since the listing";
    EXPECT_EQ(search->Next()->name, L"sub");
    EXPECT_EQ(search->Next(), nullptr);
    EXPECT_EQ(search->Next(), nullptr);
}

}  // namespace
}  // namespace qx
