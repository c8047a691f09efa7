// Slides: reading single slides and libraries record by record in both byte
// orders, the failures, and drawing the points scaled into a rectangle.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "qx/image/slide_image.h"
#include "qx/platform/gfx/targets.h"
#include "qx/platform/wnd/message_box.h"
#include "tests/image/slide_writer.h"
#include "tests/support/test_support.h"

namespace {

using qx::test::ByteOrder;
using qx::test::SlideLibrary;
using qx::test::SlideWriter;
using Points = std::vector<SlidePoint>;

constexpr ByteOrder kOrders[] = {ByteOrder::kLittle, ByteOrder::kBig};

const char* OrderName(ByteOrder order) { return order == ByteOrder::kLittle ? "low byte first" : "high byte first"; }

class SlideImageTest : public ::testing::Test {
protected:
    std::wstring Write(const std::string& name, const std::string& bytes) const {
        qx::test::WriteBytes(dir_.path() / name, bytes);
        return dir_.Wide(name);
    }

    // Loads *bytes* as a single slide.
    Points LoadSlide(const std::string& bytes, int* result = nullptr) {
        const std::wstring path = Write("slide.sld", bytes);
        const int loaded = slide_.Load(nullptr, path.c_str());
        if (result) *result = loaded;
        return slide_.GetPoints();
    }

    qx::test::TempDir dir_;
    CSlideImage slide_;
};

TEST_F(SlideImageTest, StartsEmpty) {
    EXPECT_TRUE(slide_.GetPoints().empty());
    EXPECT_EQ(slide_.GetMaxX(), 0);
    EXPECT_EQ(slide_.GetMaxY(), 0);
    EXPECT_EQ(slide_.GetColor7(), RGB(255, 255, 255));
    EXPECT_FALSE(slide_.IsLoaded());
}

TEST_F(SlideImageTest, ReadsEachRecordKindInBothByteOrders) {
    struct Case {
        const char* name;
        std::function<void(SlideWriter&)> records;
        Points points;
    } const cases[] = {
        {"a first vector starts with a move",
         [](SlideWriter& w) { w.Vector(10, 20, 30, 40); },
         {{10, 20, 0}, {30, 40, 7}}},
        {"a vector from the last end continues the stroke",
         [](SlideWriter& w) { w.Vector(10, 20, 30, 40).Vector(30, 40, 50, 20); },
         {{10, 20, 0}, {30, 40, 7}, {50, 20, 7}}},
        {"a vector from elsewhere starts a new stroke",
         [](SlideWriter& w) { w.Vector(10, 20, 30, 40).Vector(31, 40, 50, 20); },
         {{10, 20, 0}, {30, 40, 7}, {31, 40, 0}, {50, 20, 7}}},
        {"a solid fill forces one move",
         [](SlideWriter& w) {
             w.Vector(10, 20, 30, 40).SolidFill(5, 6).Vector(30, 40, 50, 20).Vector(50, 20, 60, 10);
         },
         {{10, 20, 0}, {30, 40, 7}, {30, 40, 0}, {50, 20, 7}, {60, 10, 7}}},
        {"offset vectors are relative to the last vector's start",
         [](SlideWriter& w) { w.Vector(100, 100, 0, 0).OffsetVector(-10, 5, 20, -5).OffsetVector(0, 0, 1, 1); },
         {{100, 100, 0}, {0, 0, 7}, {90, 105, 0}, {120, 95, 7}, {90, 105, 0}, {91, 106, 7}}},
        {"common-endpoint vectors run on from the reference point",
         [](SlideWriter& w) { w.Vector(100, 100, 0, 0).CommonEndpoint(3, -4).CommonEndpoint(-128, 127); },
         {{100, 100, 0}, {0, 0, 7}, {100, 100, 0}, {103, 96, 7}, {-25, 223, 7}}},
        {"the reference point starts at the origin",
         [](SlideWriter& w) { w.CommonEndpoint(5, 6).OffsetVector(1, 2, 3, 4); },
         {{0, 0, 0}, {5, 6, 7}, {6, 8, 0}, {8, 10, 7}}},
        {"a new colour applies to the following strokes",
         [](SlideWriter& w) { w.Vector(1, 1, 2, 2).Color(3).Vector(2, 2, 3, 3).Color(255).CommonEndpoint(1, 0); },
         {{1, 1, 0}, {2, 2, 7}, {3, 3, 3}, {2, 2, 0}, {3, 2, 255}}},
        {"kinds 0x80 to 0xFA are skipped without content",
         [](SlideWriter& w) { w.Vector(1, 1, 2, 2).Word(0x80FF).Word(0xC012).Word(0xFA00).Vector(2, 2, 3, 3); },
         {{1, 1, 0}, {2, 2, 7}, {3, 3, 7}}},
        {"the end record ends the slide",
         [](SlideWriter& w) { w.Vector(1, 1, 2, 2).End().Vector(2, 2, 3, 3); },
         {{1, 1, 0}, {2, 2, 7}}},
        {"coordinates are signed words",
         [](SlideWriter& w) { w.Vector(0x7FFF, -1, -32768, 0x1234); },
         {{32767, -1, 0}, {-32768, 0x1234, 7}}},
    };
    for (const Case& c : cases) {
        for (const ByteOrder order : kOrders) {
            SCOPED_TRACE(std::string(c.name) + ", " + OrderName(order));
            SlideWriter writer(640, 0x1A2B, order);
            c.records(writer);
            int result = 0;
            EXPECT_EQ(LoadSlide(writer.Bytes(), &result), c.points);
            EXPECT_EQ(result, 1);
            EXPECT_TRUE(slide_.IsLoaded());
            EXPECT_EQ(slide_.GetMaxX(), 640);
            EXPECT_EQ(slide_.GetMaxY(), 0x1A2B);
        }
    }
}

TEST_F(SlideImageTest, AFileThatEndsEarlyKeepsEveryWholeRecord) {
    SlideWriter writer(100, 100);
    writer.Color(1).Vector(1, 2, 3, 4).OffsetVector(1, 1, 2, 2).SolidFill(7, 7).CommonEndpoint(5, 5).Vector(9, 9, 8, 8);
    const std::string full = writer.Bytes();
    const Points all = LoadSlide(full);
    ASSERT_EQ(all.size(), 8u);
    // Each cut keeps what the whole records before it give.
    for (std::size_t size = 31; size < full.size(); ++size) {
        SCOPED_TRACE(size);
        int result = 0;
        const Points points = LoadSlide(full.substr(0, size), &result);
        EXPECT_EQ(result, 1);
        ASSERT_LE(points.size(), all.size());
        EXPECT_EQ(points, Points(all.begin(), all.begin() + static_cast<long>(points.size())));
    }
    // A vector one byte short is lost; the records before it stay.
    EXPECT_EQ(LoadSlide(full.substr(0, full.size() - 1)).size(), 6u);
    EXPECT_EQ(LoadSlide(full.substr(0, 31 + 2 + 8)), (Points{{1, 2, 0}, {3, 4, 1}}));
    EXPECT_EQ(LoadSlide(full.substr(0, 31 + 2 + 7)), Points{});
}

TEST_F(SlideImageTest, AnEndWordWithALowByteShowsTheMessageOnceAndReadsOn) {
    std::vector<std::pair<std::wstring, unsigned>> shown;
    const qx::ScopedMessageHandler handler([&](const wchar_t* text, const wchar_t*, unsigned flags) {
        shown.emplace_back(text, flags);
        return IDOK;
    });
    SlideWriter writer(10, 10);
    writer.Vector(1, 1, 2, 2).Word(0xFC01).Vector(2, 2, 3, 3).Word(0xFCFF).Vector(3, 3, 4, 4);
    EXPECT_EQ(LoadSlide(writer.Bytes()), (Points{{1, 1, 0}, {2, 2, 7}, {3, 3, 7}, {4, 4, 7}}));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].first, L"ENDOFSLD erreicht...");
    EXPECT_EQ(shown[0].second & MB_ICONMASK, MB_ICONSTOP);
    // The next load may tell again.
    LoadSlide(writer.Bytes());
    EXPECT_EQ(shown.size(), 2u);
}

TEST_F(SlideImageTest, FindsALibrarySlideByNameWithoutRegardToCase) {
    SlideWriter pump(50, 50), valve(60, 40), ventil(70, 30);
    // Each ends with its end record: reading would run on into the next.
    pump.Vector(1, 1, 2, 2).End();
    valve.Vector(3, 3, 4, 4).End();
    ventil.Vector(5, 5, 6, 6).End();
    const std::wstring library = Write("symbols.slb", SlideLibrary({{"PUMP", pump.Bytes()},
                                                                   {"VALVE", valve.Bytes()},
                                                                   {"Ventil-\xC4", ventil.Bytes()}}));
    struct Case {
        const wchar_t* name;
        int maxX;
        SlidePoint first;
    } const cases[] = {
        {L"Valve", 60, {3, 3, 0}},
        {L"pump", 50, {1, 1, 0}},
        {L"ventil-\u00E4", 70, {5, 5, 0}},
        {L"VENTIL-\u00C4", 70, {5, 5, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.name)));
        ASSERT_EQ(slide_.Load(library.c_str(), c.name), 1);
        EXPECT_EQ(slide_.GetMaxX(), c.maxX);
        ASSERT_EQ(slide_.GetPoints().size(), 2u);
        EXPECT_EQ(slide_.GetPoints()[0], c.first);
    }
    // An entry may point back, even at the library's own header, which
    // begins like a slide's (its zero test number reads as swapped words).
    std::string back = SlideLibrary({{"VALVE", valve.Bytes()}, {"BACK", ""}});
    back.replace(32 + 36 + 32, 4, 4, '\0');
    const std::wstring backPath = Write("back.slb", back);
    ASSERT_EQ(slide_.Load(backPath.c_str(), L"back"), 1);
    EXPECT_EQ(slide_.GetMaxX(), ('r' << 8) | 'y');

    // Without its extension the library is found with ".SLB" appended.
    EXPECT_EQ(slide_.Load(dir_.Wide("symbols").c_str(), L"VALVE"), 1);

    std::vector<qx::SlideEntry> entries;
    ASSERT_TRUE(qx::ReadSlideDirectory(CString(library), &entries));
    ASSERT_EQ(entries.size(), 3u);
    const std::uint32_t directoryEnd = 32 + 4 * 36;
    EXPECT_EQ(entries[0].name, "PUMP");
    EXPECT_EQ(entries[0].offset, directoryEnd);
    EXPECT_EQ(entries[1].name, "VALVE");
    EXPECT_EQ(entries[1].offset, directoryEnd + pump.Bytes().size());
    EXPECT_EQ(entries[2].name, "Ventil-\xC4");
}

TEST_F(SlideImageTest, ReadsSlidesAcrossManyBufferLengths) {
    // 1,500 touching vectors: 12 KB, read in several pieces.
    SlideWriter big(2000, 2000), small(10, 10);
    for (int k = 0; k < 1500; ++k) big.Vector(k, k % 7, k + 1, (k + 1) % 7);
    big.End();
    small.Vector(1, 1, 2, 2).End();
    const std::wstring library = Write("big.slb", SlideLibrary({{"BIG", big.Bytes()}, {"SMALL", small.Bytes()}}));
    ASSERT_EQ(slide_.Load(library.c_str(), L"SMALL"), 1);
    EXPECT_EQ(slide_.GetPoints(), (Points{{1, 1, 0}, {2, 2, 7}}));
    ASSERT_EQ(slide_.Load(library.c_str(), L"BIG"), 1);
    ASSERT_EQ(slide_.GetPoints().size(), 1501u);
    EXPECT_EQ(slide_.GetPoints()[1000], (SlidePoint{1000, 1000 % 7, 7}));
    EXPECT_EQ(slide_.GetPoints().back(), (SlidePoint{1500, 1500 % 7, 7}));
}

TEST_F(SlideImageTest, TheDirectoryEndsAtAnEmptyNameOrTheEndOfTheFile) {
    SlideWriter one(10, 10);
    one.Vector(1, 1, 2, 2).End();
    // An entry after the empty one is no entry of the directory.
    const std::string library = SlideLibrary({{"ONE", one.Bytes()}, {"", one.Bytes()}, {"GHOST", one.Bytes()}});
    const std::wstring path = Write("ghost.slb", library);
    std::vector<qx::SlideEntry> entries;
    ASSERT_TRUE(qx::ReadSlideDirectory(CString(path), &entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "ONE");
    EXPECT_EQ(slide_.Load(path.c_str(), L"GHOST"), 0);

    // Without the empty entry the directory runs to the end of the file.
    const std::wstring open = Write("open.slb", SlideLibrary({{"ONE", one.Bytes()}, {"TWO", one.Bytes()}}, false));
    ASSERT_TRUE(qx::ReadSlideDirectory(CString(open), &entries));
    EXPECT_GE(entries.size(), 2u);
    EXPECT_EQ(slide_.Load(open.c_str(), L"two"), 1);
    EXPECT_EQ(slide_.GetPoints().size(), 2u);
}

TEST_F(SlideImageTest, FailuresGiveZeroAndAnEmptySlide) {
    SlideWriter good(10, 10);
    good.Vector(1, 1, 2, 2);
    const std::wstring slide = Write("good.sld", good.Bytes());
    const std::wstring library = Write("lib.slb", SlideLibrary({{"GOOD", good.Bytes()}}));
    std::string wrongSlide = good.Bytes();
    wrongSlide[12] = 'X';
    std::string wrongLibrary = SlideLibrary({{"GOOD", good.Bytes()}});
    wrongLibrary[20] = 'X';
    std::string farOffset = SlideLibrary({{"GOOD", good.Bytes()}});
    farOffset[32 + 32 + 2] = '\x7F';
    std::string badSlideInLibrary = SlideLibrary({{"GOOD", wrongSlide}});
    const std::wstring paths[] = {
        Write("wrong.sld", wrongSlide),
        Write("short.sld", good.Bytes().substr(0, 30)),
        Write("wrong.slb", wrongLibrary),
        Write("far.slb", farOffset),
        Write("bad.slb", badSlideInLibrary),
    };
    struct Case {
        const char* name;
        const wchar_t* library;
        const wchar_t* slideName;
    } const cases[] = {
        {"missing file", nullptr, L"missing.sld"},
        {"missing library", L"missing.slb", L"GOOD"},
        {"wrong slide header", nullptr, paths[0].c_str()},
        {"header cut short", nullptr, paths[1].c_str()},
        {"wrong library header", paths[2].c_str(), L"GOOD"},
        {"slide offset past the end", paths[3].c_str(), L"GOOD"},
        {"wrong header of a library slide", paths[4].c_str(), L"GOOD"},
        {"slide not in the library", library.c_str(), L"BAD"},
        {"a single slide as a library", slide.c_str(), L"GOOD"},
        {"empty name", library.c_str(), L""},
        {"null name", library.c_str(), nullptr},
        {"empty name without a library", L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(slide_.Load(L"", slide.c_str()), 1);
        EXPECT_EQ(slide_.Load(c.library, c.slideName), 0);
        EXPECT_TRUE(slide_.GetPoints().empty());
        EXPECT_FALSE(slide_.IsLoaded());
        EXPECT_EQ(slide_.GetMaxX(), 0);
    }
    std::vector<qx::SlideEntry> entries{{"X", 1}};
    EXPECT_FALSE(qx::ReadSlideDirectory(CString(slide), &entries));
    EXPECT_TRUE(entries.empty());
    EXPECT_FALSE(qx::ReadSlideDirectory(CString(dir_.Wide("missing.slb")), &entries));
}

TEST_F(SlideImageTest, AppendsTheExtensionOnlyWhenNeitherCaseIsThere) {
    SlideWriter writer(10, 10);
    writer.Vector(1, 1, 2, 2);
    const std::string library = SlideLibrary({{"S", writer.Bytes()}});
    struct Case {
        const char* file;  // the only file there
        const char* slide;
        const char* library;  // null: the slide is the file
    } const cases[] = {
        {"a.sld", "a.sld", nullptr},
        {"b.SLD", "b.SLD", nullptr},
        {"c.sld", "c", nullptr},
        {"d.Sld.SLD", "d.Sld", nullptr},
        {"e.sld.bak", "e.sld.bak", nullptr},
        {"f.slb", "S", "f.slb"},
        {"g.SLB", "S", "g.SLB"},
        {"h.slb", "S", "h"},
        {"i.Slb.SLB", "S", "i.Slb"},
        {"j.slb.old", "S", "j.slb.old"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const qx::test::TempDir folder;
        qx::test::WriteBytes(folder.path() / c.file, c.library ? library : writer.Bytes());
        EXPECT_EQ(c.library ? slide_.Load(folder.Wide(c.library).c_str(), CString(c.slide).GetString())
                            : slide_.Load(nullptr, folder.Wide(c.slide).c_str()),
                  1);
    }
}

// Drawing.

constexpr COLORREF kPaper = RGB(128, 128, 128);

std::unique_ptr<CImageDC> Paper(int width, int height) {
    ImageTargetOptions options;
    options.background = kPaper;
    return std::make_unique<CImageDC>(width, height, options);
}

class SlideDrawingTest : public SlideImageTest {
protected:
    // Loads a slide of extent *maxX* x *maxY* with the given records.
    void Make(int maxX, int maxY, const std::function<void(SlideWriter&)>& records) {
        SlideWriter writer(maxX, maxY);
        records(writer);
        ASSERT_FALSE(LoadSlide(writer.Bytes()).empty());
    }
};

TEST_F(SlideDrawingTest, ScalesCentresAndFlipsTheSlide) {
    // A red line across a 100 x 50 slide at height 10, from x 10 to 90.
    Make(100, 50, [](SlideWriter& w) { w.Color(1).Vector(10, 10, 90, 10); });
    struct Case {
        const char* name;
        CRect rect;
        bool stretch;
        int row;
        int from;  // first pixel of the line; the last is not drawn
        int to;
    } const cases[] = {
        // Factor 3 on both axes; 150 pixels high, so y starts at 75.
        {"square, kept", {0, 0, 300, 300}, false, 75 + 120, 30, 270},
        {"square, stretched", {0, 0, 300, 300}, true, 240, 30, 270},
        {"wide, kept", {0, 0, 400, 300}, false, 50 + 160, 40, 360},
        {"wide, stretched", {0, 0, 400, 300}, true, 240, 40, 360},
        {"tall, kept", {0, 0, 200, 300}, false, 100 + 80, 20, 180},
        {"offset rectangle, kept", {10, 20, 310, 320}, false, 20 + 75 + 120, 40, 280},
        {"offset rectangle, stretched", {10, 20, 310, 320}, true, 20 + 240, 40, 280},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto dc = Paper(420, 340);
        EXPECT_EQ(slide_.Draw(dc.get(), c.rect, c.stretch), 1);
        EXPECT_EQ(dc->GetPixel(c.from, c.row), RGB(255, 0, 0));
        EXPECT_EQ(dc->GetPixel((c.from + c.to) / 2, c.row), RGB(255, 0, 0));
        EXPECT_EQ(dc->GetPixel(c.to - 1, c.row), RGB(255, 0, 0));
        EXPECT_EQ(dc->GetPixel(c.from - 1, c.row), kPaper);
        EXPECT_EQ(dc->GetPixel(c.to, c.row), kPaper);
        EXPECT_EQ(dc->GetPixel((c.from + c.to) / 2, c.row - 1), kPaper);
        EXPECT_EQ(dc->GetPixel((c.from + c.to) / 2, c.row + 1), kPaper);
    }
}

TEST_F(SlideDrawingTest, RoundsHalvesUpAndCentresByWholePixels) {
    // Factor 1.5: x 1 and 3 fall on 1.5 and 4.5, rounded to 2 and 5; y 3 of
    // 4 falls on 1.5, rounded to 2.
    Make(4, 4, [](SlideWriter& w) { w.Color(5).Vector(1, 3, 3, 3); });
    auto dc = Paper(6, 6);
    slide_.Draw(dc.get(), CRect{0, 0, 6, 6}, FALSE);
    EXPECT_EQ(dc->GetPixel(1, 2), kPaper);
    EXPECT_EQ(dc->GetPixel(2, 2), RGB(0, 0, 255));
    EXPECT_EQ(dc->GetPixel(4, 2), RGB(0, 0, 255));
    EXPECT_EQ(dc->GetPixel(5, 2), kPaper);

    // 3 x 1 into 10 x 10: the slide is 3 pixels high (10/3 rounded), leaving
    // 7, of which the top gets 3.
    Make(3, 1, [](SlideWriter& w) { w.Color(5).Vector(0, 1, 3, 1); });
    dc = Paper(10, 10);
    slide_.Draw(dc.get(), CRect{0, 0, 10, 10}, FALSE);
    EXPECT_EQ(dc->GetPixel(5, 3), RGB(0, 0, 255));
    EXPECT_EQ(dc->GetPixel(5, 4), kPaper);
}

TEST_F(SlideDrawingTest, DrawsEachColourIndexInItsColour) {
    const struct {
        int index;
        COLORREF color;
    } table[] = {
        {1, RGB(255, 0, 0)},   {2, RGB(255, 255, 0)}, {3, RGB(0, 255, 0)}, {4, RGB(0, 255, 255)},
        {5, RGB(0, 0, 255)},   {6, RGB(255, 0, 255)}, {7, RGB(255, 255, 255)}, {8, RGB(0, 0, 0)},
        {100, RGB(0, 0, 0)},   {254, RGB(0, 0, 0)},   {255, RGB(255, 255, 255)}, {0, kPaper},
    };
    const int rows = static_cast<int>(std::size(table));
    Make(10, rows * 2, [&](SlideWriter& w) {
        for (int k = 0; k < rows; ++k) w.Color(table[k].index).Vector(0, 2 * k + 1, 10, 2 * k + 1);
    });
    auto dc = Paper(10, rows * 2);
    EXPECT_EQ(slide_.Draw(dc.get(), CRect{0, 0, 10, rows * 2}, TRUE), 1);
    for (int k = 0; k < rows; ++k) {
        SCOPED_TRACE(table[k].index);
        EXPECT_EQ(dc->GetPixel(5, rows * 2 - (2 * k + 1)), table[k].color);
    }

    // Colour 7 is the slide's own, and only index 7 takes it.
    slide_.SetColor7(RGB(10, 20, 30));
    dc = Paper(10, rows * 2);
    slide_.Draw(dc.get(), CRect{0, 0, 10, rows * 2}, TRUE);
    EXPECT_EQ(dc->GetPixel(5, rows * 2 - 13), RGB(10, 20, 30));
    EXPECT_EQ(dc->GetPixel(5, rows * 2 - 21), RGB(255, 255, 255));
}

TEST_F(SlideDrawingTest, RestoresThePenItFound) {
    Make(10, 10, [](SlideWriter& w) { w.Color(1).Vector(0, 0, 5, 5).Color(2).CommonEndpoint(1, 1); });
    auto dc = Paper(10, 10);
    CPen own(PS_SOLID, 3, RGB(1, 2, 3));
    dc->SelectObject(&own);
    EXPECT_EQ(slide_.Draw(dc.get(), CRect{0, 0, 10, 10}, FALSE), 1);
    EXPECT_EQ(dc->GetCurrentPen(), &own);
    EXPECT_EQ(slide_.Draw(nullptr, CRect{0, 0, 10, 10}, FALSE), 0);
}

TEST_F(SlideDrawingTest, AZeroExtentDrawsNothing) {
    for (const auto& [maxX, maxY] : {std::pair{0, 10}, std::pair{10, 0}, std::pair{0, 0}}) {
        SCOPED_TRACE(testing::Message() << maxX << " x " << maxY);
        Make(maxX, maxY, [](SlideWriter& w) { w.Color(1).Vector(0, 0, 10, 10).Vector(0, 10, 10, 0); });
        auto dc = Paper(20, 20);
        EXPECT_EQ(slide_.Draw(dc.get(), CRect{0, 0, 20, 20}, FALSE), 1);
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 20; ++x) ASSERT_EQ(dc->GetPixel(x, y), kPaper) << x << "," << y;
        }
    }
}

}  // namespace
