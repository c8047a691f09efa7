#include "qx/platform/os/numbered_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/test_support.h"

namespace qx {
namespace {

TEST(NumberedFileTest, SkipsTakenNamesAndNeverReplacesThem) {
    test::TempDir dir;
    test::WriteBytes(dir.path() / "QX5.tmp", "someone else's");
    std::filesystem::create_directory(dir.path() / "QX6.tmp");
    std::filesystem::create_symlink(dir.path() / "elsewhere", dir.path() / "QX7.tmp");
    const std::wstring folder = dir.path().wstring() + L"/";

    std::uint64_t number = 5;
    auto file = NumberedFile::Create(folder, L"QX", L".tmp", number);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->Path(), folder + L"QX8.tmp");
    EXPECT_EQ(number, 9u);
    ASSERT_TRUE(file->Write("page"));
    file.reset();

    EXPECT_EQ(test::ReadBytes(dir.path() / "QX8.tmp"), "page");
    EXPECT_EQ(test::ReadBytes(dir.path() / "QX5.tmp"), "someone else's");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "elsewhere")) << "a link is not followed";
    const auto permissions = std::filesystem::status(dir.path() / "QX8.tmp").permissions();
    EXPECT_EQ(permissions & std::filesystem::perms::all, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST(NumberedFileTest, AMissingFolderFails) {
    test::TempDir dir;
    std::uint64_t number = 1;
    EXPECT_FALSE(NumberedFile::Create(dir.path().wstring() + L"/missing/", L"QX", L".tmp", number));
}

}  // namespace
}  // namespace qx
