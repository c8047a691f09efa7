#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "qx/platform/base/codepage.h"
#include "qx/platform/wnd/message_box.h"
#include "qx/text/encoded_form.h"
#include "qx/text/text_codec.h"
#include "qx/tree/exc.h"
#include "qx/tree/node.h"
#include "qx/tree/tree_items.h"
#include "tests/support/test_support.h"

namespace {

using qx::test::ReadBytes;
using qx::test::TempDir;
using qx::test::WriteBytes;

const std::wstring kTreeText = L"[Konfig]\r\n\tName:Grüße €\r\n[ENDE_Konfig]\r\n";

std::string Encoded(std::string bytes) {
    qx::EncodeBytes(bytes);
    return bytes;
}

std::unique_ptr<CNode> SampleTree() {
    auto root = std::make_unique<CNode>(L"Konfig");
    root->AddLeaf(L"Name", L"Grüße €", true);
    return root;
}

std::wstring TextOf(const CNode& node) {
    CString out;
    node.WriteToString(out);
    return out.str();
}

// Collects the message boxes shown while it lives.
struct MessageRecorder {
    std::vector<std::wstring> texts;
    qx::ScopedMessageHandler handler{[this](const wchar_t* text, const wchar_t*, unsigned) {
        texts.push_back(text);
        return IDOK;
    }};
};

TEST(TreeFileTest, WritesEveryEncoding) {
    TempDir dir;
    auto root = SampleTree();
    const std::string cp1252 = "[Konfig]\r\n\tName:Gr\xFC\xDF" "e \x80\r\n[ENDE_Konfig]\r\n";
    const std::string utf8 = "\xEF\xBB\xBF[Konfig]\r\n\tName:Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC\r\n[ENDE_Konfig]\r\n";
    struct Case {
        const char* name;
        bool encode;
        bool utf8;
        unsigned codePage;
        std::string bytes;
    } cases[] = {
        {"default code page", false, false, 0, cp1252},
        {"code page 1252", false, false, 1252, cp1252},
        {"code page 1250", false, false, 1250,
         "[Konfig]\r\n\tName:Gr\xFC\xDF" "e \x80\r\n[ENDE_Konfig]\r\n"},
        {"code page 437 has no euro", false, false, 437, "[Konfig]\r\n\tName:Gr\x81\xE1" "e ?\r\n[ENDE_Konfig]\r\n"},
        {"utf-8 with mark", false, true, 0, utf8},
        {"encoded code page", true, false, 0, Encoded(cp1252)},
        {"encoded utf-8, mark included", true, true, 0, Encoded(utf8)},
        {"code page 1200, UTF-16LE without mark", false, false, qx::kCpUtf16Le,
         qx::WideToCodePage(kTreeText, qx::kCpUtf16Le)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring path = dir.Wide("out.txt");
        ASSERT_TRUE(root->WriteToFile(path.c_str(), c.encode, true, c.utf8, c.codePage));
        EXPECT_EQ(ReadBytes(dir.Native("out.txt")), c.bytes);
        // Text without mark reads as 8-bit text, ending at its first zero
        // byte, so UTF-16 without mark is for writing only.
        if (c.codePage == qx::kCpUtf16Le) continue;
        // And back: the same text, with the file's own form recognised.
        bool isUnicode = !c.utf8;
        std::unique_ptr<CNode> back(CNode::ReadFromFile(path.c_str(), c.encode, L':', &isUnicode, c.codePage));
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(isUnicode, c.utf8);
        if (c.codePage != 437) {
            EXPECT_EQ(TextOf(*back), kTreeText);
        }
    }
    ASSERT_TRUE(root->WriteToFile(dir.Wide("plain.txt").c_str(), false, false));
    EXPECT_EQ(ReadBytes(dir.Native("plain.txt")), "[Konfig]\r\nName:Gr\xFC\xDF" "e \x80\r\n[ENDE_Konfig]\r\n");
}

TEST(TreeFileTest, ReadsEveryEncoding) {
    TempDir dir;
    const std::string utf16le = std::string("\xFF\xFE", 2) + [] {
        std::string s;
        for (wchar_t c : kTreeText) {
            s += static_cast<char>(c & 0xFF);
            s += static_cast<char>(c >> 8);
        }
        return s;
    }();
    std::string utf16be = "\xFE\xFF";
    for (wchar_t c : kTreeText) {
        utf16be += static_cast<char>(c >> 8);
        utf16be += static_cast<char>(c & 0xFF);
    }
    const std::string cp1252 = "[Konfig]\r\n\tName:Gr\xFC\xDF" "e \x80\r\n[ENDE_Konfig]\r\n";
    struct Case {
        const char* name;
        std::string bytes;
        bool encoded;
        unsigned codePage;
        bool isUnicode;
    } cases[] = {
        {"utf-16le", utf16le, false, 0, true},
        {"utf-16be", utf16be, false, 0, true},
        {"utf-8", "\xEF\xBB\xBF[Konfig]\r\n\tName:Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC\r\n[ENDE_Konfig]\r\n", false, 0,
         true},
        {"code page 0", cp1252, false, 0, false},
        {"code page -1 reads 1252", cp1252, false, 0xFFFFFFFFu, false},
        {"code page 3332 reads 1252", cp1252, false, 3332, false},
        {"no mark with 65001 reads 1252", cp1252, false, 65001, false},
        {"encoded utf-16le", Encoded(utf16le), true, 0, true},
        {"encoded code page", Encoded(cp1252), true, 0, false},
        // A UTF-8 mark stored as it is stays, the rest is decoded.
        {"encoded, mark stored plain", "\xEF\xBB\xBF" + Encoded("[Konfig]\r\n\tName:Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC\r\n[ENDE_Konfig]\r\n"),
         true, 0, true},
        {"text ends at a zero", cp1252 + std::string("\0[garbage", 9), false, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(dir.path() / "in.txt", c.bytes);
        bool isUnicode = !c.isUnicode;
        std::unique_ptr<CNode> root(
            CNode::ReadFromFile(dir.Wide("in.txt").c_str(), c.encoded, L':', &isUnicode, c.codePage));
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(TextOf(*root), kTreeText);
        EXPECT_EQ(isUnicode, c.isUnicode);
    }

    // 3331 is the OEM code page (850): 0x8E is Ä there.
    WriteBytes(dir.path() / "oem.txt", "[A]\r\nk:\x8E\r\n[ENDE_A]");
    std::unique_ptr<CNode> oem(CNode::ReadFromFile(dir.Wide("oem.txt").c_str(), false, L':', nullptr, 3331));
    ASSERT_NE(oem, nullptr);
    EXPECT_EQ(oem->GetLeaf(0)->GetRawData(), L"Ä");
}

// Values read from UTF-8 and 8-bit files stay in the file's bytes until
// asked for: every way of reading, changing and copying them must see the
// same values as leaves built in memory, also a leaf kept after its tree.
TEST(TreeFileTest, ValuesKeptInTheFilesBytesBehaveAsAnyOther) {
    TempDir dir;
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"utf-8", "\xEF\xBB\xBF[A]\r\nk:1,5:Gr\xC3\xBC\xC3\x9F" "e\r\ne:\r\n[ENDE_A]\r\n"},
        {"code page", "[A]\r\nk:1,5:Gr\xFC\xDF" "e\r\ne:\r\n[ENDE_A]\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(dir.path() / "in.txt", c.bytes);
        std::unique_ptr<CNode> root(CNode::ReadFromFile(dir.Wide("in.txt").c_str()));
        ASSERT_NE(root, nullptr);
        CLeaf* k = root->FindLeaf(L"k");
        ASSERT_NE(k, nullptr);
        CString second;
        EXPECT_TRUE(k->GetValue(2, second));
        EXPECT_EQ(second, L"Grüße");
        EXPECT_EQ(root->GetDblLeafValue(L"", L"k"), 1.5);
        EXPECT_EQ(root->FindLeaf(L"e")->GetRawData(), L"");

        CNode copy(*root);
        EXPECT_EQ(TextOf(copy), L"[A]\r\n\tk:1,5:Grüße\r\n\te:\r\n[ENDE_A]\r\n");
        EXPECT_TRUE(copy.SetStrLeafValue(L"", L"k", 3, L"neu"));
        EXPECT_EQ(copy.FindLeaf(L"k")->GetRawData(), L"1,5:Grüße:neu");

        root->FindLeaf(L"e")->SetRawData(CString(L"x"));
        EXPECT_EQ(root->FindLeaf(L"e")->GetRawData(), L"x");

        // A leaf kept after its tree was deleted keeps its value.
        ASSERT_TRUE(root->DeleteLeaf(k, true));
        root.reset();
        std::unique_ptr<CLeaf> kept(k);
        EXPECT_EQ(kept->GetRawData(), L"1,5:Grüße");
    }
}

TEST(TreeFileTest, ReadErrorsDeleteWhatWasReadAndPassOn) {
    TempDir dir;
    WriteBytes(dir.path() / "bad.txt", "[A]\r\n[B]\r\nk:v\r\n[ENDE_C]");
    try {
        CNode::ReadFromFile(dir.Wide("bad.txt").c_str());
        FAIL() << "no exception";
    } catch (const CExcRead& e) {
        EXPECT_EQ(std::wstring(e.GetMessage()), L"Wrong ending node!");
    }
    EXPECT_EQ(CNode::ReadFromFile(dir.Wide("missing.txt").c_str()), nullptr);
    EXPECT_EQ(CNode::ReadFromFile(nullptr), nullptr);
}

TEST(TreeFileTest, TreeItemsReaderMessages) {
    TempDir dir;
    const std::string good = "[A]\r\nk:v\r\n[ENDE_A]\r\n";
    WriteBytes(dir.path() / "data.txt", good);
    WriteBytes(dir.path() / "data.ppx", Encoded(good));
    WriteBytes(dir.path() / "UPPER.TXX", Encoded(good));
    WriteBytes(dir.path() / "bad.txt", "[A]\r\nk:v\r\n");
    std::filesystem::create_directory(dir.path() / "folder.txt");

    struct Case {
        const char* name;
        std::string file;
        int quiet;
        int result;
        std::wstring message;  // "" for none
    } cases[] = {
        {"plain", "data.txt", 0, 1, L""},
        {"encoded by the trailing x", "data.ppx", 0, 1, L""},
        {"capital X", "UPPER.TXX", 0, 1, L""},
        {"missing file: no message", "missing.txt", 0, 0, L""},
        {"read error", "bad.txt", 0, 0,
         L"Fehler beim Lesen der Datei:\n" + dir.Wide("bad.txt") + L"\nError: EOF reached before leaf complete!"},
        {"read error quiet", "bad.txt", 1, 0, L""},
        {"unreadable: the error code", "folder.txt", 0, 0,
         L"Fehler beim Lesen der Datei:\n" + dir.Wide("folder.txt") + L"\nError: 5"},
        {"unreadable quiet", "folder.txt", 1, 0, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageRecorder recorder;
        CNode* root = reinterpret_cast<CNode*>(0x1);  // must stay untouched on failure
        int result = TreeItems::ReadFromFile(CString(dir.Wide(c.file)), root, c.quiet);
        EXPECT_EQ(result, c.result);
        if (result) {
            EXPECT_EQ(TextOf(*root), L"[A]\r\n\tk:v\r\n[ENDE_A]\r\n");
            delete root;
        } else {
            EXPECT_EQ(root, reinterpret_cast<CNode*>(0x1));
        }
        if (c.message.empty()) {
            EXPECT_TRUE(recorder.texts.empty());
        } else {
            ASSERT_EQ(recorder.texts.size(), 1u);
            EXPECT_EQ(recorder.texts[0], c.message);
        }
    }
}

TEST(TreeFileTest, TreeItemsFromString) {
    MessageRecorder recorder;
    CNode* root = nullptr;
    EXPECT_EQ(TreeItems::ReadFromString(L"[A]\r\nk:v\r\n[ENDE_A]", root, 0), 1);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetName(), L"A");
    delete root;

    root = nullptr;
    EXPECT_EQ(TreeItems::ReadFromString(L"[A]\r\n[B]\r\n", root, 0), 0);
    ASSERT_NE(root, nullptr);  // the partly read tree is the caller's
    EXPECT_EQ(root->NrOfChildren(), 1u);
    delete root;
    ASSERT_EQ(recorder.texts.size(), 1u);
    EXPECT_EQ(recorder.texts[0], L"EOF reached before leaf complete!");

    root = nullptr;
    EXPECT_EQ(TreeItems::ReadFromString(L"", root, 1), 0);
    delete root;
    EXPECT_EQ(recorder.texts.size(), 1u);
}

// The file reader reads UTF-8 and 8-bit files from their bytes; it must
// give exactly what the reader of wide text gives for the decoded text:
// the same tree, or the same error.
TEST(TreeFileTest, ReadingFromBytesMatchesReadingTheDecodedText) {
    TempDir dir;
    const std::string mark = "\xEF\xBB\xBF";
    struct Case {
        const char* name;
        std::string bytes;  // the file
        unsigned codePage;
        wchar_t separator;
    } cases[] = {
        {"utf-8 names, values and end tags", mark + "[Gr\xC3\xBC\xC3\x9F" "e]\r\n\t\xC3\x84nderung:\xE2\x82\xAC 5\r\n"
                                             "[ENDE_Gr\xC3\xBC\xC3\x9F" "e]\r\n", 0, L':'},
        {"utf-8 end tag differing in its last letter", mark + "[Gr\xC3\xBC\xC3\x9F" "e]\r\n[ENDE_Gr\xC3\xBC\xC3\x9F\xC3\xA9]", 0,
         L':'},
        {"utf-8 end tag cut inside a letter", mark + "[\xC3\xBC]\r\n[ENDE_\xC3", 0, L':'},
        {"cp1252 names and end tags", "[Gr\xFC\xDF" "e]\r\n\tk:\x80\r\n[ENDE_Gr\xFC\xDF" "e]", 1252, L':'},
        {"cp1252 wrong end", "[Gr\xFC\xDF" "e]\r\n[ENDE_Gr\xFC\xDF" "E]", 1252, L':'},
        {"no-break space skipped, utf-8", mark + "[A]\r\n\xC2\xA0k:v\r\n[ENDE_A]", 0, L':'},
        {"ideographic space skipped", mark + "[A]\r\n\xE3\x80\x80k:v\r\n[ENDE_A]", 0, L':'},
        {"no-break space skipped, cp1252", "[A]\r\n\xA0k:v\r\n[ENDE_A]", 1252, L':'},
        {"broken utf-8 in a value", mark + "[A]\r\nk:\xC3(\xE2\x82\r\n[ENDE_A]", 0, L':'},
        {"lone carriage return inside a value", "[A]\r\nk:a\rb\r\nl:c\n[ENDE_A]\n", 1252, L':'},
        {"long values and line feeds only", "[A]\nk:" + std::string(100, 'x') + "\n\t[B]\n\t\tm:" + std::string(33, 'y') +
                                                "\n\t[ENDE_B]\n[ENDE_A]", 1252, L':'},
        {"leaf without a separator", "[A]\r\nflag\r\n[ENDE_A]", 1252, L':'},
        {"another separator", "[A]\r\nk;v:w\r\n[ENDE_A]", 1252, L';'},
        {"a separator beyond ASCII", mark + "[A]\r\nk\xC2\xA7v\r\n[ENDE_A]", 0, L'\u00A7'},
        {"simple XML form", mark + "<A>\r\n\t<B>x\xC3\xA9y</B>\r\n\t<C>\r\n\t\t<D>1</D>\r\n\t</C>\r\n</A>", 0, L':'},
        {"no start bracket", "  x", 1252, L':'},
        {"no end bracket", "[A", 1252, L':'},
        {"leaf incomplete", "[A]\r\nk", 1252, L':'},
        {"a zero ends the text", std::string("[A]\r\nk:v\0w\r\n[ENDE_A]", 20), 1252, L':'},
        // 1258 writes some letters as base and mark: the file is composed
        // as a whole.
        {"code page 1258 composes", "[A]\r\nk:a\xEC\r\n[ENDE_A]", 1258, L':'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(dir.path() / "in.txt", c.bytes);
        std::wstring expected;
        try {
            CNode reference;
            const std::wstring text = qx::DecodeText(c.bytes, c.codePage);
            const wchar_t* cursor = text.c_str();
            reference.ReadFromMem(cursor, c.separator);
            expected = TextOf(reference);
        } catch (const CExcRead& e) {
            expected = std::wstring(L"error: ") + e.GetMessage();
        }
        std::wstring actual;
        try {
            std::unique_ptr<CNode> root(
                CNode::ReadFromFile(dir.Wide("in.txt").c_str(), false, c.separator, nullptr, c.codePage));
            ASSERT_NE(root, nullptr);
            actual = TextOf(*root);
        } catch (const CExcRead& e) {
            actual = std::wstring(L"error: ") + e.GetMessage();
        }
        EXPECT_EQ(actual, expected);
    }
    WriteBytes(dir.path() / "composed.txt", "[A]\r\nk:a\xEC\r\n[ENDE_A]");
    std::unique_ptr<CNode> composed(CNode::ReadFromFile(dir.Wide("composed.txt").c_str(), false, L':', nullptr, 1258));
    ASSERT_NE(composed, nullptr);
    EXPECT_EQ(composed->GetLeaf(0)->GetRawData(), L"\u00E1");
}

// Names and values are encoded on their own: a value that begins with a
// combining mark cannot merge with the bracket before it.
TEST(TreeFileTest, EightBitWritingKeepsTheStructure) {
    TempDir dir;
    CNode xml(L"A");
    xml.setSimpleXML(true);
    xml.AddLeaf(L"", L"\u0338x", true);  // '>' + U+0338 would compose to U+226F
    ASSERT_TRUE(xml.WriteToFile(dir.Wide("xml.txt").c_str(), false, true, false, 1252));
    EXPECT_EQ(ReadBytes(dir.Native("xml.txt")), "<A>?x</A>\r\n");

    // A letter that 1258 has only as base and mark is written as both and
    // read back composed.
    CNode viet(L"A");
    viet.AddLeaf(L"k", L"\u1EA5", true);
    ASSERT_TRUE(viet.WriteToFile(dir.Wide("viet.txt").c_str(), false, true, false, 1258));
    EXPECT_EQ(ReadBytes(dir.Native("viet.txt")), "[A]\r\n\tk:\xE2\xEC\r\n[ENDE_A]\r\n");
    std::unique_ptr<CNode> back(CNode::ReadFromFile(dir.Wide("viet.txt").c_str(), false, L':', nullptr, 1258));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetLeaf(0)->GetRawData(), L"\u1EA5");
}

TEST(TreeFileTest, FailedWritesKeepThePreviousFile) {
    TempDir dir;
    auto root = SampleTree();
    EXPECT_FALSE(root->WriteToFile(dir.Wide("no/such/folder/x.txt").c_str()));
    // A target that is a folder cannot be replaced; nothing changes.
    std::filesystem::create_directory(dir.path() / "taken");
    WriteBytes(dir.path() / "taken" / "keep", "x");
    EXPECT_FALSE(root->WriteToFile(dir.Wide("taken").c_str()));
    EXPECT_EQ(ReadBytes(dir.path() / "taken" / "keep"), "x");
}

}  // namespace
