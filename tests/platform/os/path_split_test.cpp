#include "qx/platform/os/path_split.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

struct SplitCase {
    std::wstring_view path, folder, name, parent;
};

TEST(PathSplitTest, BothSeparatorsSplit) {
    const SplitCase cases[] = {
        {L"C:\\a\\b.txt", L"C:\\a\\", L"b.txt", L"C:\\a\\"},
        {L"/opt/app/Dll", L"/opt/app/", L"Dll", L"/opt/app/"},
        {L"C:/a\\b/c", L"C:/a\\b/", L"c", L"C:/a\\b/"},
        {L"b.txt", L"", L"b.txt", L""},
        {L"", L"", L"", L""},
        {L"/", L"/", L"", L""},
        {L"C:\\a\\b\\", L"C:\\a\\b\\", L"", L"C:\\a\\"},
        {L"/opt/app//", L"/opt/app//", L"", L"/opt/"},
        {L"\\\\server\\share", L"\\\\server\\", L"share", L"\\\\server\\"},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(std::wstring(c.path));
        EXPECT_EQ(qx::FolderPart(c.path), c.folder);
        EXPECT_EQ(qx::NamePart(c.path), c.name);
        EXPECT_EQ(qx::ParentFolder(c.path), c.parent);
        EXPECT_EQ(std::wstring(qx::FolderPart(c.path)) + std::wstring(qx::NamePart(c.path)), c.path);
    }
}

}  // namespace
