#include "qx/message/string_table.h"

#include <gtest/gtest.h>

namespace {

class StringTableTest : public testing::Test {
protected:
    void SetUp() override { qx::ClearStringTable(); }
    void TearDown() override { qx::ClearStringTable(); }
};

TEST_F(StringTableTest, EmptyUntilFilledAndReplacedWhole) {
    EXPECT_FALSE(qx::LoadResourceString(1).has_value());
    qx::ReplaceStringTable({{1, L"eins"}, {2, L""}});
    EXPECT_EQ(qx::LoadResourceString(1), L"eins");
    EXPECT_EQ(qx::LoadResourceString(2), L"");  // an empty text is still a text
    EXPECT_FALSE(qx::LoadResourceString(3).has_value());
    qx::ReplaceStringTable({{3, L"drei"}});
    EXPECT_FALSE(qx::LoadResourceString(1).has_value());
    EXPECT_EQ(qx::LoadResourceString(3), L"drei");
}

}  // namespace
