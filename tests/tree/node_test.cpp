#include "qx/tree/node.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::wstring Text(const CNode& node, bool indent = false) {
    CString out;
    node.WriteToString(out, false, indent);
    return out.str();
}

std::vector<std::wstring> ChildNames(CNode& node) {
    std::vector<std::wstring> names;
    for (CNode* c = node.GetFirstChild(); c; c = node.GetNextChild()) names.push_back(c->GetName().str());
    return names;
}

TEST(NodeTest, NamesComeFromThePool) {
    CNode a(L"same");
    CNode b(L"same");
    EXPECT_EQ(&a.GetName(), &b.GetName());  // one pooled string
    size_t before = qx::NamePoolSize();
    CNode c(L"same");
    EXPECT_EQ(qx::NamePoolSize(), before);

    a.SetName(nullptr);
    a.SetName(L"");
    EXPECT_EQ(a.GetName(), L"same");
    CNode unnamed(nullptr);
    EXPECT_EQ(unnamed.GetName(), L"");
}

TEST(NodeTest, ChildrenAndLeavesInOrder) {
    CNode root(L"r");
    CNode* a = root.AddChild(L"a");
    CNode* c = root.AddChild(new CNode(L"c"));
    root.InsertChild(new CNode(L"b"), a);
    root.InsertChild(new CNode(L"first"), nullptr);
    CNode stranger(L"x");
    root.InsertChild(new CNode(L"head"), &stranger);  // not a child: goes first
    EXPECT_EQ(ChildNames(root), (std::vector<std::wstring>{L"head", L"first", L"a", L"b", L"c"}));
    EXPECT_EQ(root.NrOfChildren(), 5u);
    EXPECT_EQ(root.GetChild(4), c);
    EXPECT_EQ(root.GetChild(5), nullptr);
    EXPECT_EQ(root.GetLastChild(), c);

    root.AddLeaf(L"i", 3);
    root.AddLeaf(L"d", 2.0);
    root.AddLeaf(L"s", L"t");
    EXPECT_EQ(root.NrOfLeaves(), 3u);
    EXPECT_EQ(root.GetLeaf(1)->GetRawData(), L"2");
    EXPECT_EQ(root.GetLeaf(3), nullptr);
}

TEST(NodeTest, CursorsAndPositions) {
    CNode root(L"r");
    for (const wchar_t* n : {L"a", L"b", L"c"}) root.AddChild(n);
    EXPECT_EQ(root.GetFirstChild()->GetName(), L"a");
    // Writing the tree walks the lists without touching the cursors.
    std::wstring text = Text(root);
    EXPECT_EQ(root.GetNextChild()->GetName(), L"b");
    EXPECT_EQ(root.GetNextChild()->GetName(), L"c");
    EXPECT_EQ(root.GetNextChild(), nullptr);
    EXPECT_EQ(root.GetNextChild(), nullptr);

    POSITION pos = root.GetFirstChildPos();
    EXPECT_EQ(root.GetNextChild(pos)->GetName(), L"a");
    EXPECT_EQ(root.GetNextChild(pos)->GetName(), L"b");
    EXPECT_EQ(root.GetChildPos(root.GetChild(2)), pos);
    EXPECT_EQ(root.GetNextChild()->GetName(), L"b");  // the cursor stands where pos stood
    EXPECT_EQ(root.GetChildPos(nullptr), nullptr);

    CNode empty(L"e");
    EXPECT_EQ(empty.GetFirstChild(), nullptr);
    EXPECT_EQ(empty.GetFirstLeaf(), nullptr);
    EXPECT_EQ(empty.GetFirstChildPos(), nullptr);

    // Deleting the child under the cursor leaves a cursor that yields
    // nothing rather than a dangling one.
    root.GetFirstChild();
    CNode* b = root.GetChild(1);
    EXPECT_TRUE(root.DeleteChild(b));
    EXPECT_EQ(root.GetNextChild(), nullptr);
    // Appending keeps an existing cursor valid.
    root.GetFirstChild();
    root.AddChild(L"d");
    EXPECT_EQ(root.GetNextChild()->GetName(), L"c");
    EXPECT_EQ(root.GetNextChild()->GetName(), L"d");
}

TEST(NodeTest, DeletingAndKeeping) {
    CNode root(L"r");
    CNode* kept = root.AddChild(L"k");
    CLeaf* leaf = root.AddLeaf(L"l", L"v");
    CNode other(L"o");
    EXPECT_FALSE(root.DeleteChild(&other));
    EXPECT_FALSE(root.DeleteLeaf(nullptr));
    EXPECT_TRUE(root.DeleteChild(kept, true));
    EXPECT_TRUE(root.DeleteLeaf(leaf, true));
    EXPECT_EQ(root.NrOfChildren(), 0u);
    EXPECT_EQ(root.NrOfLeaves(), 0u);
    delete kept;
    delete leaf;

    root.AddChild(L"x")->AddChild(L"y");
    root.AddLeaf(L"z", L"1");
    root.DeleteAllChildren();
    root.DeleteAllLeaves();
    EXPECT_EQ(Text(root), L"[r]\r\n[ENDE_r]\r\n");
}

TEST(NodeTest, FindByNameAndAttribute) {
    CNode root(L"r");
    CNode* a1 = root.AddChild(L"Item");
    CNode* a2 = root.AddChild(L"item");
    CNode* a3 = root.AddChild(L"Item");
    a1->AddLeaf(L"id", L"1:x", true);
    a2->AddLeaf(L"id", L"2", true);
    a3->AddLeaf(L"id", L"2", true);
    a3->AddLeaf(L"id", L"3", true);
    root.AddLeaf(L"Key", L"v");

    EXPECT_EQ(root.FindChild(L"Item"), a1);
    EXPECT_EQ(root.FindChild(L"Item", a1), a3);
    EXPECT_EQ(root.FindChild(L"ITEM", a1, true), a2);
    EXPECT_EQ(root.FindChild(L"Item", a3), nullptr);
    CNode stranger(L"s");
    EXPECT_EQ(root.FindChild(L"Item", &stranger), nullptr);
    EXPECT_EQ(root.FindLeaf(L"key"), nullptr);
    EXPECT_NE(root.FindLeaf(L"key", nullptr, true), nullptr);

    EXPECT_EQ(root.FindChildByAttributeValue(L"Item", L"id", L"1"), a1);  // first value of 1:x
    EXPECT_EQ(root.FindChildByAttributeValue(L"Item", L"id", L"2"), a3);  // a2 has another name
    EXPECT_EQ(root.FindChildByAttributeValue(nullptr, L"id", L"2"), a2);
    EXPECT_EQ(root.FindChildByAttributeValue(nullptr, L"id", L"2", a2), a3);
    EXPECT_EQ(root.FindChildByAttributeValue(nullptr, L"id", L"3"), nullptr);  // only the first leaf counts
    EXPECT_EQ(root.FindChildByAttributeValue(nullptr, L"id", L"2", &stranger), nullptr);
}

// Names are compared through their pool entries; what is found must stay
// what comparing the texts finds.
TEST(NodeTest, FindByNameAsTheTextsCompare) {
    CNode root(L"r");
    CLeaf* unnamed = root.AddLeaf(new CLeaf);
    CLeaf* named = root.AddLeaf(L"k", L"v");
    EXPECT_EQ(root.FindLeaf(L"a name no item ever had"), nullptr);
    EXPECT_EQ(root.FindLeaf(L""), unnamed);
    EXPECT_EQ(root.FindLeaf(nullptr), unnamed);
    EXPECT_EQ(root.FindLeaf(L"k", unnamed), named);
    EXPECT_EQ(root.FindChild(L"k"), nullptr);

    // A comparison ends at the first zero, so a name with one inside equals
    // the text before it. This stays last: the pool then compares texts for
    // the rest of the process.
    CLeaf* zero = root.AddLeaf(new CLeaf);
    zero->SetName(std::wstring_view(L"z\0tail", 6));
    EXPECT_EQ(root.FindLeaf(L"z"), zero);
    EXPECT_EQ(root.FindLeaf(L"k"), named);
}

TEST(NodeTest, TypedGettersByPath) {
    CNode root(L"r");
    CNode* layer = root.AddChild(L"Layer");
    CNode* colors = layer->AddChild(L"Colors");
    colors->AddLeaf(L"rgb", L"1:2,5:3", true);
    layer->AddLeaf(L"rgb", L"in layer", true);
    root.AddLeaf(L"empty", L"", true);
    root.AddLeaf(L"holes", L":5", true);

    struct Case {
        const wchar_t* path;
        const wchar_t* leaf;
        int index;
        const wchar_t* want;
    } cases[] = {
        {L"Layer\\Colors\\", L"rgb", 2, L"2,5"},
        {L"Layer\\Colors", L"rgb", 1, L"in layer"},  // the text after the last backslash is ignored
        {L"Layer\\", L"rgb", 0, L"in layer"},
        {L"Layer\\Colors\\", L"rgb", 4, L"default"},
        {L"Layer\\colors\\", L"rgb", 1, L"default"},  // names are case-sensitive
        {L"Layer\\Colors\\", L"RGB", 1, L"default"},
        {L"Layer", L"rgb", 1, L"default"},            // no backslash: no node
        {L"\\Layer\\", L"rgb", 1, L"default"},        // leading backslash: no node
        {nullptr, L"holes", 2, L"5"},
        {L"", L"holes", 1, L""},
        {L"", L"empty", 1, L"default"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.path ? c.path : L"(null)")));
        EXPECT_EQ(root.GetStrLeafValue(c.path, c.leaf, c.index, L':', L"default"), c.want);
    }
    EXPECT_DOUBLE_EQ(root.GetDblLeafValue(L"Layer\\Colors\\", L"rgb", 2), 2.5);
    EXPECT_EQ(root.GetIntLeafValue(nullptr, L"empty", 1, L':', 7), 7);
    EXPECT_EQ(root.GetIntLeafValue(nullptr, L"holes", 1, L':', 7), 0);
    EXPECT_EQ(root.GetIntLeafValue(nullptr, L"holes", 2, L':', 7), 5);
    EXPECT_EQ(root.GetIntLeafValue(nullptr, L"holes", 3, L':', 7), 7);
    EXPECT_DOUBLE_EQ(root.GetDblLeafValue(L"No\\", L"x", 1, L':', -1.5), -1.5);
}

TEST(NodeTest, SetStrLeafValueRebuildsTheList) {
    struct Case {
        const char* name;
        const wchar_t* before;  // null: no leaf yet
        int index;
        const wchar_t* want;
    } cases[] = {
        {"new leaf at 2", nullptr, 2, L":X"},
        {"new leaf at 1", nullptr, 1, L"X"},
        {"empty leaf at 1", L"", 1, L"X"},
        {"replace middle", L"a:b:c", 2, L"a:X:c"},
        {"past the end fills empties", L"a:b", 5, L"a:b:::X"},
        {"index 0 writes back unchanged", L"a:b", 0, L"a:b"},
        {"negative index unchanged", L"a:b", -3, L"a:b"},
        {"trailing separator dropped", L"a:", 1, L"X"},
        {"values are re-escaped", L"a\u00AEb:c", 2, L"a\u00AEb:X"},
        // A raw value with a line end: the list ends there.
        {"line end ends the list", L"a\nb", 1, L"X"},
        {"line end first", L"\r\nb", 2, L":X"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CNode root(L"r");
        if (c.before) root.AddLeaf(L"k", c.before, true);
        EXPECT_TRUE(root.SetStrLeafValue(nullptr, L"k", c.index, L"X"));
        ASSERT_EQ(root.NrOfLeaves(), 1u);
        EXPECT_EQ(root.GetLeaf(0)->GetRawData(), c.want);
    }
}

TEST(NodeTest, SettersCreateMissingNodes) {
    CNode root(L"r");
    root.setSimpleXML(true);
    EXPECT_TRUE(root.SetStrLeafValue(L"A\\B\\", L"k", 2, L"x"));
    CNode* a = root.FindChild(L"A");
    ASSERT_NE(a, nullptr);
    CNode* b = a->FindChild(L"B");
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(a->isSimpleXML());  // AddChild hands the parent's flag on
    EXPECT_EQ(b->FindLeaf(L"k")->GetRawData(), L":x");
    EXPECT_EQ(root.GetStrLeafValue(L"A\\B\\", L"k", 2), L"x");
    EXPECT_EQ(root.GetStrLeafValue(L"A\\B", L"k", 2, L':', L"-"), L"-");  // looks in A

    EXPECT_TRUE(root.SetDblLeafValue(L"A\\", L"d", 1, 2.5, L"%.3f"));
    EXPECT_EQ(a->FindLeaf(L"d")->GetRawData(), L"2.5");
    EXPECT_TRUE(root.SetDblLeafValue(L"A\\", L"d", 1, 2.0, L"%.0f"));
    EXPECT_EQ(a->FindLeaf(L"d")->GetRawData(), L"2");
    EXPECT_TRUE(root.SetIntLeafValue(L"A\\", L"i", 2, 7, L"%02d"));
    EXPECT_EQ(a->FindLeaf(L"i")->GetRawData(), L":07");

    // A path that names no node changes nothing.
    std::wstring before = Text(root);
    EXPECT_FALSE(root.SetStrLeafValue(L"NoBackslash", L"k", 1, L"x"));
    EXPECT_FALSE(root.SetStrLeafValue(L"\\Lead\\", L"k", 1, L"x"));
    EXPECT_FALSE(root.SetIntLeafValue(L"C", L"k", 1, 1));
    EXPECT_EQ(Text(root), before);
}

TEST(NodeTest, DeepCopy) {
    CNode source(L"src");
    source.setSimpleXML(true);
    CNode* child = source.AddChild(L"child");
    child->AddChild(L"grandchild")->AddLeaf(L"g", L"1:2", true);
    child->AddLeaf(L"c", L"v");
    source.AddLeaf(L"s", L"w");
    ASSERT_TRUE(child->GetChild(0)->isSimpleXML());

    CNode copy(L"old");
    copy.AddChild(L"gone");
    copy = source;
    EXPECT_EQ(copy.GetName(), L"src");
    EXPECT_FALSE(copy.isSimpleXML());  // the node assigned to keeps its flag
    ASSERT_EQ(copy.NrOfChildren(), 1u);
    CNode* copiedChild = copy.GetChild(0);
    EXPECT_NE(copiedChild, child);
    EXPECT_FALSE(copiedChild->isSimpleXML());
    EXPECT_FALSE(copiedChild->GetChild(0)->isSimpleXML());
    EXPECT_EQ(copiedChild->GetChild(0)->GetLeaf(0)->GetRawData(), L"1:2");
    EXPECT_EQ(copy.GetLeaf(0)->GetRawData(), L"w");

    // The direct children take the flag of the node they are copied into.
    CNode xmlTarget(L"t");
    xmlTarget.setSimpleXML(true);
    xmlTarget = source;
    EXPECT_TRUE(xmlTarget.GetChild(0)->isSimpleXML());
    EXPECT_FALSE(xmlTarget.GetChild(0)->GetChild(0)->isSimpleXML());

    CNode& self = copy;
    copy = self;
    EXPECT_EQ(copy.NrOfChildren(), 1u);
    CNode constructed(source);
    CString a;
    CString b;
    constructed.WriteToString(a);
    copy.WriteToString(b);
    EXPECT_EQ(a, b);
}

TEST(NodeTest, DeepTreesAreCopiedAndDeletedWithoutRecursion) {
    // Deep enough to overflow the stack if any of these recursed.
    constexpr int kDepth = 200000;
    auto* root = new CNode(L"n");
    CNode* at = root;
    for (int i = 0; i < kDepth; ++i) at = at->AddChild(L"n");
    at->AddLeaf(L"bottom", L"1");
    CNode copy;
    copy = *root;
    EXPECT_EQ(copy.GetTextLength(-1), root->GetTextLength(-1));
    delete root;
}

}  // namespace
