#include "qx/platform/base/list.h"

#include <gtest/gtest.h>

#include <type_traits>
#include <vector>

#include "qx/platform/base/array.h"
#include "qx/platform/base/map.h"

namespace {

std::vector<int> Contents(const CList<int>& list) {
    std::vector<int> out;
    for (POSITION pos = list.GetHeadPosition(); pos;) out.push_back(list.GetNext(pos));
    return out;
}

TEST(ListTest, PositionsSurviveAppendsAndOtherRemovals) {
    CList<int> list;
    POSITION first = list.AddTail(1);
    POSITION second = list.AddTail(2);
    // Enough appends to need several blocks of entries.
    for (int i = 3; i <= 100; ++i) list.AddTail(i);
    EXPECT_EQ(list.GetAt(first), 1);
    EXPECT_EQ(list.GetAt(second), 2);
    list.RemoveAt(first);
    EXPECT_EQ(list.GetAt(second), 2);
    EXPECT_EQ(list.GetCount(), 99);
    EXPECT_EQ(list.GetHead(), 2);
    EXPECT_EQ(list.GetTail(), 100);
}

TEST(ListTest, InsertAndRemoveKeepOrder) {
    CList<int> list;
    POSITION two = list.AddTail(2);
    list.AddHead(1);
    list.InsertAfter(two, 4);
    list.InsertBefore(list.Find(4), 3);
    list.InsertBefore(nullptr, 0);
    list.InsertAfter(nullptr, 5);
    EXPECT_EQ(Contents(list), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(list.RemoveHead(), 0);
    EXPECT_EQ(list.RemoveTail(), 5);
    EXPECT_EQ(list.Find(3, list.Find(3)), nullptr);
    EXPECT_EQ(list.GetAt(list.FindIndex(2)), 3);
    EXPECT_EQ(list.FindIndex(4), nullptr);
    POSITION back = list.GetTailPosition();
    EXPECT_EQ(list.GetPrev(back), 4);
    EXPECT_EQ(list.GetAt(back), 3);
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    // Entries are reused after removal.
    list.AddTail(7);
    EXPECT_EQ(Contents(list), std::vector<int>{7});
}

TEST(ListTest, StringListCopiesItsValues) {
    CStringList a;
    a.AddTail(L"x");
    a.AddTail(CString(L"y"));
    CStringList b = a;
    b.SetAt(b.GetHeadPosition(), L"changed");
    EXPECT_EQ(a.GetHead(), L"x");
    EXPECT_EQ(b.GetHead(), L"changed");
    EXPECT_NE(b.Find(L"y"), nullptr);
}

// The family's code names the argument type as the framework did.
static_assert(std::is_same_v<CArray<CString, const CString&>, CArray<CString>>);

TEST(ArrayTest, IndexingAndGrowth) {
    CArray<int> a;
    EXPECT_EQ(a.Add(5), 0);
    a.SetAtGrow(3, 9);
    EXPECT_EQ(a.GetSize(), 4);
    EXPECT_EQ(a[3], 9);
    EXPECT_EQ(a[1], 0);
    a.InsertAt(0, 1, 2);  // 1 1 5 0 0 9
    a.RemoveAt(2);        // 1 1 0 0 9
    EXPECT_EQ(a.GetSize(), 5);
    EXPECT_EQ(a[1], 1);
    EXPECT_EQ(a[2], 0);
    EXPECT_THROW(a.GetAt(5), std::out_of_range);
    EXPECT_THROW(a.GetAt(-1), std::out_of_range);
    EXPECT_THROW(a.RemoveAt(4, 2), std::out_of_range);
}

TEST(MapTest, LookupAndOrderedWalk) {
    CMapStringToString m;
    m.SetAt(L"b", L"2");
    m[L"a"] = L"1";
    m.SetAt(L"c", L"3");
    CString v;
    EXPECT_TRUE(m.Lookup(L"a", v));
    EXPECT_EQ(v, L"1");
    EXPECT_FALSE(m.Lookup(L"z", v));
    EXPECT_TRUE(m.RemoveKey(L"c"));
    EXPECT_FALSE(m.RemoveKey(L"c"));
    CString keys;
    for (POSITION pos = m.GetStartPosition(); pos;) {
        CString key, value;
        m.GetNextAssoc(pos, key, value);
        keys += key + value;
    }
    EXPECT_EQ(keys, L"a1b2");
}

}  // namespace
