#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/base/codepage.h"
#include "qx/platform/base/exceptions.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/clipboard.h"
#include "qx/platform/os/debug_output.h"
#include "qx/tree/exc.h"
#include "qx/tree/node.h"
#include "qx/tree/tree_text_stream.h"

namespace {

std::wstring Write(const CNode& node, bool indent) {
    CString out;
    node.WriteToString(out, false, indent);
    return out.str();
}

// Reads *text* into a fresh node; returns the reader's message, "" when it
// succeeded.
std::wstring ReadInto(CNode& node, const std::wstring& text) {
    const wchar_t* cursor = text.c_str();
    try {
        node.ReadFromMem(cursor, L':');
    } catch (const CExcRead& e) {
        return e.GetMessage();
    }
    return L"";
}

CNode* Sample() {
    auto* root = new CNode(L"Root");
    root->AddLeaf(L"k", L"v");
    CNode* child = root->AddChild(L"Child");
    child->AddLeaf(L"a", L"1:2", true);
    CNode* xml = child->AddChild(L"Farbe");
    xml->setSimpleXML(true);
    xml->AddLeaf(L"", L"rot", true);
    CNode* wide = child->AddChild(L"Box");
    wide->setSimpleXML(true);
    wide->AddLeaf(L"Breite", L"10", true);
    wide->AddLeaf(L"Hoehe", L"20", true);
    return root;
}

TEST(TreeTextTest, WrittenFormIndentedAndPlain) {
    std::unique_ptr<CNode> root(Sample());
    EXPECT_EQ(Write(*root, true),
              L"[Root]\r\n"
              L"\tk:v\r\n"
              L"\t[Child]\r\n"
              L"\t\ta:1:2\r\n"
              L"\t\t<Farbe>rot</Farbe>\r\n"
              L"\t\t<Box>\r\n"
              L"\t\t\tBreite:10\r\n"
              L"\t\t\tHoehe:20\r\n"
              L"\t\t</Box>\r\n"
              L"\t[ENDE_Child]\r\n"
              L"[ENDE_Root]\r\n");
    EXPECT_EQ(Write(*root, false),
              L"[Root]\r\nk:v\r\n[Child]\r\na:1:2\r\n<Farbe>rot</Farbe>\r\n<Box>\r\nBreite:10\r\nHoehe:20\r\n"
              L"</Box>\r\n[ENDE_Child]\r\n[ENDE_Root]\r\n");
}

TEST(TreeTextTest, LengthsFollowTheFormulas) {
    std::unique_ptr<CNode> root(Sample());
    for (int level : {-1, 0, 3}) {
        SCOPED_TRACE(level);
        int L = level < 0 ? 0 : level;
        int items = level < 0 ? -1 : level + 1;
        CLeaf leaf(L"name", L"value", true);
        EXPECT_EQ(leaf.GetTextLength(level), static_cast<unsigned>(L + 4 + 1 + 5 + 2));
        CNode* child = root->GetChild(0);
        CNode* single = child->GetChild(0);
        EXPECT_EQ(single->GetTextLength(level), static_cast<unsigned>(2 * 5 + 3 + L + 7));
        CNode* box = child->GetChild(1);
        unsigned boxItems = box->GetLeaf(0)->GetTextLength(items) + box->GetLeaf(1)->GetTextLength(items);
        EXPECT_EQ(box->GetTextLength(level), boxItems + 2 * (3 + L) + 9);
        unsigned rootItems = root->GetLeaf(0)->GetTextLength(items) + child->GetTextLength(items);
        EXPECT_EQ(root->GetTextLength(level), rootItems + 2 * (4 + L) + 13);

        std::wstring buffer(root->GetTextLength(level) + 1, L'#');
        wchar_t* cursor = buffer.data();
        unsigned written = root->WriteToMem(cursor, level, L':');
        EXPECT_EQ(written, root->GetTextLength(level));
        EXPECT_EQ(cursor, buffer.data() + written);
        EXPECT_EQ(buffer[written], L'\0');
    }
}

TEST(TreeTextTest, ReadBackGivesTheSameText) {
    // Each form reads back as itself when the whole tree is in it. (An XML
    // node inside a bracket node reads back as a leaf line: a child must
    // open with its parent's bracket.)
    std::unique_ptr<CNode> bracket(Sample());
    bracket->GetChild(0)->DeleteAllChildren();
    bracket->GetChild(0)->AddChild(L"Grandchild")->AddLeaf(L"x", L"");
    CNode xml;
    ASSERT_EQ(ReadInto(xml, L"<R><C>x</C><D><E>y</E></D></R>"), L"");
    for (const CNode* root : {static_cast<const CNode*>(bracket.get()), static_cast<const CNode*>(&xml)}) {
        for (bool indent : {true, false}) {
            std::wstring text = Write(*root, indent);
            SCOPED_TRACE(testing::PrintToString(text));
            CNode copy;
            ASSERT_EQ(ReadInto(copy, text), L"");
            EXPECT_EQ(Write(copy, indent), text);
        }
    }
}

TEST(TreeTextTest, ReadErrors) {
    struct Case {
        const char* name;
        std::wstring text;
        const wchar_t* message;  // "" for success
    } cases[] = {
        {"empty", L"", qx::kReadErrorNoStartBracket},
        {"only space", L" \t\r\n", qx::kReadErrorNoStartBracket},
        {"no bracket", L"A]", qx::kReadErrorNoStartBracket},
        {"unclosed name", L"[A", qx::kReadErrorNoEndBracket},
        {"unclosed xml name", L"<A", qx::kReadErrorNoEndBracket},
        {"no end tag", L"[A]\r\nx:1\r\n", qx::kReadErrorLeafIncomplete},
        {"no end tag, no final line end", L"[A]\r\nx:1", qx::kReadErrorLeafIncomplete},
        {"leaf name cut off", L"[A]\r\nxyz", qx::kReadErrorLeafIncomplete},
        {"other end name", L"[A]\r\n[ENDE_B]", qx::kReadErrorWrongEnd},
        {"longer end name", L"[A]\r\n[ENDE_AB]", qx::kReadErrorWrongEnd},
        {"end name in other case", L"[A]\r\n[ENDE_a]", qx::kReadErrorWrongEnd},
        {"xml end mismatch", L"<A>v</B>", qx::kReadErrorWrongEnd},
        {"xml leaf cut off", L"<A>v", qx::kReadErrorLeafIncomplete},
        {"fine, rest ignored", L"[A]\r\n[ENDE_A]\r\ngarbage", L""},
        {"fine, end on the same line", L"[A]k:v\n[ENDE_A]", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CNode node;
        EXPECT_EQ(ReadInto(node, c.text), c.message);
    }
}

TEST(TreeTextTest, LeafLines) {
    CNode node;
    for (const wchar_t* eol : {L"\r\n", L"\n"}) {
        SCOPED_TRACE(eol[0] == L'\r' ? "CRLF" : "LF");
        std::wstring e(eol);
        CNode n;
        ASSERT_EQ(ReadInto(n, L"[A]" + e + L"\t  k" + e + L"k:" + e + L"k:a:b" + e + L"sp  :v  " + e +
                                  L"cr:a\rb" + e + L"[ENDE_A]"),
                  L"");
        ASSERT_EQ(n.NrOfLeaves(), 5u);
        EXPECT_EQ(n.GetLeaf(0)->GetName(), L"k");
        EXPECT_EQ(n.GetLeaf(0)->GetRawData(), L"");
        EXPECT_EQ(n.GetLeaf(1)->GetRawData(), L"");
        EXPECT_EQ(n.GetLeaf(2)->GetRawData(), L"a:b");
        EXPECT_EQ(n.GetLeaf(3)->GetName(), L"sp  ");
        EXPECT_EQ(n.GetLeaf(3)->GetRawData(), L"v  ");
        EXPECT_EQ(n.GetLeaf(4)->GetRawData(), L"a\rb");
    }
}

TEST(TreeTextTest, SimpleXmlForm) {
    CNode a;
    ASSERT_EQ(ReadInto(a, L"<A>v</A>"), L"");
    EXPECT_EQ(a.GetName(), L"A");
    EXPECT_TRUE(a.isSimpleXML());
    ASSERT_EQ(a.NrOfLeaves(), 1u);
    EXPECT_EQ(a.GetLeaf(0)->GetName(), L"");
    EXPECT_EQ(Write(a, true), L"<A>v</A>\r\n");

    // Leaves written name:value inside an XML node come back nameless.
    CNode box;
    ASSERT_EQ(ReadInto(box, L"<Box>\r\n\tBreite:10\r\n\tHoehe:20\r\n</Box>\r\n"), L"");
    ASSERT_EQ(box.NrOfLeaves(), 2u);
    EXPECT_EQ(box.GetLeaf(0)->GetName(), L"");
    EXPECT_EQ(box.GetLeaf(0)->GetRawData(), L"Breite:10");

    CNode nested;
    ASSERT_EQ(ReadInto(nested, L"<R><C>x</C><D></D></R>"), L"");
    ASSERT_EQ(nested.NrOfChildren(), 2u);
    EXPECT_TRUE(nested.GetChild(0)->isSimpleXML());
    EXPECT_EQ(nested.GetChild(1)->NrOfLeaves(), 0u);
}

TEST(TreeTextTest, ReadingAppendsAndKeepsAnExistingName) {
    CNode node(L"Kept");
    node.AddLeaf(L"old", L"1");
    ASSERT_EQ(ReadInto(node, L"[]\r\nnew:2\r\n[ENDE_Kept]"), L"");
    EXPECT_EQ(node.GetName(), L"Kept");
    EXPECT_EQ(node.NrOfLeaves(), 2u);
}

TEST(TreeTextTest, PartlyReadTreeStaysWithTheCaller) {
    CNode node;
    EXPECT_EQ(ReadInto(node, L"[A]\r\n[B]\r\nx:1\r\n"), qx::kReadErrorLeafIncomplete);
    ASSERT_EQ(node.NrOfChildren(), 1u);
    EXPECT_EQ(node.GetChild(0)->GetLeaf(0)->GetRawData(), L"1");
}

TEST(TreeTextTest, DeepNestingReadsWithoutRecursion) {
    constexpr int kDepth = 100000;
    std::wstring text;
    for (int i = 0; i < kDepth; ++i) text += L"[n]";
    text += L"v:1\n";
    for (int i = 0; i < kDepth; ++i) text += L"[ENDE_n]";
    CNode node;
    ASSERT_EQ(ReadInto(node, text), L"");
    // Each node writes "[n]\r\n" and "[ENDE_n]\r\n"; the innermost one has a leaf line.
    EXPECT_EQ(Write(node, false).size(), static_cast<size_t>(kDepth) * 15 + 5);
}

// A chain of *depth* nodes named n, each the only child of the one before.
std::unique_ptr<CNode> NestedChain(size_t depth) {
    auto root = std::make_unique<CNode>(L"n");
    CNode* node = root.get();
    for (size_t i = 1; i < depth; ++i) node = node->AddChild(L"n");
    return root;
}

// The indented length of NestedChain(depth): the node at level L writes
// L tabs and "[n]\r\n", and L tabs and "[ENDE_n]\r\n".
size_t IndentedChainLength(size_t depth) { return depth * (depth - 1) + 15 * depth; }

TEST(TreeTextTest, DeepDocumentLengthsAreNeverCut) {
    // 47,000 nested nodes, 705 KB of text without indentation, indent by
    // more than two thousand million tabs: more than an int counts.
    std::unique_ptr<CNode> deep = NestedChain(47000);
    ASSERT_GT(IndentedChainLength(47000), static_cast<size_t>(INT_MAX));
    EXPECT_EQ(deep->GetTextLength(0), IndentedChainLength(47000));
    EXPECT_EQ(deep->GetTextLength(-1), 47000u * 15);
    // A CString cannot hold the indented text: refused before anything is
    // written, the string as it was.
    CString out(L"kept");
    EXPECT_THROW(deep->WriteToString(out, false, true), CMemoryException);
    EXPECT_EQ(out, L"kept");
    ASSERT_TRUE(deep->WriteToString(out, false, false));
    EXPECT_EQ(out.GetLength(), 47000 * 15);

    // 66,000 nested nodes indent by more than an unsigned counts: no length
    // at all rather than a wrapped one that a caller would size a buffer by.
    std::unique_ptr<CNode> deeper = NestedChain(66000);
    ASSERT_GT(IndentedChainLength(66000), static_cast<size_t>(UINT_MAX));
    EXPECT_THROW(deeper->GetTextLength(0), CMemoryException);
    EXPECT_EQ(deeper->GetTextLength(-1), 66000u * 15);
}

TEST(TreeTextStreamTest, PiecesMakeTheTextInEveryForm) {
    std::unique_ptr<CNode> root(Sample());
    root->AddLeaf(L"Name", L"Grüße", true);
    for (unsigned codePage : {1252u, 850u, qx::kCpUtf8, qx::kCpUtf16Le, qx::kCpUtf16Be}) {
        for (bool indent : {true, false}) {
            SCOPED_TRACE(testing::Message() << "code page " << codePage << (indent ? ", indented" : ""));
            std::string bytes;
            bool lossy = true;
            qx::WriteTreeText(*root, indent, L':', codePage, [&bytes](std::string_view piece) { bytes += piece; },
                              &lossy);
            EXPECT_EQ(bytes, qx::WideToCodePage(Write(*root, indent), codePage));
            EXPECT_FALSE(lossy);
        }
    }
    root->AddLeaf(L"Stadt", L"Łódź", true);
    struct Case {
        unsigned codePage;
        bool lossy;
    } cases[] = {{1252, true}, {1250, false}, {qx::kCpUtf8, false}, {qx::kCpUtf16Le, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codePage);
        bool lossy = !c.lossy;
        qx::WriteTreeText(*root, true, L':', c.codePage, [](std::string_view) {}, &lossy);
        EXPECT_EQ(lossy, c.lossy);
    }
}

TEST(TreeTextStreamTest, DeepDocumentIsWrittenInBoundedPieces) {
    std::unique_ptr<CNode> deep = NestedChain(47000);
    size_t total = 0;
    size_t largest = 0;
    qx::WriteTreeText(*deep, true, L':', qx::kCpUtf8, [&](std::string_view piece) {
        total += piece.size();
        largest = std::max(largest, piece.size());
    });
    EXPECT_EQ(total, IndentedChainLength(47000));
    // Pieces of 64 KB, overshot by at most one line's worth of text.
    EXPECT_LE(largest, size_t{128} * 1024);
}

TEST(TreeTextTest, LeafReadsOneLine) {
    CLeaf leaf;
    std::wstring text = L"  k:a:b\r\nrest";
    const wchar_t* cursor = text.c_str();
    leaf.ReadFromMem(cursor, L':');
    EXPECT_EQ(leaf.GetName(), L"k");
    EXPECT_EQ(leaf.GetRawData(), L"a:b");
    EXPECT_EQ(std::wstring(cursor), L"rest");
}

TEST(TreeItemTest, ClipboardCarriesTheTextForm) {
    qx::ResetClipboardForTesting();
    std::unique_ptr<CNode> root(Sample());
    ASSERT_TRUE(root->WriteToClipBoard(L':'));
    unsigned nodeFormat = qx::RegisterClipboardFormatName(L"QUORIX_TREEITEM_NODE");
    ASSERT_TRUE(qx::OpenClipboard());
    auto data = qx::GetClipboardData(nodeFormat);
    qx::CloseClipboard();
    ASSERT_TRUE(data.has_value());
    std::wstring expected = Write(*root, false);
    EXPECT_EQ(*data, qx::WideToUtf16Bytes(expected + L'\0', false));

    CLeaf leaf(L"k", L"v");
    ASSERT_TRUE(leaf.WriteToClipBoard(L';'));
    ASSERT_TRUE(qx::OpenClipboard());
    auto leafData = qx::GetClipboardData(qx::RegisterClipboardFormatName(L"QUORIX_TREEITEM_LEAF"));
    // Writing emptied the clipboard first: the node's text is gone.
    EXPECT_FALSE(qx::GetClipboardData(nodeFormat).has_value());
    qx::CloseClipboard();
    ASSERT_TRUE(leafData.has_value());
    EXPECT_EQ(*leafData, qx::WideToUtf16Bytes(std::wstring(L"k;v\r\n") + L'\0', false));

    // A clipboard someone else holds open cannot be written.
    ASSERT_TRUE(qx::OpenClipboard());
    EXPECT_FALSE(leaf.WriteToClipBoard(L':'));
    qx::CloseClipboard();
    qx::ResetClipboardForTesting();
}

TEST(TreeItemTest, DumpToDebugger) {
    std::wstring captured;
    auto previous = qx::SetDebugOutputSink([&](std::wstring_view text) { captured += text; });
    std::unique_ptr<CNode> root(Sample());
    root->GetChild(0)->DeleteAllChildren();
    root->DumpToDebugger(0);
    qx::SetDebugOutputSink(previous);
    EXPECT_EQ(captured,
              L"+ Root\n"
              L"|- k : v\n"
              L"|+ Child\n"
              L"||- a : 1:2\n");
}

}  // namespace
