#include "qx/text/sformat.h"

#include <gtest/gtest.h>

#include "qx/message/string_table.h"

namespace {

TEST(SformatTest, FormatsWithTheWideConventions) {
    EXPECT_EQ(sformat(L"%s=%d, %.1f", L"n", 3, 0.25).str(), L"n=3, 0.2");
    EXPECT_EQ(sformat(L"%S", "narrow").str(), L"narrow");
    EXPECT_EQ(sformat(static_cast<const wchar_t*>(nullptr)).str(), L"");
    // The result has no length limit.
    EXPECT_EQ(sformat(L"%5000d", 1).GetLength(), 5000);
}

class SformatResourceTest : public testing::Test {
protected:
    void SetUp() override { qx::ClearStringTable(); }
    void TearDown() override { qx::ClearStringTable(); }
};

TEST_F(SformatResourceTest, FormatsAStringResource) {
    EXPECT_EQ(sformat(101u, 7).str(), L"");  // empty table: no text
    qx::ReplaceStringTable({{101, L"Seite %d von %d"}, {102, L""}});
    EXPECT_EQ(sformat(101u, 2, 9).str(), L"Seite 2 von 9");
    EXPECT_EQ(sformat(102u).str(), L"");
    EXPECT_EQ(sformat(103u).str(), L"");
}

TEST(CStringFormatTest, FormatsInTheConstructor) {
    EXPECT_EQ(CStringFormat(L"%03d", 7).str(), L"007");
    EXPECT_EQ(CStringFormat(L"").str(), L"");
    EXPECT_EQ(CStringFormat(nullptr).str(), L"");
    CString asString = CStringFormat(L"%s", L"x");
    EXPECT_EQ(asString.str(), L"x");
}

}  // namespace
