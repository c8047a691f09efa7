#include "qx/print/data_tree.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "qx/platform/os/process_info.h"
#include "qx/print/builtin_values.h"
#include "tests/support/fixtures.h"

namespace {

TEST(DataTreeTest, AddingAgainUnderTheSameNameIgnoringCaseReplacesOnlyTheValue) {
    CDataTree node;
    EXPECT_EQ(node.AddValue(L"Total", L"1", L"kg"), 0);
    EXPECT_EQ(node.AddValue(L"TOTAL", L"2"), 1);
    EXPECT_EQ(node.AddValue(L"total", L"3", L"t"), 1);
    ASSERT_EQ(node.Variables.GetSize(), 1);
    EXPECT_EQ(node.Variables[0].Name, L"Total");
    EXPECT_EQ(node.Variables[0].Value, L"3");
    EXPECT_EQ(node.Variables[0].Extra, L"kg") << "the first Extra stays";
    EXPECT_EQ(node.LookupValue(L"tOtAl"), L"3");
    EXPECT_EQ(node.LookupExtra(L"Total"), L"kg");
    EXPECT_EQ(node.LookupExtra(L"TOTAL"), L"") << "extras are looked up by exact name";
}

TEST(DataTreeTest, NumbersAreAddedAsText) {
    CDataTree node;
    node.AddValue(L"count", -42);
    node.AddValue(L"plain", 2.5, nullptr);
    node.AddValue(L"short", 2.5, L"%.1f m");
    // A pattern that does not take one double must not read what is not there.
    node.AddValue(L"wrong", 2.5, L"%s %d");
    EXPECT_EQ(node.LookupValue(L"count"), L"-42");
    EXPECT_EQ(node.LookupValue(L"plain"), L"2.500000");
    EXPECT_EQ(node.LookupValue(L"short"), L"2.5 m");
    EXPECT_EQ(node.LookupValue(L"wrong"), L"");
}

TEST(DataTreeTest, BuiltInNamesMatchExactlyAndWin) {
    CDataTree node;
    node.AddValue(L"DATE", L"mine");
    node.AddValue(L"CURRENTUSER", L"nobody");
    EXPECT_NE(node.LookupValue(L"DATE"), L"mine");
    EXPECT_EQ(node.LookupValue(L"date"), L"mine");
    EXPECT_EQ(node.LookupValue(L"CURRENTUSER"), CString(qx::UserName()));
    EXPECT_EQ(node.LookupValue(L"Dxyz"), L"");
    EXPECT_EQ(node.LookupValue(L""), L"");
}

TEST(DataTreeTest, ValueSourceTakesEveryValueOperation) {
    CDataTree source, node;
    source.AddValue(L"a", L"1");
    node.ValueSource = &source;
    EXPECT_EQ(node.AddValue(L"A", L"2"), 1);
    EXPECT_EQ(node.AddValue(L"b", L"3", L"x"), 0);
    EXPECT_EQ(node.Variables.GetSize(), 0);
    EXPECT_EQ(source.Variables.GetSize(), 2);
    EXPECT_EQ(node.LookupValue(L"a"), L"2");
    EXPECT_EQ(node.LookupExtra(L"b"), L"x");
}

TEST(DataTreeTest, CleanUpFreesWholeSubtrees) {
    CDataTree root;
    root.AddValue(L"v", L"1");
    CDataTree* child = root.AddChild();
    child->AddChild()->AddChild()->AddValue(L"deep", L"x");
    root.AddChild();
    EXPECT_EQ(root.Children.GetCount(), 2);
    EXPECT_EQ(root.Children.GetHead(), child);
    root.cleanUp();  // the sanitizer build reports any node left behind
    EXPECT_EQ(root.Children.GetCount(), 0);
    EXPECT_EQ(root.Variables.GetSize(), 0);
    EXPECT_EQ(root.Printable, 1);
}

TEST(DataTreeTest, AVeryDeepChainDoesNotExhaustTheStack) {
    auto root = std::make_unique<CDataTree>();
    CDataTree* node = root.get();
    for (int i = 0; i < 100000; ++i) node = node->AddChild();
    root.reset();
    CDataTree other;
    node = &other;
    for (int i = 0; i < 100000; ++i) node = node->AddChild();
    other.cleanUp();
    EXPECT_TRUE(other.Children.IsEmpty());
}

// The clock at Wednesday, 2026-03-04 23:30:05 UTC, which is already Thursday
// in the process's time zone: the built-in values show UTC.
class BuiltInValueTest : public ::testing::Test {
protected:
    BuiltInValueTest() { qx::SetClockForTesting([] { return std::int64_t{1'772'667'005'000}; }); }
    ~BuiltInValueTest() override { qx::SetClockForTesting(nullptr); }

    qx::test::ScopedEnv tz_{"TZ", "JST-9"};
    qx::test::ScopedEnv lcAll_{"LC_ALL", std::nullopt};
    qx::test::ScopedEnv lcTime_{"LC_TIME", "de_DE.UTF-8"};
    CDataTree node_;
};

TEST_F(BuiltInValueTest, DatesAndTimesInUtcWithTheLocalesNames) {
    struct Case {
        const wchar_t* name;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"DATELONG", L"Mittwoch, 04. M\u00E4rz 2026"},
        {L"DATELONG_ENGLISH", L"Mittwoch, M\u00E4rz 04 2026"},
        {L"DATE", L"04.03.26"},
        {L"DATE_ENGLISH", L"03/04/26"},
        {L"TIME", L"23:30:05"},
        {L"TIME_ENGLISH", L"11:30:05 PM"},
        {L"DATETIME", L"04.03.26 23:30:05"},
        {L"DATETIME_ENGLISH", L"03/04/26 11:30:05 PM"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.name)));
        EXPECT_EQ(node_.LookupValue(c.name), c.expected);
    }
}

TEST_F(BuiltInValueTest, MorningIsAm) {
    qx::SetClockForTesting([] { return std::int64_t{1'772'582'405'000}; });  // 00:00:05 UTC
    EXPECT_EQ(node_.LookupValue(L"TIME_ENGLISH"), L"12:00:05 AM");
    EXPECT_EQ(node_.LookupValue(L"TIME"), L"00:00:05");
}

TEST_F(BuiltInValueTest, RememberedTextsFollowTheClockAndTheLocale) {
    std::int64_t now = 1'772'667'005'000;  // 23:30:05.000
    qx::SetClockForTesting([&now] { return now; });
    qx::ResetBuiltInValues();
    EXPECT_EQ(node_.LookupValue(L"TIME"), L"23:30:05");
    now += 999;
    EXPECT_EQ(node_.LookupValue(L"TIME"), L"23:30:05");
    now += 1;
    EXPECT_EQ(node_.LookupValue(L"TIME"), L"23:30:06");
    EXPECT_EQ(node_.LookupValue(L"DATELONG"), L"Mittwoch, 04. M\u00E4rz 2026");
    {
        qx::test::ScopedEnv english("LC_TIME", "en_US.UTF-8");
        EXPECT_EQ(node_.LookupValue(L"DATELONG"), L"Wednesday, 04. March 2026");
    }
    EXPECT_EQ(node_.LookupValue(L"DATELONG"), L"Mittwoch, 04. M\u00E4rz 2026");
    now += 24LL * 3600 * 1000;
    EXPECT_EQ(node_.LookupValue(L"DATE"), L"05.03.26");
}

}  // namespace
