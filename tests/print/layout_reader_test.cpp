#include "qx/print/layout_reader.h"

#include <gtest/gtest.h>

#include "qx/platform/base/exceptions.h"
#include "qx/print/prx_scramble.h"
#include "tests/print/print_fixture.h"

namespace qx {
namespace {

class LayoutReaderTest : public test::PrintTest {
protected:
    // Loads section *start* of a layout made of *lines*.
    int Load(const std::vector<std::wstring>& lines, int start = 0, const std::string& name = "layout.txt") {
        EXPECT_TRUE(file_.Set(WriteLines(name, lines)));
        return LoadSection(state_, file_, start);
    }
    std::vector<std::wstring> ObjectNames(size_t part) const {
        std::vector<std::wstring> names;
        for (const auto& o : state_.parts.at(part).objects) names.push_back(o->name.str());
        return names;
    }

    LayoutFile file_;
    LayoutState state_;
};

TEST_F(LayoutReaderTest, WithoutFramesEveryObjectGoesToTheOnePart) {
    const int next = Load({L"VER(2.0)", L"DOC(2100,0)", test::TextObject(L"early", 0), L"PAG(Main,1)",
                           test::TextObject(L"b", 30), test::TextObject(L"a", 10)});
    EXPECT_EQ(next, 5) << "the file ended at its last line";
    ASSERT_EQ(state_.parts.size(), 1u);
    EXPECT_EQ(ObjectNames(0), (std::vector<std::wstring>{L"b", L"a"})) << "objects before PAG are ignored";
    EXPECT_EQ(state_.pageMode, 1);
    EXPECT_FALSE(state_.continueSection);
}

TEST_F(LayoutReaderTest, CommentsShortLinesAndUnknownKeywordsAreSkipped) {
    Load({L"PAG(Main,0,1)", L";" + test::TextObject(L"commented", 0), L"OB(", L"obj(x)", L"XYZ(1,2)",
          test::TextObject(L"kept", 0)});
    EXPECT_EQ(ObjectNames(0), (std::vector<std::wstring>{L"kept"}));
    EXPECT_TRUE(state_.continueSection);
    EXPECT_EQ(state_.pageMode, 0);
}

TEST_F(LayoutReaderTest, FramesOpenPartsSortedByTopAndPairedIntoLevels) {
    Load({L"PAG(Main,1)", L"FRM(Kopf,100,0)", test::TextObject(L"k2", 50), test::TextObject(L"k1", 5),
          L"FRM(G1<*K*>x,20,1,1)", test::TextObject(L"g", 0), L"FRM(G2,20,0)", L"FRM(F2,20,0)",
          L"FRM(F1,20,0)", L"FRM(Fuss,50,0)", test::TextObject(L"f2", 40), test::TextObject(L"f1", 0)});
    ASSERT_EQ(state_.parts.size(), 6u);
    EXPECT_EQ(ObjectNames(0), (std::vector<std::wstring>{L"k1", L"k2"}));
    EXPECT_EQ(ObjectNames(5), (std::vector<std::wstring>{L"f2", L"f1"})) << "the last part is left in file order";
    const CPagePart& group = state_.parts[1];
    EXPECT_EQ(group.name, L"G1,x");
    EXPECT_EQ(group.height, 20);
    EXPECT_EQ(group.repeat, 1);
    EXPECT_EQ(group.splittable, 1);
    EXPECT_EQ(state_.parts[2].splittable, 0);
    std::vector<int> levels;
    for (const CPagePart& p : state_.parts) levels.push_back(p.level);
    EXPECT_EQ(levels, (std::vector<int>{0, 1, 2, 2, 1, 0}));
}

TEST_F(LayoutReaderTest, DocScalesToThePage) {
    SharedPageGeometry().width = 10930;
    Load({L"DOC(2100,0)", L"PAG(Main,0)", L"FRM(Kopf,100,0)",
          L"OBJ(2,,,1,100,0,0,200,0,0,300,400,0,0,0,0,0,0,0,0,7,r,0,0,0,255,255,255)"});
    EXPECT_EQ(state_.pageHeight, 15458);
    const double scale = std::min(10930.0 / 2100, 15458.0 / (kPageRatio * 2100));
    EXPECT_DOUBLE_EQ(state_.scale, scale);
    EXPECT_EQ(state_.parts[0].height, static_cast<int>(100 * scale));
    const PRINTOBJ& o = *state_.parts[0].objects[0];
    EXPECT_EQ(o.left, static_cast<int>(100 * scale));
    EXPECT_EQ(o.bottom, static_cast<int>(200 * scale) + static_cast<int>(400 * scale));
    EXPECT_EQ(o.outlineWidth, static_cast<int>(1 * scale));
    EXPECT_EQ(o.cornerSize, static_cast<int>(7 * scale));
    EXPECT_EQ(SharedPageGeometry().width, 10930) << "a known page width stays";
}

TEST_F(LayoutReaderTest, DocSetsAnUnknownPageWidthAndLandscape) {
    Load({L"DOC(2970,1)", L"PAG(Main,0)"});
    EXPECT_EQ(SharedPageGeometry().width, 2970);
    EXPECT_TRUE(SharedPageGeometry().landscape);
    EXPECT_EQ(state_.pageHeight, static_cast<int>(2970 / kPageRatio));
    EXPECT_DOUBLE_EQ(state_.scale, 1.0) << "never below 1";

    // A layout of no width cannot scale; a hostile width does not overflow.
    ResetPageGeometry();
    Load({L"DOC(0,0)", L"PAG(Main,0)"});
    EXPECT_DOUBLE_EQ(state_.scale, 1.0);
    ResetPageGeometry();
    Load({L"DOC(2147483647,0)", L"PAG(Main,0)"});
    EXPECT_EQ(state_.pageHeight, INT_MAX);
    // Records with the wrong number of fields are ignored.
    Load({L"DOC(5000)", L"DOC(5000,1,2)", L"PAG(Main,0)"});
    EXPECT_EQ(SharedPageGeometry().width, INT_MAX);
    EXPECT_FALSE(SharedPageGeometry().landscape);
}

TEST_F(LayoutReaderTest, SectionsFollowOneAnother) {
    const std::vector<std::wstring> lines = {
        L"VER(2.0)", L"PAG(One,0)", test::TextObject(L"one", 0), L"PAG(Two,1,1)", test::TextObject(L"two", 0),
        L"PAG(%EOF,0)", L"PAG(Three,0)", test::TextObject(L"three", 0)};
    EXPECT_EQ(Load(lines), 3);
    EXPECT_EQ(ObjectNames(0), (std::vector<std::wstring>{L"one"}));
    EXPECT_EQ(Load(lines, 3), 5);
    EXPECT_EQ(ObjectNames(0), (std::vector<std::wstring>{L"two"}));
    EXPECT_TRUE(state_.continueSection);
    EXPECT_EQ(Load(lines, 5), 0) << "%EOF ends the file";
}

TEST_F(LayoutReaderTest, OldVersionsAreRejected) {
    EXPECT_EQ(Load({L"PAG(One,0)", test::TextObject(L"one", 0), L"VER(1.9)", test::TextObject(L"two", 0)}), 0);
    EXPECT_TRUE(state_.parts.empty()) << "no page is made";
    EXPECT_EQ(Load({L"VER(2)", L"VER(1.0,extra)", L"PAG(One,0)", test::TextObject(L"one", 0)}), 3);
    EXPECT_EQ(state_.parts.size(), 1u);
}

TEST_F(LayoutReaderTest, SumsAndPageWraps) {
    Load({L"PAG(Main,1)", L"FRM(Body,10,0)", test::TextObject(L"SUM(Gewicht;2)", 0),
          test::TextObject(L"SUM(Preis)", 0), test::TextObject(L"SUM(a;b;3)", 0), test::TextObject(L"XSUM(q;1)", 0),
          L"FRM(Break,10,0)", test::TextObject(L"PAGE_WRAP", 0)});
    ASSERT_EQ(state_.sums.size(), 3u);
    EXPECT_EQ(state_.sums[0].key, L"Gewicht");
    EXPECT_EQ(state_.sums[0].decimals, 2);
    EXPECT_EQ(state_.sums[0].total, 0.0);
    EXPECT_EQ(state_.sums[1].key, L"Preis");
    EXPECT_EQ(state_.sums[1].decimals, 0);
    EXPECT_EQ(state_.sums[2].key, L"a");
    EXPECT_EQ(state_.sums[2].decimals, 0);
    EXPECT_EQ(state_.parts[0].hasPageWrap, 0);
    EXPECT_EQ(state_.parts[1].hasPageWrap, 1);
}

TEST_F(LayoutReaderTest, AShortObjectRecordThrows) {
    EXPECT_THROW(Load({L"PAG(Main,0)", L"OBJ(0,a,b,1)"}), CInvalidArgException);
    EXPECT_EQ(Load({L"OBJ(0,a,b,1)", L"PAG(Main,0)"}), 1) << "not read before the first PAG";
}

TEST_F(LayoutReaderTest, ScrambledLayoutsAreUnscrambledLineByLine) {
    std::vector<std::wstring> lines = {L"VER(2.0)", L"PAG(Main,1)", test::TextObject(L"Gr\u00FC\u00DFe", 10)};
    for (std::wstring& line : lines) line = ScrambleLine(line);
    EXPECT_EQ(Load(lines, 0, "layout.PRX"), 2);
    EXPECT_TRUE(file_.scrambled);
    EXPECT_EQ(ObjectNames(0), (std::vector<std::wstring>{L"Gr\u00FC\u00DFe"}));
}

TEST_F(LayoutReaderTest, SettingTheFile) {
    LayoutFile file;
    const std::wstring plain = WriteLines("a.txt", {L"PAG(x,0)"});
    EXPECT_TRUE(file.Set(plain));
    EXPECT_FALSE(file.scrambled);
    EXPECT_EQ(file.folder, Folder());
    EXPECT_FALSE(file.Set(L"C:\\no\\such\\layout.prx"));
    EXPECT_EQ(file.path, plain) << "the previous path stays";
    EXPECT_EQ(file.folder, L"C:\\no\\such\\") << "the folder follows the argument";
    EXPECT_FALSE(file.Set(L"nothing"));
    EXPECT_EQ(file.folder, L"");

    LayoutState state;
    EXPECT_EQ(LoadSection(state, LayoutFile{}, 0), 0) << "no layout";
    EXPECT_TRUE(state.parts.empty());
}

}  // namespace
}  // namespace qx
