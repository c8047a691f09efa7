#include "qx/platform/os/clipboard.h"

#include <gtest/gtest.h>

#include <string>

#include "qx/platform/os/last_error.h"

namespace qx {
namespace {

class ClipboardTest : public ::testing::Test {
protected:
    ClipboardTest() { ResetClipboardForTesting(); }
    ~ClipboardTest() override { ResetClipboardForTesting(); }
};

TEST_F(ClipboardTest, RegistersEachFormatNameOnce) {
    const unsigned node = RegisterClipboardFormatName(L"QUORIX_TREEITEM_NODE");
    const unsigned leaf = RegisterClipboardFormatName(L"QUORIX_TREEITEM_LEAF");
    EXPECT_EQ(node, 0xC000u);
    EXPECT_EQ(leaf, 0xC001u);
    EXPECT_EQ(RegisterClipboardFormatName(L"quorix_treeitem_node"), node);
    EXPECT_EQ(ClipboardFormatName(node), L"QUORIX_TREEITEM_NODE") << "the first spelling stays";
    EXPECT_EQ(ClipboardFormatName(0xC002), L"");
    EXPECT_EQ(ClipboardFormatName(13), L"");
    EXPECT_EQ(RegisterClipboardFormatName(L""), 0u);
    EXPECT_EQ(RegisterClipboardFormatName(L"\u00C4RGER"), 0xC002u);
    EXPECT_EQ(RegisterClipboardFormatName(L"\u00E4rger"), 0xC002u);
}

TEST_F(ClipboardTest, RunsOutOfIdsWithoutWrapping) {
    for (unsigned i = 0; i < 0x4000; ++i) ASSERT_EQ(RegisterClipboardFormatName(std::to_wstring(i)), 0xC000 + i);
    EXPECT_EQ(RegisterClipboardFormatName(L"one too many"), 0u);
    EXPECT_EQ(RegisterClipboardFormatName(L"16383"), 0xFFFFu);
}

TEST_F(ClipboardTest, KeepsDataPerFormatBetweenOpenAndClose) {
    const unsigned format = RegisterClipboardFormatName(L"QUORIX_TREEITEM_LEAF");
    const std::string text("N\0a\0m\0e\0\0\0", 10);  // UTF-16LE with its zero
    ASSERT_TRUE(OpenClipboard());
    EXPECT_FALSE(OpenClipboard());
    EXPECT_EQ(GetLastError(), kErrorAccessDenied);
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_TRUE(SetClipboardData(format, "first"));
    EXPECT_TRUE(SetClipboardData(format, text));
    EXPECT_TRUE(SetClipboardData(13, "other"));
    EXPECT_FALSE(SetClipboardData(0, "x"));
    EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
    EXPECT_TRUE(CloseClipboard());

    EXPECT_TRUE(IsClipboardFormatAvailable(format));
    EXPECT_FALSE(IsClipboardFormatAvailable(1));
    ASSERT_TRUE(OpenClipboard());
    EXPECT_EQ(GetClipboardData(format), text);
    EXPECT_EQ(GetClipboardData(1), std::nullopt);
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_EQ(GetClipboardData(13), std::nullopt);
    EXPECT_TRUE(CloseClipboard());
}

TEST_F(ClipboardTest, RefusesDataWhileClosed) {
    EXPECT_FALSE(CloseClipboard());
    EXPECT_EQ(GetLastError(), kErrorClipboardNotOpen);
    EXPECT_FALSE(EmptyClipboard());
    EXPECT_FALSE(SetClipboardData(13, "x"));
    EXPECT_EQ(GetLastError(), kErrorClipboardNotOpen);
    EXPECT_EQ(GetClipboardData(13), std::nullopt);
    EXPECT_EQ(GetLastError(), kErrorClipboardNotOpen);
}

}  // namespace
}  // namespace qx
