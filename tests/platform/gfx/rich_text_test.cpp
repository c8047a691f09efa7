#include "qx/platform/gfx/rich_text.h"

#include <gtest/gtest.h>

#include <string>

#include "qx/platform/gfx/targets.h"

namespace qx::gfx {
namespace {

constexpr double kScreenUnitsPerInch = 96.0;

std::string Document(const std::string& body) {
    return R"({\rtf1\ansi\deff0{\fonttbl{\f0\fswiss Arial;}}{\colortbl ;\red255\green0\blue0;})" + body + "}";
}

std::string Words(int count) {
    std::string text;
    for (int k = 0; k < count; ++k) text += (k % 3 == 0 ? "Heizung " : k % 3 == 1 ? "und " : "Sanitaer ");
    return text;
}

class RichTextLayout : public ::testing::Test {
protected:
    RichText::FormatResult Measure(const RichText& text, const CRect& rect, long first = 0, long last = -1,
                                   double unitsPerInch = kScreenUnitsPerInch) {
        return text.FormatRange(measuring_, rect, unitsPerInch, first, last, false);
    }
    CMemoryDC measuring_;
};

TEST_F(RichTextLayout, WrapsALongParagraphIntoANarrowRectangle) {
    RichText text;
    text.LoadRtf(Document("\\fs20 " + Words(40) + "\\par"));
    const auto wide = Measure(text, CRect(0, 0, 100000, 100000));
    const auto narrow = Measure(text, CRect(0, 0, 150, 100000));
    EXPECT_EQ(wide.nextCharacter, text.CharacterCount());
    EXPECT_EQ(narrow.nextCharacter, text.CharacterCount());
    EXPECT_GT(wide.heightUsed, 10);
    EXPECT_GT(narrow.heightUsed, 5 * wide.heightUsed);
}

TEST_F(RichTextLayout, StopsAtTheFirstLineThatDoesNotFit) {
    RichText text;
    text.LoadRtf(Document("\\fs20 " + Words(60)));
    const CString plain = text.PlainText();
    const int lineHeight = Measure(text, CRect(0, 0, 100000, 100000)).heightUsed;

    // Pages of two and a half lines: each takes two whole lines, starts with
    // a word, and together they hold every character once.
    const CRect page(0, 0, 160, lineHeight * 5 / 2);
    long first = 0;
    int pages = 0;
    while (first < text.CharacterCount() && pages < 100) {
        SCOPED_TRACE(pages);
        const auto result = Measure(text, page, first);
        ASSERT_GT(result.nextCharacter, first);
        EXPECT_LE(result.heightUsed, page.Height());
        if (result.nextCharacter < text.CharacterCount()) {
            EXPECT_GE(result.heightUsed, 2 * lineHeight - 1);
            EXPECT_EQ(plain[static_cast<int>(result.nextCharacter) - 1], L' ');
        }
        first = result.nextCharacter;
        ++pages;
    }
    EXPECT_EQ(first, text.CharacterCount());
    EXPECT_GT(pages, 2);

    const auto none = Measure(text, CRect(0, 0, 160, lineHeight / 2), 10);
    EXPECT_EQ(none.nextCharacter, 10);
    EXPECT_EQ(none.heightUsed, 0);
}

TEST_F(RichTextLayout, CountsAParagraphEndAsOneCharacter) {
    RichText text;
    text.LoadRtf(Document(R"(a\par b\par c\par)"));
    const int lineHeight = Measure(text, CRect(0, 0, 1000, 1000), 0, 1).heightUsed;
    const auto twoLines = Measure(text, CRect(0, 0, 1000, 2 * lineHeight + lineHeight / 2));
    EXPECT_EQ(twoLines.nextCharacter, 4);  // "a\nb\n" fit, "c" is next
    EXPECT_EQ(Measure(text, CRect(0, 0, 1000, 1000), 2, 4).heightUsed, lineHeight);
}

TEST_F(RichTextLayout, HeightGrowsWithTheFontSize) {
    RichText small;
    RichText large;
    small.LoadRtf(Document("\\fs20 " + Words(3) + "\\par " + Words(3)));
    large.LoadRtf(Document("\\fs40 " + Words(3) + "\\par " + Words(3)));
    const CRect rect(0, 0, 100000, 100000);
    const double ratio = static_cast<double>(Measure(large, rect).heightUsed) / Measure(small, rect).heightUsed;
    EXPECT_NEAR(ratio, 2.0, 0.15);
}

TEST_F(RichTextLayout, BreaksAlikeAtEveryResolution) {
    RichText text;
    text.LoadRtf(Document("\\fs20 " + Words(40) + "{\\b\\fs28 " + Words(20) + "}"));
    const auto screen = Measure(text, CRect(0, 0, 170, 80));
    const auto engine = Measure(text, CRect(0, 0, 1700, 800), 0, -1, 10 * kScreenUnitsPerInch);
    EXPECT_EQ(screen.nextCharacter, engine.nextCharacter);
    EXPECT_NEAR(engine.heightUsed, 10 * screen.heightUsed, 10);
}

struct InkCase {
    const char* name;
    int mapMode;
    CSize windowExt;
    CSize viewportExt;
    CPoint viewportOrg;
    CRect logicalRect;
    CRect deviceRect;
    double unitsPerInch;
};

TEST(RichTextRendering, PutsInkInsideTheRectangleOnly) {
    const InkCase cases[] = {
        {"pixels", MM_TEXT, {1, 1}, {1, 1}, {0, 0}, {40, 30, 240, 130}, {40, 30, 240, 130}, 96},
        {"anisotropic, half size, moved", MM_ANISOTROPIC, {1000, 1000}, {500, 500}, {20, 10},
         {40, 40, 440, 240}, {40, 30, 240, 130}, 192},
    };
    RichText text;
    text.LoadRtf(Document("\\fs24 " + Words(5) + "{\\cf1\\b " + Words(30) + "}\\par " + Words(40)));
    for (const InkCase& c : cases) {
        SCOPED_TRACE(c.name);
        CImageDC image(300, 180);
        image.SetMapMode(c.mapMode);
        image.SetWindowExt(c.windowExt.cx, c.windowExt.cy);
        image.SetViewportExt(c.viewportExt.cx, c.viewportExt.cy);
        image.SetViewportOrg(c.viewportOrg.x, c.viewportOrg.y);
        const auto drawn = text.FormatRange(image, c.logicalRect, c.unitsPerInch, 0, -1, true);
        const auto measured = text.FormatRange(image, c.logicalRect, c.unitsPerInch, 0, -1, false);
        EXPECT_EQ(drawn.nextCharacter, measured.nextCharacter);
        EXPECT_GT(drawn.nextCharacter, 0);
        EXPECT_LT(drawn.nextCharacter, text.CharacterCount());

        int outside = 0;
        int dark = 0;
        int red = 0;
        for (int y = 0; y < image.HeightPixels(); ++y) {
            for (int x = 0; x < image.WidthPixels(); ++x) {
                const COLORREF pixel = image.GetPixel(x, y);
                if (pixel == RGB(255, 255, 255)) continue;
                const CRect& r = c.deviceRect;
                if (x < r.left || x >= r.right || y < r.top || y >= r.bottom) ++outside;
                if (GetRValue(pixel) < 80 && GetGValue(pixel) < 80 && GetBValue(pixel) < 80) ++dark;
                if (GetRValue(pixel) > 200 && GetGValue(pixel) < 80 && GetBValue(pixel) < 80) ++red;
            }
        }
        EXPECT_EQ(outside, 0);
        EXPECT_GT(dark, 50);
        EXPECT_GT(red, 50);
    }
}

TEST(RichTextRendering, DrawsAutomaticColourInTheTextColour) {
    RichText text;
    text.LoadRtf(Document("\\fs40 WWWW"));
    CImageDC image(200, 60);
    image.SetTextColor(RGB(0, 0, 255));
    text.FormatRange(image, CRect(0, 0, 200, 60), 96, 0, -1, true);
    int blue = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 200; ++x) blue += image.GetPixel(x, y) == RGB(0, 0, 255);
    }
    EXPECT_GT(blue, 20);
}

}  // namespace
}  // namespace qx::gfx
