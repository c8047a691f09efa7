// Composition, rendering and text output of the whole engine, on small
// layouts written in the test and data built in code. Without an engine
// context the page takes the layout's DOC width: DOC(2100,0) gives a page of
// 2100 x 2970 engine units at scale 1, so positions read straight off.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "qx/platform/base/format.h"
#include "qx/platform/gfx/targets.h"
#include "qx/print/page_file_reader.h"
#include "qx/print/print_engine.h"
#include "qx/print/prx_scramble.h"
#include "qx/text/str_util.h"
#include "tests/print/print_fixture.h"

namespace qx::test {
namespace {

constexpr int kPageHeight = 2970;

// A FRM record and its objects.
std::vector<std::wstring> Part(const std::wstring& part, int height, int repeat, int splittable,
                               std::vector<std::wstring> objects) {
    std::vector<std::wstring> lines{Format(L"FRM(%s,%d,%d,%d)", part.c_str(), height, repeat, splittable)};
    lines.insert(lines.end(), objects.begin(), objects.end());
    return lines;
}

std::vector<std::wstring> Join(std::initializer_list<std::vector<std::wstring>> pieces) {
    std::vector<std::wstring> lines;
    for (const auto& piece : pieces) lines.insert(lines.end(), piece.begin(), piece.end());
    return lines;
}

std::vector<std::wstring> Head(int mode, int continueFlag = 0) {
    return {L"VER(2.0)", L"DOC(2100,0)", Format(L"PAG(S,%d,%d)", mode, continueFlag)};
}

class PrintEngineTest : public PrintTest {
protected:
    PrintEngineTest() {
        const char* old = std::getenv("TMPDIR");
        oldTmp_ = old ? old : "";
        hadTmp_ = old != nullptr;
        std::filesystem::create_directories(dir_.path() / "tmp");
        setenv("TMPDIR", (dir_.path() / "tmp").c_str(), 1);
        engine_.reset(CPrintEngine::newInstance());
    }
    ~PrintEngineTest() override {
        engine_.reset();
        if (hadTmp_) {
            setenv("TMPDIR", oldTmp_.c_str(), 1);
        } else {
            unsetenv("TMPDIR");
        }
    }

    // Composes *layout* with *data* and reads back every page file.
    std::vector<LoadedPage> Compose(const std::vector<std::wstring>& layout, CDataTree& data) {
        EXPECT_EQ(engine_->SetMaskFilePath(WriteLines("layout.msk", layout).c_str()), 1);
        engine_->SetDataPtr(&data);
        composed_ = engine_->WriteTempFile(0);
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(dir_.path() / "tmp")) files.push_back(entry.path());
        // Files are numbered upwards (".qx-<pid>-<n>.tmp"): order by number.
        const auto number = [](const std::filesystem::path& file) {
            const std::string stem = file.stem().string();
            return std::stoull(stem.substr(stem.rfind('-') + 1));
        };
        std::sort(files.begin(), files.end(), [&](const auto& a, const auto& b) { return number(a) < number(b); });
        std::vector<LoadedPage> pages;
        for (const auto& file : files) pages.push_back(ReadPageFile(file.wstring().c_str(), L""));
        EXPECT_EQ(static_cast<int>(pages.size()), engine_->GetPageCount());
        return pages;
    }

    static const PRINTOBJ* Find(const LoadedPage& page, const std::wstring& text) {
        for (const auto& object : page.objects) {
            if (object->text.str() == text) return object.get();
        }
        return nullptr;
    }

    static CDataTree* AddRecord(CDataTree& parent, const std::wstring& name, const std::wstring& value) {
        CDataTree* child = parent.AddChild();
        child->AddValue(name.c_str(), value.c_str());
        return child;
    }

    std::unique_ptr<CPrintEngine> engine_;
    int composed_ = 0;  // what the last Compose's WriteTempFile returned
    std::string oldTmp_;
    bool hadTmp_ = false;
};

TEST_F(PrintEngineTest, SectionsTakeTheRecordsInOrderUntilEof) {
    CDataTree data;
    for (const wchar_t* value : {L"one", L"two", L"three"}) AddRecord(data, L"V", value);
    const auto pages = Compose({L"VER(2.0)", L"DOC(2100,0)", L"PAG(A,0)", TextObject(L"V", 0), L"PAG(B,0)",
                                TextObject(L"V", 50), L"PAG(%EOF,0)", L"PAG(C,0)", TextObject(L"V", 90)},
                               data);
    ASSERT_EQ(pages.size(), 2u);
    ASSERT_NE(Find(pages[0], L"one"), nullptr);
    EXPECT_EQ(Find(pages[1], L"two")->top, 50);
    EXPECT_EQ(pages[1].number, L"2");
}

// Three data levels: a list, groups of items; a group is kept together
// unless it starts the page.
TEST_F(PrintEngineTest, GroupThatDoesNotFitMovesToTheNextPage) {
    const auto layout = Join({Head(1), Part(L"Head", 100, 0, 0, {TextObject(L"H", 0, 100)}),
                              Part(L"List", 100, 0, 0, {TextObject(L"L", 0, 100)}),
                              Part(L"Group", 200, 0, 0, {TextObject(L"G", 0, 200)}),
                              Part(L"Item", 500, 0, 0, {TextObject(L"I", 0, 500)}), Part(L"ItemEnd", 0, 0, 0, {}),
                              Part(L"GroupEnd", 0, 0, 0, {}), Part(L"ListEnd", 0, 0, 0, {}),
                              Part(L"Foot", 100, 0, 0, {TextObject(L"F", 0, 100)})});
    CDataTree data;
    CDataTree* record = AddRecord(data, L"F", L"F");
    CDataTree* list = AddRecord(*record, L"L", L"list");
    // A: 200 + 4 x 500 fits after the list header; B: 200 + 2 x 500 does not
    // fit in the 470 left; C: 200 + 6 x 500 is larger than a page and starts
    // on the page it comes to.
    for (auto [group, items] : {std::pair{L"A", 4}, std::pair{L"B", 2}, std::pair{L"C", 6}}) {
        CDataTree* g = AddRecord(*list, L"G", group);
        for (int i = 0; i < items; ++i) AddRecord(*g, L"I", Format(L"%s%d", group, i));
    }
    const auto pages = Compose(layout, data);
    ASSERT_GE(pages.size(), 4u);
    EXPECT_EQ(Find(pages[0], L"A")->top, 200);
    EXPECT_EQ(Find(pages[0], L"B"), nullptr);
    EXPECT_EQ(Find(pages[1], L"B")->top, 100);
    EXPECT_EQ(Find(pages[1], L"B1")->top, 800);
    // C follows B on page 2: 100 + 1200 leaves 1470, C needs 3200 but the
    // page already holds B, so C moves to page 3 and starts there.
    EXPECT_EQ(Find(pages[2], L"C")->top, 100);
    EXPECT_NE(Find(pages[3], L"C5"), nullptr);
    for (const auto& page : pages) EXPECT_EQ(Find(page, L"F")->top, kPageHeight - 100);
}

// Instances are built as pages need them and released once placed: across
// many pages every group header and item comes exactly once, in order.
TEST_F(PrintEngineTest, LongRecordPlacesEveryInstanceOnceInOrder) {
    const auto layout = Join({Head(1), Part(L"Head", 100, 0, 0, {}),
                              Part(L"Group", 200, 0, 0, {TextObject(L"G", 0, 200)}),
                              Part(L"Item", 300, 0, 0, {TextObject(L"I", 0, 300)}), Part(L"ItemEnd", 0, 0, 0, {}),
                              Part(L"GroupEnd", 0, 0, 0, {}), Part(L"Foot", 100, 0, 0, {})});
    CDataTree data;
    CDataTree* record = data.AddChild();
    std::vector<std::wstring> expected;
    for (int group = 0; group < 60; ++group) {
        CDataTree* g = AddRecord(*record, L"G", Format(L"g%d", group));
        expected.push_back(Format(L"g%d", group));
        // Groups of 1 to 12 items: some fit beside others, some span a page.
        for (int item = 0; item < group % 12 + 1; ++item) {
            AddRecord(*g, L"I", Format(L"g%d-%d", group, item));
            expected.push_back(Format(L"g%d-%d", group, item));
        }
    }
    const auto pages = Compose(layout, data);
    ASSERT_GT(pages.size(), 20u);
    std::vector<std::wstring> placed;
    for (const auto& page : pages) {
        std::vector<const PRINTOBJ*> objects;
        for (const auto& object : page.objects) objects.push_back(object.get());
        std::stable_sort(objects.begin(), objects.end(), [](const auto* a, const auto* b) { return a->top < b->top; });
        for (const PRINTOBJ* object : objects) placed.push_back(object->text.str());
    }
    EXPECT_EQ(placed, expected);
}

TEST_F(PrintEngineTest, RepeatedHeaderCarriesTheLatestTextsOntoContinuationPages) {
    const auto layout = Join({Head(1), Part(L"Head", 100, 0, 0, {}),
                              Part(L"Group", 100, 1, 0, {TextObject(L"G", 0, 100), TextObject(L"STATIC", 0, 100, 200)}),
                              Part(L"Item", 600, 0, 0, {TextObject(L"I", 0, 600)}), Part(L"ItemEnd", 0, 0, 0, {}),
                              Part(L"GroupEnd", 0, 0, 0, {}), Part(L"Foot", 100, 0, 0, {})});
    CDataTree data;
    CDataTree* record = data.AddChild();
    for (const wchar_t* group : {L"first", L"second"}) {
        CDataTree* g = AddRecord(*record, L"G", group);
        for (int i = 0; i < 5; ++i) AddRecord(*g, L"I", Format(L"%s%d", group, i));
    }
    const auto pages = Compose(layout, data);
    // 2770 per page: the header and four items, then the fifth item on page 2
    // under the repeated header.
    ASSERT_GE(pages.size(), 3u);
    const PRINTOBJ* repeated = Find(pages[1], L"first");
    ASSERT_NE(repeated, nullptr);
    EXPECT_EQ(repeated->top, 100);
    EXPECT_EQ(Find(pages[1], L"first4")->top, 200);
    ASSERT_NE(Find(pages[2], L"second"), nullptr);
    EXPECT_EQ(Find(pages[2], L"first"), nullptr);
}

TEST_F(PrintEngineTest, PageWrapEndsThePageAndTheFooterStaysAtTheBottom) {
    const auto layout = Join({Head(1), Part(L"Head", 100, 0, 0, {}),
                              Part(L"Item", 100, 0, 0, {TextObject(L"I", 0, 100), TextObject(L"PAGE_WRAP", 0)}),
                              Part(L"ItemEnd", 0, 0, 0, {}), Part(L"Foot", 100, 0, 0, {TextObject(L"F", 0, 100)})});
    CDataTree data;
    CDataTree* record = AddRecord(data, L"F", L"foot");
    for (const wchar_t* item : {L"a", L"b", L"c"}) AddRecord(*record, L"I", item);
    const auto pages = Compose(layout, data);
    ASSERT_EQ(pages.size(), 3u);
    for (const auto& page : pages) {
        EXPECT_EQ(Find(page, L"foot")->top, kPageHeight - 100);
        for (const auto& object : page.objects) EXPECT_NE(object->name, L"PAGE_WRAP");
    }
    EXPECT_NE(Find(pages[2], L"c"), nullptr);
}

TEST_F(PrintEngineTest, ContinuedSectionStartsTenUnitsBelowThePrevious) {
    const auto item = Part(L"Item", 100, 0, 0, {TextObject(L"I", 0, 100)});
    const auto layout = Join({Head(1), Part(L"Head", 100, 0, 0, {}), item, Part(L"ItemEnd", 0, 0, 0, {}),
                              Part(L"Foot", 100, 0, 0, {}), {L"PAG(T,1,1)"}, Part(L"Head", 100, 0, 0, {}), item,
                              Part(L"ItemEnd", 0, 0, 0, {}), Part(L"Foot", 100, 0, 0, {})});
    CDataTree data;
    AddRecord(*data.AddChild(), L"I", L"first");
    AddRecord(*data.AddChild(), L"I", L"second");
    const auto pages = Compose(layout, data);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(Find(pages[0], L"first")->top, 100);
    // 10 below where the first section's content ended.
    EXPECT_EQ(Find(pages[0], L"second")->top, 200 + 10);
}

TEST_F(PrintEngineTest, SplittablePartIsCutAtLineFeedsAcrossPages) {
    // One item of 60 lines, each as high as "Wg" at size 100: several pages.
    std::wstring text;
    for (int i = 0; i < 60; ++i) text += Format(L"line %d\n", i);
    text.pop_back();
    const auto layout = Join({Head(1), Part(L"Head", 100, 0, 0, {}),
                              Part(L"Item", 100, 0, 1,
                                   {L"OBJ(0,%s,Arial,100,0,0,0,0,0,0,1000,100,0,0,2,1,0,0,0,0,0,T,0,0,0,255,255,255)"}),
                              Part(L"ItemEnd", 0, 0, 0, {}), Part(L"Foot", 100, 0, 0, {})});
    CDataTree data;
    AddRecord(*data.AddChild(), L"T", text);
    const auto pages = Compose(layout, data);
    ASSERT_GE(pages.size(), 2u);
    std::wstring joined;
    for (const auto& page : pages) {
        for (const auto& object : page.objects) {
            if (object->name != L"T") continue;
            EXPECT_LE(object->bottom, kPageHeight - 100);
            if (!joined.empty()) joined += L'\n';
            joined += object->text.GetString();
        }
    }
    EXPECT_EQ(joined, text);  // every line once, in order
}

TEST_F(PrintEngineTest, RunningTotalsAddUpAcrossPages) {
    const auto layout = Join({Head(1), Part(L"Head", 100, 0, 0, {}),
                              Part(L"Item", 1000, 0, 0, {TextObject(L"AMOUNT", 0, 1000)}),
                              Part(L"ItemEnd", 0, 0, 0, {}),
                              Part(L"Foot", 100, 0, 0,
                                   {L"OBJ(0,Summe %s,Arial,10,0,0,0,0,0,0,500,100,0,0,2,0,0,0,0,0,0,SUM(AMOUNT;2),"
                                    L"0,0,0,255,255,255)"})});
    CDataTree data;
    CDataTree* record = data.AddChild();
    for (const wchar_t* amount : {L"1.000,50", L"250", L"0,25", L"1234567,891"}) AddRecord(*record, L"AMOUNT", amount);
    const auto pages = Compose(layout, data);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_NE(Find(pages[0], L"Summe 1.250,50"), nullptr);
    EXPECT_NE(Find(pages[1], L"Summe 1.235.818,64"), nullptr);
}

TEST_F(PrintEngineTest, PartLargerThanAnyPageThatCannotBeDividedIsCutAboveTheFooter) {
    // Anchor 0 everywhere: nothing can be divided, and the part is higher
    // than a page. A text in its box, a framed rectangle, a line from the
    // top left corner down to (1000, 5000) and a growing text of 300 lines.
    const auto layout = Join(
        {Head(1), Part(L"Head", 100, 0, 0, {}),
         Part(L"Item", 100, 0, 0,
              {L"OBJ(0,%s,Arial,10,0,0,0,0,0,0,1000,5000,0,0,0,0,0,0,0,0,0,T,0,0,0,255,255,255)",
               L"OBJ(2,<*E*>,Arial,1,0,0,0,0,0,0,1000,5000,0,0,0,0,0,0,0,1,0,STATIC,0,0,0,255,255,255)",
               L"OBJ(1,<*E*>,Arial,1,0,0,1000,0,0,5000,1000,5000,0,0,0,0,0,0,0,0,0,STATIC,0,0,0,255,255,255)",
               L"OBJ(0,%s,Arial,10,0,0,0,0,0,0,1000,100,0,0,0,1,0,0,0,0,0,G,0,0,0,255,255,255)"}),
         Part(L"ItemEnd", 0, 0, 0, {}), Part(L"Foot", 100, 0, 0, {TextObject(L"F", 0, 100)})});
    std::wstring lines;
    for (int i = 0; i < 300; ++i) lines += Format(L"line %d\n", i);
    lines.pop_back();
    CDataTree data;
    CDataTree* record = data.AddChild();
    for (const wchar_t* text : {L"huge", L"after"}) AddRecord(*record, L"T", text)->AddValue(L"G", lines.c_str());
    const auto pages = Compose(layout, data);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_NE(Find(pages[0], L"huge"), nullptr);
    EXPECT_NE(Find(pages[1], L"after"), nullptr);
    const int bodyBottom = kPageHeight - 100;
    for (const auto& page : pages) {
        for (const auto& object : page.objects) {
            if (object->name == L"F") continue;
            SCOPED_TRACE(object->kind);
            EXPECT_LE(object->bottom, bodyBottom);
            if (object->kind == kPrintLine) {
                EXPECT_EQ(object->y2, bodyBottom);
                EXPECT_EQ(object->x2, 1000 * (bodyBottom - 100) / 5000);  // still on its way
            }
            if (object->name == L"G") {
                EXPECT_GT(object->text.GetLength(), 0);
                EXPECT_EQ(lines.compare(0, static_cast<size_t>(object->text.GetLength()), object->text.str()), 0)
                    << "the lines that fit, from the first";
            }
        }
    }
}

// Header and footer that leave no room for the parts: the job fails with
// the part and the room named, and leaves no page.
TEST_F(PrintEngineTest, PartsWithoutRoomBetweenHeaderAndFooterFailTheJob) {
    struct Case {
        const char* what;
        int header;
        int footer;
        std::wstring item;
        const wchar_t* room;
    };
    const Case cases[] = {
        {"header and footer fill the page", 1500, 1470, TextObject(L"I", 0, 100), L"leave 0 of its 2970 units"},
        {"header and footer are higher than the page", 2000, 2000, TextObject(L"I", 0, 100), L"leave 0 of"},
        {"the room is lower than a line of a growing text", 1480, 1485,
         L"OBJ(0,%s,Arial,10,0,0,0,0,0,0,1000,100,0,0,2,1,0,0,0,0,0,I,0,0,0,255,255,255)",
         L"leave 5 of its 2970 units"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        engine_.reset(CPrintEngine::newInstance());
        const auto layout = Join({Head(1), Part(L"Head", c.header, 0, 0, {TextObject(L"H", 0, c.header)}),
                                  Part(L"Item", 100, 0, 0, {c.item}), Part(L"ItemEnd", 0, 0, 0, {}),
                                  Part(L"Foot", c.footer, 0, 0, {})});
        CDataTree data;
        CDataTree* record = data.AddChild();
        for (int i = 0; i < 1000; ++i) AddRecord(*record, L"I", Format(L"item %d", i));
        EXPECT_TRUE(Compose(layout, data).empty());
        EXPECT_EQ(composed_, 0);
        EXPECT_EQ(engine_->GetPageCount(), 0);
        const std::wstring error = engine_->GetComposeError().str();
        EXPECT_NE(error.find(L"\"Item\""), std::wstring::npos) << error;
        EXPECT_NE(error.find(c.room), std::wstring::npos) << error;
    }
}

// A continued section stays on the previous page only where its first row
// can go; otherwise it starts a page of its own instead of losing the row or
// writing it through the footer.
TEST_F(PrintEngineTest, ContinuedSectionWithoutRoomStartsANewPage) {
    struct Case {
        const char* what;
        int firstHeight;
        std::wstring secondItem;
    };
    const Case cases[] = {
        {"the previous section filled the page", 2770, TextObject(L"I", 0, 100)},
        {"the room left is lower than a row that cannot be divided", 2700,
         L"OBJ(0,%s,Arial,10,0,0,0,0,0,0,1000,100,0,0,0,0,0,0,0,0,0,I,0,0,0,255,255,255)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        engine_.reset(CPrintEngine::newInstance());
        const auto end = Part(L"ItemEnd", 0, 0, 0, {});
        const auto layout =
            Join({Head(1), Part(L"Head", 100, 0, 0, {}), Part(L"Item", 100, 0, 0, {TextObject(L"I", 0, c.firstHeight)}),
                  end, Part(L"Foot", 100, 0, 0, {}), {L"PAG(T,1,1)"}, Part(L"Head", 100, 0, 0, {}),
                  Part(L"Item", 100, 0, 0, {c.secondItem}), end, Part(L"Foot", 100, 0, 0, {})});
        CDataTree data;
        AddRecord(*data.AddChild(), L"I", L"first");
        AddRecord(*data.AddChild(), L"I", L"second");
        const auto pages = Compose(layout, data);
        ASSERT_EQ(pages.size(), 2u);
        const PRINTOBJ* second = Find(pages[1], L"second");
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(second->top, 100);
        EXPECT_EQ(Find(pages[0], L"second"), nullptr);
    }
}

// The layout cannot make a page: the job fails and says why; the next job
// that composes clears the reason.
TEST_F(PrintEngineTest, ALayoutThatMakesNoPageFailsTheJob) {
    struct Case {
        const char* what;
        std::vector<std::wstring> layout;
        const wchar_t* reason;
    };
    const Case cases[] = {
        {"a version below 2.0", {L"VER(1.5)", L"DOC(2100,0)", L"PAG(S,0)", TextObject(L"V", 0)}, L"below 2.0"},
        {"no section", {L"VER(2.0)", L"DOC(2100,0)", TextObject(L"V", 0)}, L"no page section"},
        {"the end mark first", {L"VER(2.0)", L"PAG(%EOF,0)", L"PAG(S,0)", TextObject(L"V", 0)}, L"no page section"},
    };
    CDataTree data;
    AddRecord(data, L"V", L"value");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(Compose(c.layout, data).empty());
        EXPECT_EQ(composed_, 0);
        EXPECT_NE(engine_->GetComposeError().Find(c.reason), -1) << engine_->GetComposeError().str();
    }
    EXPECT_EQ(Compose(Join({Head(0), {TextObject(L"V", 0)}}), data).size(), 1u);
    EXPECT_EQ(composed_, 1);
    EXPECT_TRUE(engine_->GetComposeError().IsEmpty());
}

// Zero characters in layout texts (a scrambled layout can hold them) and in
// data values reach the page file, and what follows them too.
TEST_F(PrintEngineTest, TextsKeepZeroCharactersThroughThePageFiles) {
    const std::wstring zero(1, L'\0');
    std::vector<std::wstring> layout = Join(
        {Head(0), {L"OBJ(0,a" + zero + L"b,Arial,10,0,0,0,0,0,0,100,10,0,0,2,0,0,0,0,0,0,STATIC,0,0,0,255,255,255)",
                   L"OBJ(0,v=%s.,Arial,10,0,0,0,50,0,0,100,10,0,0,2,0,0,0,0,0,0,V,0,0,0,255,255,255)",
                   TextObject(L"STATIC", 90)}});
    for (std::wstring& line : layout) line = ScrambleLine(line);
    CDataTree data;
    data.AddChild()->AddValue(L"V", CString(L"x" + zero + L"y"));
    ASSERT_EQ(engine_->SetMaskFilePath(WriteLines("layout.prx", layout, true).c_str()), 1);
    engine_->SetDataPtr(&data);
    ASSERT_EQ(engine_->WriteTempFile(0), 1);
    ASSERT_EQ(engine_->GetPageCount(), 1);
    std::vector<LoadedPage> pages;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path() / "tmp")) {
        pages.push_back(ReadPageFile(entry.path().wstring().c_str(), L""));
    }
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NE(Find(pages[0], L"a" + zero + L"b"), nullptr);
    EXPECT_NE(Find(pages[0], L"v=x" + zero + L"y."), nullptr);
    EXPECT_NE(Find(pages[0], L"STATIC"), nullptr);
}

TEST_F(PrintEngineTest, TextOutputShowsPageNumbersAndDeletesThePages) {
    // Three single-page sections, one for each record.
    const std::vector<std::wstring> objects{
        L"OBJ(0,Seite %s,Arial,10,0,0,0,0,0,0,2000,600,0,0,2,0,0,0,0,0,0,PAGE,0,0,0,255,255,255)",
        L"OBJ(0,weiss,Arial,10,0,0,0,1000,0,0,2000,600,0,0,2,0,0,0,0,0,0,STATIC,255,255,255,255,255,255)"};
    const auto section = Part(L"P", 100, 0, 0, objects);
    const auto layout = Join({Head(0), section, {L"PAG(T,0)"}, section, {L"PAG(U,0)"}, section});
    CDataTree data;
    for (int i = 0; i < 3; ++i) data.AddChild();
    ASSERT_EQ(Compose(layout, data).size(), 3u);
    CMemoryDC screen;
    engine_->SetEngineDC(&screen);
    engine_->SetCurPage(2);
    engine_->RenderPage(0, 10);
    const std::wstring out = dir_.Wide("out.txt");
    engine_->OutputToTextFile(out.c_str(), 0);
    EXPECT_EQ(engine_->GetPageCount(), 0);
    EXPECT_TRUE(std::filesystem::is_empty(dir_.path() / "tmp"));
    CStringList lines;
    ASSERT_TRUE(qxStrUtil::readStringlistFromFile(lines, out.c_str(), 65001, 0));
    std::vector<std::wstring> pageLines;
    POSITION pos = lines.GetHeadPosition();
    while (pos != nullptr) {
        const CString& line = lines.GetNext(pos);
        if (line.Find(L"Seite") >= 0) pageLines.push_back(line.GetString());
        EXPECT_LT(line.Find(L"weiss"), 0);  // white on white is left out
    }
    EXPECT_EQ(pageLines, (std::vector<std::wstring>{L"Seite 11", L"Seite 12", L"Seite 13"}));
}

// Rendering on an image that maps the page onto 210 x 297 pixels.
class RenderTest : public PrintEngineTest {
protected:
    std::unique_ptr<CImageDC> Render(const std::vector<std::wstring>& objects, const ImageTargetOptions& options = {}) {
        CDataTree data;
        data.AddChild();
        Compose(Join({Head(0), Part(L"P", 100, 0, 0, objects)}), data);
        auto image = std::make_unique<CImageDC>(210, 297, options);
        if (!options.printing) {
            image->SetMapMode(MM_ANISOTROPIC);
            image->SetWindowExt(2100, 2970);
            image->SetViewportExt(210, 297);
        }
        engine_->SetEngineDC(image.get());
        engine_->SetCurPage(0);
        engine_->RenderPage(1, 0);
        return image;
    }
};

TEST_F(RenderTest, FillsFramesAndWhiteFills) {
    const auto image = Render({
        // Yellow fill, no frame; a white fill draws nothing; almost white does.
        L"OBJ(2,<*E*>,Arial,0,100,0,0,100,0,0,400,400,0,0,2,0,0,0,0,0,0,R,0,0,0,255,255,0)",
        L"OBJ(2,<*E*>,Arial,0,600,0,0,100,0,0,400,400,0,0,2,0,0,0,0,0,0,R,0,0,0,255,255,255)",
        L"OBJ(2,<*E*>,Arial,0,1100,0,0,100,0,0,400,400,0,0,2,0,0,0,0,0,0,R,0,0,0,255,255,254)",
    });
    EXPECT_EQ(image->GetPixel(30, 30), RGB(255, 255, 0));
    EXPECT_EQ(image->GetPixel(80, 30), RGB(255, 255, 255));
    EXPECT_EQ(image->GetPixel(130, 30), RGB(255, 255, 254));
}

TEST_F(RenderTest, MonochromePrinterDrawsLinesBlackAndKeepsFills) {
    ImageTargetOptions printer;
    printer.printing = true;
    printer.numColors = 2;
    printer.technology = DT_PLOTTER;
    const auto image = Render({
        L"OBJ(1,<*E*>,Arial,40,0,0,2000,1000,1000,1000,2000,0,0,0,2,0,0,0,0,0,0,L,255,0,0,255,255,255)",
        L"OBJ(2,<*E*>,Arial,0,100,0,0,1500,0,0,400,400,0,0,2,0,0,0,0,0,0,R,0,0,0,255,255,0)",
    }, printer);
    EXPECT_EQ(image->GetPixel(100, 100), RGB(0, 0, 0));
    EXPECT_EQ(image->GetPixel(30, 170), RGB(255, 255, 0));
}

}  // namespace
}  // namespace qx::test
