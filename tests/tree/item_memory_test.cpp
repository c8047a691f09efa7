// Items read from a document share chunks of memory; these tests hold the
// items to the promise that each lives and dies on its own all the same.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include "qx/tree/node.h"
#include "tests/support/test_support.h"

namespace {

using qx::test::TempDir;
using qx::test::WriteBytes;

// A document of *groups* nodes with *leaves* leaves each, enough to fill
// several chunks.
std::string Document(int groups, int leaves) {
    std::string text = "[Root]\r\n";
    for (int g = 0; g < groups; ++g) {
        text += "\t[G" + std::to_string(g) + "]\r\n";
        for (int l = 0; l < leaves; ++l) text += "\t\tk" + std::to_string(l) + ":v" + std::to_string(g * leaves + l) + "\r\n";
        text += "\t[ENDE_G" + std::to_string(g) + "]\r\n";
    }
    return text + "[ENDE_Root]\r\n";
}

std::unique_ptr<CNode> ReadDocument(const TempDir& dir, int groups, int leaves) {
    WriteBytes(dir.path() / "doc.txt", Document(groups, leaves));
    return std::unique_ptr<CNode>(CNode::ReadFromFile(dir.Wide("doc.txt").c_str()));
}

TEST(ItemMemoryTest, ItemsKeptFromADocumentOutliveIt) {
    TempDir dir;
    auto root = ReadDocument(dir, 2000, 10);
    ASSERT_NE(root, nullptr);
    // Take one node and one leaf out of the document, delete the rest.
    CNode* group = root->GetChild(1234);
    ASSERT_TRUE(root->DeleteChild(group, true));
    CLeaf* leaf = root->GetChild(7)->GetLeaf(3);
    ASSERT_TRUE(root->GetChild(7)->DeleteLeaf(leaf, true));
    root.reset();

    EXPECT_EQ(group->GetName(), L"G1234");
    EXPECT_EQ(group->GetStrLeafValue(L"", L"k9"), L"v12349");
    group->AddLeaf(L"new", L"value");  // made outside any document: its own memory
    EXPECT_EQ(leaf->GetRawData(), L"v73");
    delete leaf;
    delete group;
}

TEST(ItemMemoryTest, ADocumentMayBeDeletedOnAnotherThread) {
    TempDir dir;
    for (int round = 0; round < 3; ++round) {
        auto root = ReadDocument(dir, 500, 10);
        ASSERT_NE(root, nullptr);
        // Half of it goes on this thread while the other thread deletes the rest.
        std::unique_ptr<CNode> other(new CNode(L"Other"));
        while (root->NrOfChildren() > 250) {
            CNode* child = root->GetLastChild();
            root->DeleteChild(child, true);
            other->AddChild(child);
        }
        std::thread worker([&other] { other.reset(); });
        root.reset();
        worker.join();
    }
}

TEST(ItemMemoryTest, ItemsMadeWhileReadingAndCopiesAreIndependent) {
    TempDir dir;
    auto root = ReadDocument(dir, 300, 5);
    ASSERT_NE(root, nullptr);
    CNode copy(*root);
    root.reset();
    EXPECT_EQ(copy.NrOfChildren(), 300u);
    EXPECT_EQ(copy.GetStrLeafValue(L"G299\\", L"k4"), L"v1499");
}

}  // namespace
