#include "qx/tree/leaf.h"

#include <gtest/gtest.h>

#include "qx/text/sub_str.h"

namespace {

const std::wstring kReg = L"\u00AE";

TEST(LeafTest, RawAndPackedConstruction) {
    CLeaf packed(L"k", L"a:b", false);
    EXPECT_EQ(packed.GetName(), L"k");
    EXPECT_EQ(packed.GetRawData().str(), L"a" + kReg + L"b");
    EXPECT_EQ(packed.GetStrLeafValue(1), L"a:b");
    EXPECT_EQ(packed.GetStrLeafValue(2, L':', L"none"), L"none");

    CLeaf raw(L"k", L"a:b", true);
    EXPECT_EQ(raw.GetRawData(), L"a:b");
    EXPECT_EQ(raw.GetStrLeafValue(2), L"b");

    CLeaf empty(L"k", L"", false);
    EXPECT_EQ(empty.GetRawData(), L"");
    CLeaf unnamed;
    EXPECT_EQ(unnamed.GetName(), L"");
}

TEST(LeafTest, ValueByIndex) {
    CLeaf leaf(L"k", L"a:b:c", true);
    struct Case {
        int index;
        const wchar_t* want;
    } cases[] = {{0, L"a"}, {1, L"a"}, {2, L"b"}, {3, L"c"}, {4, L"def"}, {-1, L"a"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(leaf.GetStrLeafValue(c.index, L':', L"def"), c.want);
    }
    CLeaf empty(L"k");
    for (int index : {0, 1, 2}) EXPECT_EQ(empty.GetStrLeafValue(index, L':', L"def"), L"def");

    CString out;
    EXPECT_TRUE(leaf.GetValue(2, out));
    EXPECT_EQ(out, L"b");
    EXPECT_FALSE(leaf.GetValue(4, out));
    EXPECT_EQ(out, L"");
    EXPECT_FALSE(leaf.GetValue(0, out));
    CLeaf holes(L"k", L"::x", true);
    EXPECT_FALSE(holes.GetValue(1, out));  // an empty value is "no value" here
    EXPECT_TRUE(holes.GetValue(3, out));
}

TEST(LeafTest, OnlyValue) {
    CLeaf leaf(L"k", L"12:b", true);
    EXPECT_EQ(leaf.GetOnlyValue(), L"12");
    EXPECT_EQ(leaf.GetOnlyValueI(), 12);
    leaf.SetOnlyValue(L"x:y");
    EXPECT_EQ(leaf.GetRawData().str(), L"x" + kReg + L"y");
    CLeaf empty(L"k");
    EXPECT_EQ(empty.GetOnlyValue(), L"");
    EXPECT_EQ(empty.GetOnlyValueI(L':', true), 0);
}

TEST(LeafTest, ReadingAListContinuesWhicheverLeafIsAsked) {
    CLeaf single(L"k", L"x", true);
    CString v;
    EXPECT_FALSE(single.GetFirstValue(v));
    EXPECT_EQ(v, L"x");

    CLeaf a(L"a", L"1:2,5:3", true);
    CLeaf b(L"b", L"other", true);
    int i = 0;
    EXPECT_TRUE(a.GetFirstValue(i));
    EXPECT_EQ(i, 1);
    double d = 0;
    EXPECT_TRUE(b.GetNextValue(d));  // the process-wide reader is still on a
    EXPECT_DOUBLE_EQ(d, 2.5);
    bool flag = false;
    EXPECT_FALSE(b.GetNextValue(flag));
    EXPECT_TRUE(flag);

    EXPECT_TRUE(a.InitGetValues());
    EXPECT_FALSE(CLeaf(L"e").InitGetValues());

    CLeaf holes(L"h", L":5", true);
    int kept = 7;
    holes.GetFirstValue(kept);
    EXPECT_EQ(kept, 7);
    holes.GetFirstValue(kept, L':', true);
    EXPECT_EQ(kept, 0);
}

TEST(LeafTest, BuildingAListStoresItInTheLeafThatEndsIt) {
    CLeaf a(L"a");
    CLeaf b(L"b");
    a.SetFirstValue(L"x:1");
    b.SetNextValue(2, L"%03d");
    a.SetNextValue(1.5, L"%.3f");
    b.SetLastValue(L"end");
    EXPECT_EQ(a.GetRawData(), L"");
    EXPECT_EQ(b.GetRawData().str(), L"x" + kReg + L"1:002:1.5:end");

    CLeaf::InitSetValues(L';');
    a.SetNextValue(L"p");
    a.SetNextValue(L"q");
    a.ExitSetValues();
    EXPECT_EQ(a.GetRawData(), L"p;q");
    a.SetFirstValue(2.0, L"%.2f");
    a.SetAccumulatedValue();
    EXPECT_EQ(a.GetRawData(), L"2.");
    a.SetFirstValue(7, L"%d");
    a.ExitSetValues();
    EXPECT_EQ(a.GetRawData(), L"7");
}

TEST(TreeNumberTextTest, FormattedNumbers) {
    struct Case {
        const char* name;
        CString got;
        const wchar_t* want;
    } cases[] = {
        {"plain double trimmed", qx::FormatTreeDouble(2.5), L"2.5"},
        {"plain whole double", qx::FormatTreeDouble(3.0), L"3"},
        {"plain negative", qx::FormatTreeDouble(-0.125), L"-0.125"},
        {"plain large", qx::FormatTreeDouble(1e15), L"1000000000000000"},
        {"format trims zeros", qx::FormatTreeDouble(2.5, L"%.3f"), L"2.5"},
        {"format keeps the point", qx::FormatTreeDouble(1.0, L"%.2f"), L"1."},
        {"%.0f exact is untouched", qx::FormatTreeDouble(2.0, L"%.0f"), L"2"},
        {"%.0f keeps tens", qx::FormatTreeDouble(100.0, L"%.0f"), L"100"},
        // Without a decimal point there is no fraction to trim, so the
        // digits of the number stay.
        {"%g without point keeps digits", qx::FormatTreeDouble(100.0, L"%g"), L"100"},
        {"exponent keeps digits", qx::FormatTreeDouble(1e20, L"%g"), L"1e+20"},
        {"%.1f of 10", qx::FormatTreeDouble(10.0, L"%.1f"), L"10."},
        {"int format", qx::FormatTreeInt(5, L"%02d"), L"05"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.got, c.want);
    }
}

}  // namespace
