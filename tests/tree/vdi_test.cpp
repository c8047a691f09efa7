#include "qx/tree/vdi.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "qx/message/message_table.h"
#include "qx/platform/base/utf.h"
#include "qx/text/text_codec.h"
#include "qx/platform/wnd/message_box.h"
#include "tests/support/test_support.h"

namespace {

// A VDI text of the given record lines, each ended with CR LF.
std::wstring Vdi(std::initializer_list<std::wstring> lines) {
    std::wstring text;
    for (const std::wstring& line : lines) text += line + L"\r\n";
    return text;
}

// Imports *text*, collecting the messages shown on the way.
struct Imported {
    std::unique_ptr<CNode> root;
    std::vector<std::wstring> messages;
    bool allPlain = true;  // every message box without icon, with OK only
};

Imported Import(const std::wstring& text) {
    Imported result;
    qx::ScopedMessageHandler handler([&result](const wchar_t* message, const wchar_t*, unsigned flags) {
        result.messages.emplace_back(message);
        result.allPlain = result.allPlain && flags == MB_OK;
        return IDOK;
    });
    result.root.reset(qx::ImportVdi(text.c_str()));
    return result;
}

// Imports *text* with the outcome, records outside the table kept or not.
struct Outcome {
    std::unique_ptr<CNode> root;
    qx::VdiImportOutcome outcome;
    size_t messages = 0;
};

using Stop = qx::VdiImportOutcome::Stop;

Outcome ImportWithOutcome(const std::wstring& text, bool keepUnknown) {
    Outcome result;
    qx::ScopedMessageHandler handler([&result](const wchar_t*, const wchar_t*, unsigned) {
        ++result.messages;
        return IDOK;
    });
    qx::VdiImportOptions options;
    options.keepUnknownRecords = keepUnknown;
    result.root.reset(qx::ImportVdi(text.c_str(), options, result.outcome));
    return result;
}

// The node names of a tree, one per line, indented one space per level.
void AppendOutline(const CNode& node, int depth, std::vector<std::wstring>& out) {
    out.push_back(std::wstring(static_cast<size_t>(depth), L' ') + node.GetName().str());
    for (unsigned i = 0; i < node.NrOfChildren(); ++i) AppendOutline(*node.GetChild(i), depth + 1, out);
}

std::vector<std::wstring> Outline(const CNode* root) {
    std::vector<std::wstring> out;
    if (root) AppendOutline(*root, 0, out);
    return out;
}

std::wstring Export(const CNode& root) { return qx::ExportVdi(root).str(); }

// The packed value of a record node.
std::wstring RawValue(const CNode& record) {
    return record.NrOfLeaves() ? record.GetLeaf(0)->GetRawData().str() : L"<no leaf>";
}

// Headers of parts 3, 6 and 18, and the chain down to an article (110).
const std::wstring kHead3 = L"010;3;20240101;";
const std::wstring kHead6 = L"010;6;20240101;";
const std::wstring kHead18 = L"010;18;20240101;";
const std::wstring kProduct = L"100;1;Muster;";
const std::wstring kArticle = L"110;1;4711;";

struct PlacementCase {
    const char* name;
    std::wstring text;
    std::vector<std::wstring> outline;
};

TEST(VdiImportTest, PlacesRecordsBelowTheirParents) {
    const PlacementCase cases[] = {
        {"groups are per parent record",
         Vdi({kHead3, kProduct, kArticle, L"200;a;", L"250;a1;", L"250;a2;", L"200;b;", L"250;b1;", L"260;b2;"}),
         {L"010", L" GRUPPE 100", L"  100", L"   110", L"    GRUPPE 200", L"     200", L"      GRUPPE 250",
          L"       250", L"       250", L"     200", L"      GRUPPE 250", L"       250", L"      GRUPPE 260",
          L"       260"}},
        {"a new article starts new groups; root groups exist once",
         Vdi({kHead3, kProduct, kArticle, L"300;x;", L"100;2;", L"110;2;", L"300;y;", L"350;y1;", L"350.01;z;"}),
         {L"010", L" GRUPPE 100", L"  100", L"   110", L"    GRUPPE 300", L"     300", L"  100", L"   110",
          L"    GRUPPE 300", L"     300", L"      GRUPPE 350", L"       350", L"        350.01"}},
        {"direct children and the .01 groups",
         Vdi({kHead3, kProduct, kArticle, L"160;a;", L"160.01;b;", L"600;c;", L"610;d;", L"500;e;", L"500.01;f;",
              L"850;g;", L"860;h;", L"760;i;"}),
         {L"010", L" GRUPPE 100", L"  100", L"   110", L"    GRUPPE 160", L"     160", L"      160.01",
          L"    GRUPPE 600", L"     600", L"      610", L"    GRUPPE 500", L"     500", L"      GRUPPE 500.01",
          L"       500.01", L"    GRUPPE 850", L"     850", L"      860"}},
        {"800, 810 and 820 share one group",
         Vdi({kHead3, kProduct, kArticle, L"810;a;", L"800;b;", L"820;c;", L"830;d;"}),
         {L"010", L" GRUPPE 100", L"  100", L"   110", L"    GRUPPE 800/810/820", L"     810", L"     800",
          L"     820", L"    GRUPPE 830", L"     830"}},
        {"part 3: 710.08 to 710.10 and 710.12 under 700",
         Vdi({kHead3, kProduct, kArticle, L"700;a;", L"710.01;b;", L"710.08;c;", L"710.10;d;", L"710.12;e;",
              L"710.11;f;"}),
         {L"010", L" GRUPPE 100", L"  100", L"   110", L"    GRUPPE 700", L"     700", L"      GRUPPE 710.01",
          L"       710.01", L"        GRUPPE 710.11", L"         710.11", L"      GRUPPE 710.08", L"       710.08",
          L"      GRUPPE 710.10", L"       710.10", L"      GRUPPE 710.12", L"       710.12"}},
        {"part 18: 710.11 directly under 710.01, 710.12 in a group under it",
         Vdi({kHead18, kProduct, kArticle, L"700;a;", L"710.01;b;", L"710.11;c;", L"710.12;d;", L"710.11;e;"}),
         {L"010", L" GRUPPE 100", L"  100", L"   110", L"    GRUPPE 700", L"     700", L"      GRUPPE 710.01",
          L"       710.01", L"        710.11", L"        GRUPPE 710.12", L"         710.12", L"        710.11"}},
        {"part 6: 710.11 and 710.12 in groups under 710.01",
         Vdi({kHead6, kProduct, kArticle, L"700;a;", L"710.01;b;", L"710.12;c;", L"710.11;d;"}),
         {L"010", L" GRUPPE 100", L"  100", L"   110", L"    GRUPPE 700", L"     700", L"      GRUPPE 710.01",
          L"       710.01", L"        GRUPPE 710.12", L"         710.12", L"        GRUPPE 710.11",
          L"         710.11"}},
        {"710.21 and 710.22 get two groups of one name",
         Vdi({kHead3, kProduct, kArticle, L"700;a;", L"710.02;b;", L"710.21;c;", L"710.22;d;", L"710.21;e;",
              L"710.03;f;", L"710.35;g;", L"710.07;h;", L"710.71;i;"}),
         {L"010", L" GRUPPE 100", L"  100", L"   110", L"    GRUPPE 700", L"     700", L"      GRUPPE 710.02",
          L"       710.02", L"        GRUPPE 710.21", L"         710.21", L"         710.21",
          L"        GRUPPE 710.21", L"         710.22", L"      GRUPPE 710.03", L"       710.03",
          L"        GRUPPE 710.35", L"         710.35", L"      GRUPPE 710.07", L"       710.07",
          L"        GRUPPE 710.71", L"         710.71"}},
        {"the 900 and 930 families under the root",
         Vdi({kHead3, L"900;a;", L"920;b;", L"930;c;", L"930_01;d;", L"930_02;e;", L"930_03;f;", L"930_04;g;",
              L"960;h;", L"900;i;"}),
         {L"010", L" GRUPPE 900", L"  900", L"   920", L"  900", L" GRUPPE 930", L"  930", L"   930_01",
          L"    GRUPPE 930.02", L"     930_02", L"    GRUPPE 930.03", L"     930_03", L"      930_04",
          L" GRUPPE 960", L"  960"}},
        {"970: named details and 970.41 below the most recent of them",
         Vdi({kHead3, L"970;a;", L"970.02;1;2;ABC;", L"970.41;x;", L"970.05;e;", L"970.41;y;",
              L"970.03;1;2;DEF;", L"970.41;z;", L"970.14;n;"}),
         {L"010", L" GRUPPE 970", L"  970", L"   GRUPPE 970.02", L"    970.02 ABC", L"     970.41",
          L"   GRUPPE 970.05", L"    970.05", L"     970.41", L"   GRUPPE 970.03", L"    970.03 DEF",
          L"     970.41", L"   GRUPPE 970.14", L"    970.14"}},
        {"a record whose parent is missing ends reading",
         Vdi({kHead3, kProduct, kArticle, L"250;orphan;", L"200;late;"}),
         {L"010", L" GRUPPE 100", L"  100", L"   110"}},
        {"a second 010 ends reading", Vdi({kHead3, L"900;a;", kHead3, L"900;b;"}),
         {L"010", L" GRUPPE 900", L"  900"}},
        {"a type that is no number ends reading silently", Vdi({kHead3, L"900;a;", L"x;y;", L"900;b;"}),
         {L"010", L" GRUPPE 900", L"  900"}},
        {"white space and blank lines", L"\r\n \t010;3;\n\n\r\n900;a;\r\r\n960;b;",
         {L"010", L" GRUPPE 900", L"  900", L" GRUPPE 960", L"  960"}},
    };
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(c.name);
        Imported imported = Import(c.text);
        ASSERT_NE(imported.root, nullptr);
        EXPECT_EQ(Outline(imported.root.get()), c.outline);
        EXPECT_TRUE(imported.messages.empty());
    }
}

TEST(VdiImportTest, NotAVdiText) {
    const struct {
        const char* name;
        std::wstring text;
    } cases[] = {
        {"empty", L""},
        {"white space only", L" \r\n\t"},
        {"first record 100", Vdi({kProduct, L"010;3;"})},
        {"010 not at the start", L"x010;3;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Imported imported = Import(c.text);
        EXPECT_EQ(imported.root, nullptr);
    }
    EXPECT_EQ(qx::ImportVdi(nullptr), nullptr);
}

TEST(VdiImportTest, RecordValuesArePackedFields) {
    Imported imported = Import(Vdi({kHead3, L"100;Hersteller;Name:", L"900;a\\;b;c;;"}));
    ASSERT_NE(imported.root, nullptr);
    CNode* product = imported.root->GetChild(0)->GetChild(0);
    ASSERT_EQ(product->GetName(), L"100");
    ASSERT_EQ(product->NrOfLeaves(), 1u);
    EXPECT_EQ(product->GetLeaf(0)->GetName(), L"<>");
    EXPECT_EQ(RawValue(*product), L"Hersteller:Name\u00AE");
    EXPECT_EQ(product->GetStrLeafValue(L"", L"<>", 2), L"Name:");

    CNode* record = imported.root->GetChild(1)->GetChild(0);
    EXPECT_EQ(RawValue(*record), L"a\\;b:c::");
    EXPECT_EQ(record->GetStrLeafValue(L"", L"<>", 1), L"a\\;b");  // the escaped separator stays in its field
    EXPECT_EQ(record->GetStrLeafValue(L"", L"<>", 2), L"c");
    EXPECT_EQ(RawValue(*imported.root), L"3:20240101:");
}

TEST(VdiImportTest, UnknownRecordTypeShowsAMessageAndEndsReading) {
    const struct {
        const char* name;
        std::wstring text;
        std::wstring message;
        std::vector<std::wstring> outline;
    } cases[] = {
        {"type outside the table", Vdi({kHead3, L"900;a;", L"999;x;", L"900;b;"}), L"Unknown VDI-Node: 999",
         {L"010", L" GRUPPE 900", L"  900"}},
        {"710.08 outside part 3",
         Vdi({kHead6, kProduct, kArticle, L"700;a;", L"710.08;b;", L"720;c;"}), L"Unknown VDI-Node: 710.08",
         {L"010", L" GRUPPE 100", L"  100", L"   110", L"    GRUPPE 700", L"     700"}},
        {"type with a suffix", Vdi({kHead3, L"900x;a;"}), L"Unknown VDI-Node: 900x", {L"010"}},
        {"first record not exactly 010", L"010x;3;\r\n900;a;\r\n", L"Unknown VDI-Node: 010x", {}},
        {"a long type is shortened to 40 characters", Vdi({kHead3, L"9" + std::wstring(99, L'A') + L";x;"}),
         L"Unknown VDI-Node: 9" + std::wstring(39, L'A') + L"...", {L"010"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Imported imported = Import(c.text);
        EXPECT_EQ(Outline(imported.root.get()), c.outline);
        EXPECT_EQ(imported.messages, std::vector<std::wstring>{c.message});
        EXPECT_TRUE(imported.allPlain);
    }
}

TEST(VdiImportTest, UnknownRecordMessageIsTranslated) {
    qx::ReplaceMessageTable({{L"Unknown VDI-Node: %s", L"Unbekannter VDI-Satz: %s"}});
    Imported imported = Import(Vdi({kHead3, L"999;x;"}));
    qx::ClearMessageTable();
    EXPECT_EQ(imported.messages, std::vector<std::wstring>{L"Unbekannter VDI-Satz: 999"});
}

TEST(VdiImportTest, NewRecordForgetsTheRecordsBelowThePreviousOne) {
    const std::vector<std::wstring> head = {L"010", L" GRUPPE 100", L"  100", L"   110"};
    auto below = [&head](std::initializer_list<std::wstring> lines) {
        std::vector<std::wstring> outline = head;
        outline.insert(outline.end(), lines);
        return outline;
    };
    // Each text ends with a record whose parent type has no current record
    // since a new record above it came: reading ends there.
    const struct {
        const char* name;
        std::wstring text;
        std::vector<std::wstring> outline;
        size_t line;
        std::wstring parent;
    } cases[] = {
        {"a 710.11 after a new 700 without its own 710.01",
         Vdi({kHead3, kProduct, kArticle, L"700;a;", L"710.01;b;", L"700;c;", L"710.11;d;"}),
         below({L"    GRUPPE 700", L"     700", L"      GRUPPE 710.01", L"       710.01", L"     700"}), 7,
         L"710.01"},
        {"a 250.01 after a new 200 without its own 250",
         Vdi({kHead3, kProduct, kArticle, L"200;a;", L"250;x;", L"200;b;", L"250.01;y;"}),
         below({L"    GRUPPE 200", L"     200", L"      GRUPPE 250", L"       250", L"     200"}), 7, L"250"},
        {"a 250 after a new article without its own 200",
         Vdi({kHead3, kProduct, kArticle, L"200;a;", L"110;2;", L"250;x;"}),
         below({L"    GRUPPE 200", L"     200", L"   110"}), 6, L"200"},
        {"a 930_04 after a new 930_01 without its own 930_03",
         Vdi({kHead3, L"930;a;", L"930_01;b;", L"930_03;c;", L"930_01;d;", L"930_04;e;"}),
         {L"010", L" GRUPPE 930", L"  930", L"   930_01", L"    GRUPPE 930.03", L"     930_03", L"   930_01"}, 6,
         L"930_03"},
        {"a 970.41 after a new 970", Vdi({kHead3, L"970;a;", L"970.05;b;", L"970;c;", L"970.41;d;"}),
         {L"010", L" GRUPPE 970", L"  970", L"   GRUPPE 970.05", L"    970.05", L"  970"}, 5,
         L"970.02/970.03/970.05/970.06"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Outcome imported = ImportWithOutcome(c.text, false);
        EXPECT_EQ(Outline(imported.root.get()), c.outline);
        EXPECT_EQ(imported.outcome.stop, Stop::kMissingParent);
        EXPECT_EQ(imported.outcome.line, c.line);
        EXPECT_EQ(imported.outcome.parent, c.parent);
        Imported family = Import(c.text);  // the same tree, silently
        EXPECT_EQ(Outline(family.root.get()), c.outline);
        EXPECT_TRUE(family.messages.empty());
    }
}

TEST(VdiImportTest, ColonsAndRealRegisteredSignsStayApart) {
    const struct {
        const char* name;
        std::wstring line;
        std::wstring held;      // the packed value in the tree
        std::wstring read;      // its first value, as the family's readers give it
        std::wstring exported;  // the line written back
    } cases[] = {
        {"a colon", L"900;a:b;c;", L"a\u00AEb:c:", L"a:b", L"900;a:b;c;"},
        {"a real sign", L"900;Muster\u00AE;c;", L"Muster\u00AE;:c:", L"Muster:;", L"900;Muster\u00AE;c;"},
        {"both", L"900;a:\u00AE::\u00AE;", L"a\u00AE\u00AE;\u00AE\u00AE\u00AE;:", L"a::;:::;",
         L"900;a:\u00AE::\u00AE;"},
        {"a sign before an escaped semicolon", L"900;\u00AE\\;x;", L"\u00AE;\\;x:", L":;\\;x",
         L"900;\u00AE\\;x;"},
        {"a colon before an escaped semicolon", L"900;:\\;x;", L"\u00AE\\;x:", L":\\;x", L"900;:\\;x;"},
        {"a sign ending the line", L"900;a\u00AE", L"a\u00AE;", L"a:;", L"900;a\u00AE;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Imported imported = Import(Vdi({kHead3, c.line}));
        ASSERT_NE(imported.root, nullptr);
        CNode* record = imported.root->GetChild(0)->GetChild(0);
        EXPECT_EQ(RawValue(*record), c.held);
        EXPECT_EQ(record->GetStrLeafValue(L"", L"<>", 1), c.read);
        EXPECT_EQ(Export(*imported.root), Vdi({kHead3, c.exported}));
    }
    // A tree stored before real signs were told apart holds U+00AE alone
    // and still writes a colon.
    CNode stored(L"010");
    stored.AddLeaf(L"<>", L"3:Muster\u00AEFlow", true);
    EXPECT_EQ(Export(stored), Vdi({L"010;3;Muster:Flow;"}));
}

// The fixed-width field of record 800: fifteen codes of 3 characters, one
// of 5, one of 3 (53), and for part 6 one more of 5.
const std::wstring kField =
    L"001002003004005006007008009010011012013014015" L"12345" L"678";
const std::wstring kPieces =
    L"001~002~003~004~005~006~007~008~009~010~011~012~013~014~015~" L"12345~" L"678~";

struct Record800Case {
    const char* name;
    std::wstring head;
    std::wstring line;
    std::wstring value;     // in the tree
    std::wstring exported;  // the line written back
};

TEST(VdiRecord800Test, FieldIsSplitIntoPiecesAndJoinedBack) {
    const Record800Case cases[] = {
        {"full field", kHead3, L"800;7;" + kField + L";", L"7:" + kPieces + L":", L"800;7;" + kField + L";"},
        {"fields after it", kHead3, L"800;7;" + kField + L";x;y;", L"7:" + kPieces + L":x:y:",
         L"800;7;" + kField + L";x;y;"},
        {"part 6 has one more piece, the rest follows it", kHead6, L"800;7;" + kField + L"ABCDE;x;",
         L"7:" + kPieces + L"ABCDE~:x:", L"800;7;" + kField + L"ABCDE;x;"},
        {"a colon in the first field", kHead3, L"800;7:1;" + kField + L";", L"7\u00AE1:" + kPieces + L":",
         L"800;7:1;" + kField + L";"},
        // Values shorter than the field give short and empty pieces.
        {"short field", kHead3, L"800;7;ABCDEFG;",
         L"7:ABC~DEF~G:~~~~~~~~~~~~~~~", L"800;7;ABCDEFG;"},
        {"short field, part 6", kHead6, L"800;7;AB",
         L"7:AB~~~~~~~~~~~~~~~~~~", L"800;7;AB;"},
        {"empty field", kHead3, L"800;7;", L"7:~~~~~~~~~~~~~~~~~", L"800;7;"},
        // A real registered sign is one character of the field.
        {"a real sign in the field", kHead3, L"800;7;\u00AE" + kField.substr(1) + L";",
         L"7:\u00AE;01~" + kPieces.substr(4) + L":", L"800;7;\u00AE" + kField.substr(1) + L";"},
        {"no second field", kHead3, L"800;7", L"7", L"800;7;"},
        {"empty record", kHead3, L"800", L"", L"800;;"},
        // What the import read comes back whole: an empty last field, and
        // the last character of a line without closing separator.
        {"empty last field", kHead3, L"800;7;" + kField + L";x;;", L"7:" + kPieces + L":x::",
         L"800;7;" + kField + L";x;;"},
        {"no closing separator", kHead3, L"800;7;" + kField + L";xyz", L"7:" + kPieces + L":xyz",
         L"800;7;" + kField + L";xyz;"},
    };
    for (const Record800Case& c : cases) {
        SCOPED_TRACE(c.name);
        Imported imported = Import(Vdi({c.head, kProduct, kArticle, c.line}));
        ASSERT_NE(imported.root, nullptr);
        const CNode* record = imported.root->GetChild(0)->GetChild(0)->GetChild(0)->GetChild(0)->GetChild(0);
        ASSERT_NE(record, nullptr);
        ASSERT_EQ(record->GetName(), L"800");
        EXPECT_EQ(RawValue(*record), c.value);

        const std::wstring exported = Export(*imported.root);
        const std::wstring expected = Vdi({c.head, kProduct, kArticle, c.exported});
        EXPECT_EQ(exported, expected);
        EXPECT_EQ(Export(*imported.root), exported);  // the tree is not changed
        // Importing the export gives the same value again.
        Imported again = Import(exported);
        ASSERT_NE(again.root, nullptr);
        EXPECT_EQ(Export(*again.root), exported);
    }
}

TEST(VdiExportTest, WritesRecordsDepthFirst) {
    CNode root(L"010");
    root.AddLeaf(L"<>", L"3:x\u00AEy", true);
    CNode* group = root.AddChild(L"GRUPPE 970");
    CNode* record = group->AddChild(L"970");
    record->AddLeaf(L"<>", L"a:", true);
    CNode* named = record->AddChild(L"GRUPPE 970.02")->AddChild(L"970.02 ABC");
    named->AddLeaf(L"<>", L"1:2:ABC", true);
    named->AddChild(L"970.41");                    // no leaf: an empty value
    group->AddChild(L" 5 leading space");          // a space first: the whole name is the type
    CNode* notes = root.AddChild(L"Notiz");
    notes->AddChild(L"900")->AddLeaf(L"<>", L"a\\;b:", true);
    // A closing separator after a backslash would read back as "\;" inside
    // the field: the line ends without it.
    notes->AddChild(L"960")->AddLeaf(L"<>", L"C\u00AE\\Daten\\", true);

    EXPECT_EQ(Export(root), Vdi({L"010;3;x:y;", L"970;a;", L"970.02;1;2;ABC;", L"970.41;;",
                                 L" 5 leading space;;", L"900;a\\;b;", L"960;C:\\Daten\\"}));
    EXPECT_EQ(Export(CNode(L"GRUPPE 1")), L"");
}

TEST(VdiExportTest, DeepTreesDoNotRecurse) {
    CNode root(L"010");
    CNode* node = &root;
    for (int i = 0; i < 200000; ++i) node = node->AddChild(L"GRUPPE");
    node->AddChild(L"900")->AddLeaf(L"<>", L"deep:", true);
    EXPECT_EQ(Export(root), Vdi({L"010;;", L"900;deep;"}));
}

TEST(VdiExportTest, ProblemNamesWhatTheExportWouldLose) {
    const std::wstring longName(100, L'N');
    struct Case {
        const char* name;
        std::function<void(CNode& root)> build;  // on a root named 010 with its fields
        std::wstring problem;                     // part of the reason; "" for none
    } cases[] = {
        {"records and groups", [](CNode& root) {
             CNode* record = root.AddChild(L"GRUPPE 100")->AddChild(L"100");
             record->AddLeaf(L"<>", L"1:Muster", true);
             record->AddChild(L"Notiz")->AddChild(L"900");  // nodes without leaves lose nothing
         }, L""},
        {"not a record 010", [](CNode& root) { root.SetName(L"Einstellungen"); },
         L"the root node 'Einstellungen' is not the record 010"},
        {"a record 10 is not one", [](CNode& root) { root.SetName(L"10"); }, L"is not the record 010"},
        {"a node with leaves that is no record", [](CNode& root) {
             root.AddChild(L"Fenster")->AddLeaf(L"Breite", L"800", true);
         }, L"the node 'Fenster' holds leaves but its name is no record type"},
        {"a record with two leaves", [](CNode& root) {
             CNode* record = root.AddChild(L"100");
             record->AddLeaf(L"<>", L"1", true);
             record->AddLeaf(L"Notiz", L"x", true);
         }, L"the record '100' holds 2 leaves"},
        {"a long name is cut", [&longName](CNode& root) {
             root.AddChild(longName.c_str())->AddLeaf(L"k", L"v", true);
         }, L"'" + longName.substr(0, 40) + L"...' holds leaves"},
        {"found at any depth", [](CNode& root) {
             CNode* node = &root;
             for (int i = 0; i < 200000; ++i) node = node->AddChild(L"GRUPPE");
             node->AddLeaf(L"k", L"v", true);
         }, L"the node 'GRUPPE' holds leaves"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CNode root(L"010");
        root.AddLeaf(L"<>", L"3", true);
        c.build(root);
        const CString problem = qx::VdiExportProblem(root);
        if (c.problem.empty()) {
            EXPECT_EQ(problem, L"");
        } else {
            EXPECT_NE(problem.str().find(c.problem), std::wstring::npos) << qx::WideToUtf8(problem.str());
        }
    }
    Imported imported = Import(Vdi({kHead3, L"100;1;Muster GmbH;", L"110;1;HK-22;", L"200;1;600;"}));
    ASSERT_NE(imported.root, nullptr);
    EXPECT_EQ(qx::VdiExportProblem(*imported.root), L"");
}

TEST(VdiRoundTripTest, ImportExportImport) {
    const std::wstring text = Vdi({
        kHead3, L"100;1;Muster GmbH;Musterstr. 1;12345 Musterstadt;",
        L"110;1;HK-22;Flachheizk\u00F6rper Typ 22;", L"200;1;600;",
        L"250;1;0,5:1,0;", L"200;2;900;", L"250;2;a\\;b;", L"700;1;", L"710.01;1;", L"710.11;x;",
        L"710.02;2;", L"710.21;a;", L"710.22;b;", L"800;1;" + kField + L";Anschluss;;",
        L"810;2;", L"900;1;", L"920;2;", L"970;1;", L"970.02;1;2;ABC;", L"970.41;1;",
        L"970.03;1;2;;", L"970.41;2;", L"970.03;1;2;C:\\Daten\\",
    });
    Imported first = Import(text);
    ASSERT_NE(first.root, nullptr);
    EXPECT_TRUE(first.messages.empty());
    const std::wstring exported = Export(*first.root);
    EXPECT_EQ(exported, text);

    Imported second = Import(exported);
    ASSERT_NE(second.root, nullptr);
    EXPECT_EQ(Outline(second.root.get()), Outline(first.root.get()));
    EXPECT_EQ(Export(*second.root), exported);
}

TEST(VdiOutcomeTest, TellsWhereAndWhyReadingStopped) {
    const struct {
        const char* name;
        std::wstring text;
        bool keepUnknown;
        Stop stop;
        size_t line;
        std::wstring type;
        std::wstring parent;
        bool hasRoot;
    } cases[] = {
        {"complete", Vdi({kHead3, kProduct, kArticle, L"200;a;"}), false, Stop::kNone, 0, L"", L"", true},
        {"white space and the end-of-file mark after the last record", Vdi({kHead3, L"900;a;"}) + L" \t\r\n\x1A\r\n",
         false, Stop::kNone, 0, L"", L"", true},
        {"not a VDI text: the line of its first character", L"\r\n\n  100;1;\r\n", false, Stop::kNotVdi, 3, L"", L"",
         false},
        {"a type outside the table", Vdi({kHead3, L"900;a;", L"740;x;"}), false, Stop::kUnknownType, 3, L"740", L"",
         true},
        {"part 22: 710.09 is outside the table", Vdi({L"010;22;", kProduct, kArticle, L"700;a;", L"710.09;b;"}), false,
         Stop::kUnknownType, 5, L"710.09", L"", true},
        {"a missing parent", Vdi({kHead3, kProduct, kArticle, L"250;orphan;"}), false, Stop::kMissingParent, 4,
         L"250", L"200", true},
        {"970.41 goes below any of four types", Vdi({kHead3, L"970;a;", L"970.41;x;"}), false, Stop::kMissingParent,
         3, L"970.41", L"970.02/970.03/970.05/970.06", true},
        {"a second 010", Vdi({kHead3, L"900;a;", kHead3}), false, Stop::kSecondRoot, 3, L"010", L"", true},
        {"a type that is no number", Vdi({kHead3, L"x;y;", L"900;b;"}), false, Stop::kNoRecordType, 2, L"x", L"",
         true},
        {"a line of spaces before more records", Vdi({kHead3, L"  ", L"900;b;"}), false, Stop::kNoRecordType, 2,
         L"  ", L"", true},
        {"lines end in LF, CR LF or a lone CR; empty lines count", L"010;3;\n900;a;\r\n\r\n960;b;\r999;c;\r\n",
         false, Stop::kUnknownType, 5, L"999", L"", true},
        {"the type as the file holds it", Vdi({kHead3, L"9:9\u00AE\\;x;y;"}), false, Stop::kUnknownType, 2,
         L"9:9\u00AE\\;x", L"", true},
        {"kept: complete", Vdi({kHead3, L"740;x;", L"900;a;", L"740;x;"}), true, Stop::kNone, 0, L"", L"", true},
        {"kept: a type with a space is not", Vdi({kHead3, L"900;a;", L"740 x;y;"}), true, Stop::kTypeNotKept, 3,
         L"740 x", L"", true},
        {"kept: nor one ending in a backslash", Vdi({kHead3, L"900;a;", L"740\\"}), true, Stop::kTypeNotKept, 3,
         L"740\\", L"", true},
        {"kept: the first record has nothing to go below", L"010x;3;\r\n", true, Stop::kUnknownType, 1, L"010x",
         L"", false},
        {"kept: the table's records still need their parents", Vdi({kHead3, L"740;x;", L"250;y;"}), true,
         Stop::kMissingParent, 3, L"250", L"200", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Outcome imported = ImportWithOutcome(c.text, c.keepUnknown);
        EXPECT_EQ(imported.outcome.stop, c.stop);
        EXPECT_EQ(imported.outcome.Complete(), c.stop == Stop::kNone);
        EXPECT_EQ(imported.outcome.line, c.line);
        EXPECT_EQ(imported.outcome.type, c.type);
        EXPECT_EQ(imported.outcome.parent, c.parent);
        EXPECT_EQ(imported.root != nullptr, c.hasRoot);
        EXPECT_EQ(imported.messages, 0u);  // the caller reports the outcome
        // The family's import gives the same tree.
        if (!c.keepUnknown) {
            EXPECT_EQ(Outline(Import(c.text).root.get()), Outline(imported.root.get()));
        }
    }
    qx::VdiImportOutcome outcome;
    EXPECT_EQ(qx::ImportVdi(nullptr, qx::VdiImportOptions(), outcome), nullptr);
    EXPECT_EQ(outcome.stop, Stop::kNotVdi);
}

qx::VdiImportOutcome Stopped(Stop stop, size_t line, std::wstring type = L"", std::wstring parent = L"",
                             int partNumber = 0) {
    qx::VdiImportOutcome outcome;
    outcome.stop = stop;
    outcome.line = line;
    outcome.type = std::move(type);
    outcome.parent = std::move(parent);
    outcome.partNumber = partNumber;
    return outcome;
}

TEST(VdiOutcomeTest, DescribesTheOutcomeInOneLine) {
    const struct {
        qx::VdiImportOutcome outcome;
        std::wstring text;
    } cases[] = {
        {{}, L"import complete"},
        {Stopped(Stop::kUnknownType, 12, L"740", L"", 3),
         L"import stopped at line 12: record type 740 is outside the placement table of part 3"},
        {Stopped(Stop::kMissingParent, 7, L"710.11", L"710.01"),
         L"import stopped at line 7: record type 710.11 has no record 710.01 to go below"},
        {Stopped(Stop::kSecondRoot, 3, L"010"), L"import stopped at line 3: a second record 010"},
        {Stopped(Stop::kNoRecordType, 2, L"x"), L"import stopped at line 2: record type x is no number"},
        {Stopped(Stop::kNoRecordType, 2), L"import stopped at line 2: the line has no record type"},
        {Stopped(Stop::kTypeNotKept, 4, L"740 x"),
         L"import stopped at line 4: record type 740 x cannot be kept (it holds a space or ends in a backslash)"},
        {Stopped(Stop::kNotVdi, 1), L"not a VDI file: it does not begin with the record 010"},
        {Stopped(Stop::kUnreadable, 0), L"the file cannot be read"},
        // Record types are shortened to 40 characters and show no control
        // characters.
        {Stopped(Stop::kUnknownType, 2, L"9" + std::wstring(99, L'A'), L"", 3),
         L"import stopped at line 2: record type 9" + std::wstring(39, L'A') +
             L"... is outside the placement table of part 3"},
        {Stopped(Stop::kUnknownType, 2, L"74\x1B[2J\u0085", L"", 3),
         L"import stopped at line 2: record type 74?[2J? is outside the placement table of part 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(qx::DescribeVdiImportOutcome(c.outcome), c.text);
    }
}

TEST(VdiKeepUnknownTest, KeepsRunsOfOneTypeBelowTheRecordPlacedBeforeThem) {
    const std::wstring text = Vdi({kHead3, kProduct, kArticle, L"700;a;", L"740;1;", L"740;2;", L"741;3:x;",
                                   L"740;4;", L"710.01;b;", L"740;5;", L"700;c;", L"740;6;", L"900;d;"});
    Outcome imported = ImportWithOutcome(text, true);
    ASSERT_TRUE(imported.outcome.Complete());
    EXPECT_EQ(Outline(imported.root.get()),
              (std::vector<std::wstring>{L"010", L" GRUPPE 100", L"  100", L"   110", L"    GRUPPE 700", L"     700",
                                         L"      GRUPPE 740", L"       740", L"       740", L"      GRUPPE 741",
                                         L"       741", L"      GRUPPE 740", L"       740", L"      GRUPPE 710.01",
                                         L"       710.01", L"        GRUPPE 740", L"         740", L"     700",
                                         L"      GRUPPE 740", L"       740", L" GRUPPE 900", L"  900"}));
    const CNode* kept = imported.root->GetChild(0)->GetChild(0)->GetChild(0)->GetChild(0)->GetChild(0)->GetChild(1)->GetChild(0);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->GetName(), L"741");
    EXPECT_EQ(RawValue(*kept), L"3\u00AEx:");
    EXPECT_EQ(Export(*imported.root), text);

    Outcome again = ImportWithOutcome(Export(*imported.root), true);
    EXPECT_EQ(Outline(again.root.get()), Outline(imported.root.get()));
}

// Catalogues of parts 3, 20 and 22 (tests/data/vdi) hold record types the
// placement table does not know: 740 and 710.09/710.10.
TEST(VdiCatalogueTest, ModernCataloguesImportWholeWhenRecordsOutsideTheTableAreKept) {
    const struct {
        const char* file;
        int part;
        size_t stopLine;
        std::wstring stopType;
    } cases[] = {
        {"valves.vdi", 3, 11, L"740"},
        {"pipes.vdi", 20, 8, L"740"},
        {"heat_pumps.vdi", 22, 6, L"710.09"},
    };
    qx::test::TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string file = std::string(QX_TEST_DATA_DIR) + "/vdi/" + c.file;
        const std::wstring path(file.begin(), file.end());
        qx::VdiImportOutcome outcome;
        std::unique_ptr<CNode> cut(qx::ReadVdiFile(path.c_str(), false, 0, qx::VdiImportOptions(), outcome));
        ASSERT_NE(cut, nullptr);
        EXPECT_EQ(outcome.stop, Stop::kUnknownType);
        EXPECT_EQ(outcome.line, c.stopLine);
        EXPECT_EQ(outcome.type, c.stopType);
        EXPECT_EQ(outcome.partNumber, c.part);

        qx::VdiImportOptions keep;
        keep.keepUnknownRecords = true;
        std::unique_ptr<CNode> whole(qx::ReadVdiFile(path.c_str(), false, 0, keep, outcome));
        ASSERT_NE(whole, nullptr);
        EXPECT_TRUE(outcome.Complete()) << qx::DescribeVdiImportOutcome(outcome);
        const std::wstring copy = dir.Wide(c.file);
        ASSERT_TRUE(whole->WriteToFile(copy.c_str(), false, true, false, 1252));
        EXPECT_EQ(qx::test::ReadBytes(dir.path() / c.file), qx::test::ReadBytes(file));
    }
    qx::VdiImportOutcome outcome;
    EXPECT_EQ(qx::ReadVdiFile(dir.Wide("missing.vdi").c_str(), false, 0, qx::VdiImportOptions(), outcome), nullptr);
    EXPECT_EQ(outcome.stop, Stop::kUnreadable);
}

// Names and values of a tree, depth first: what two imports must agree on.
void AppendContents(const CNode& node, std::vector<std::wstring>& out) {
    out.push_back(L"[" + node.GetName().str());
    for (unsigned i = 0; i < node.NrOfLeaves(); ++i) {
        out.push_back(node.GetLeaf(i)->GetName().str() + L"=" + node.GetLeaf(i)->GetRawData().str());
    }
    for (unsigned i = 0; i < node.NrOfChildren(); ++i) AppendContents(*node.GetChild(i), out);
}

std::vector<std::wstring> Contents(const CNode* root) {
    std::vector<std::wstring> out;
    if (root) AppendContents(*root, out);
    return out;
}

// A file is imported from its bytes, widening one line at a time; the tree
// and the outcome are those of the import of the whole decoded text, for
// every form a file comes in and wherever reading stops.
TEST(VdiFileTest, BytesImportAsTheirDecodedText) {
    // Umlauts, a colon and a real registered sign (0xAE) in fields, an
    // escaped semicolon, a 970.02 named after its third value, a carriage
    // return alone, the end-of-file mark.
    const std::string lines1252 =
        "010;3;20240101;\r\n100;1;M\xFCller: Heizk\xF6rper \xAE;\r\n110;1;4711\\;A;\r\n200;1;x;\r"
        "250;1;2;\n800;1;0010020000000030010000000020000000010000000120050001;Rest;\r\n"
        "970;1;Dokumente;\r\n970.02;1;PDF;Anleitung \xE4;a.pdf;\r\n970.41;1;de;\r\n\r\n\x1A";
    const struct {
        const char* name;
        std::string bytes;
        unsigned codePage;
    } cases[] = {
        {"code page 1252", lines1252, 1252},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + qx::WideToUtf8(qx::DecodeText(lines1252, 1252)), 1252},
        {"UTF-16 with its mark", qx::EncodeUtf16WithMark(qx::DecodeText(lines1252, 1252)), 1252},
        {"broken UTF-8", "\xEF\xBB\xBF\x30\x31\x30;3;\r\n100;1;\xC3;\xE2\x82;\xF0\r\n110;\x80\x80;\r\n", 1252},
        // 0xEC of 1258 is a combining acute accent: the text is composed whole.
        {"code page 1258 with a composing byte", "010;3;\r\n100;1;Cafe\xEC;\r\n110;1;x;\r\n", 1258},
        {"white space and lines before the header", "\r\n \xA0\t\r\r\n010;3;\r\n100;1;x;\r\n", 1252},
        {"a zero ends the text", std::string("010;3;\r\n100;1;x;\r\n11", 20) + std::string(1, '\0') + "0;1;", 1252},
        {"not a VDI text", "\r\n\r\n020;3;\r\n", 1252},
        {"a type outside the table", "010;3;\r\n\r100;1;x;\n110;1;y;\r\n740;1;z;\r\n", 1252},
        {"a missing parent", "010;3;\r\n250;1;x;\r\n", 1252},
        {"a line without a type", "010;3;\r\n100;1;x;\r\nabc;1;\r\n", 1252},
        {"a header without fields", "010", 1252},
    };
    qx::test::TempDir dir;
    const std::wstring path = dir.Wide("catalogue.vdi");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        qx::test::WriteBytes(dir.path() / "catalogue.vdi", c.bytes);
        const std::wstring text = qx::DecodeText(c.bytes, c.codePage);
        for (bool keep : {false, true}) {
            qx::VdiImportOptions options;
            options.keepUnknownRecords = keep;
            qx::VdiImportOutcome fromText;
            std::unique_ptr<CNode> expected(qx::ImportVdi(text.c_str(), options, fromText));
            qx::VdiImportOutcome fromFile;
            std::unique_ptr<CNode> read(qx::ReadVdiFile(path.c_str(), false, c.codePage, options, fromFile));
            EXPECT_EQ(Contents(read.get()), Contents(expected.get()));
            EXPECT_EQ(fromFile.stop, fromText.stop);
            EXPECT_EQ(fromFile.line, fromText.line);
            EXPECT_EQ(fromFile.type, fromText.type);
            EXPECT_EQ(fromFile.parent, fromText.parent);
            EXPECT_EQ(fromFile.partNumber, fromText.partNumber);
        }
        Imported family = Import(text);
        size_t messages = 0;
        qx::ScopedMessageHandler count([&messages](const wchar_t*, const wchar_t*, unsigned) {
            ++messages;
            return IDOK;
        });
        std::unique_ptr<CNode> read(CNode::ReadFromFile(path.c_str(), false, L':', nullptr, c.codePage));
        EXPECT_EQ(Contents(read.get()), Contents(family.root.get()));
        EXPECT_EQ(messages, family.messages.size());
    }
}

}  // namespace
