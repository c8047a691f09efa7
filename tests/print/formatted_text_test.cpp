#include "qx/print/formatted_text.h"

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "qx/platform/gfx/targets.h"
#include "qx/print/html_markup.h"

namespace {

constexpr wchar_t kBullet[] = L"\u25CF";

class FormattedTextTest : public testing::Test {
protected:
    FormattedTextTest() { qx::ClearFontCache(); }
    ~FormattedTextTest() override { qx::ClearFontCache(); }

    // The extent of `text` in the font `description` on the measuring context.
    CSize Extent(const CString& text, const DynamicFontInfo& description = {}) {
        CFont* before = qx::GetFont(description).Select(dc_, 1);
        const CSize extent = dc_.GetTextExtent(text);
        dc_.SelectObject(before);
        return extent;
    }

    CHtmlLayout Layout(const CString& markup, const CRect& box, int alignment = qx::kAlignLeft,
                       const DynamicFontInfo& font = {}) {
        return CHtmlLayout(dc_, markup, font, alignment, box);
    }

    // Each line's atoms joined by "|".
    static std::vector<std::wstring> LineTexts(const CHtmlLayout& layout) {
        std::vector<std::wstring> lines;
        for (const CHtmlLine& line : layout.Lines()) {
            std::wstring text;
            for (const CHtmlAtom& atom : line.atoms) text += (text.empty() ? L"" : L"|") + atom.text.str();
            lines.push_back(text);
        }
        return lines;
    }

    CMemoryDC dc_;
};

TEST_F(FormattedTextTest, FillsLinesWithPiecesThatFitTheBox) {
    const int twoPieces = Extent(L"Vor- ").cx + Extent(L"und ").cx;
    struct Case {
        const char* name;
        const wchar_t* markup;
        int boxWidth;
        std::vector<std::wstring> lines;
    } const cases[] = {
        {"exactly fitting pieces share a line", L"Vor- und Vor- und", twoPieces, {L"Vor- |und ", L"Vor- |und"}},
        {"one unit less breaks", L"Vor- und x", twoPieces - 1, {L"Vor- ", L"und |x"}},
        {"a wide word stands alone", L"a Riesenwort b", 10, {L"a ", L"Riesenwort ", L"b"}},
        {"line feeds and br start lines", L"a\nb<br>c", 5000, {L"a", L"b", L"c"}},
        {"a paragraph is set off by an empty line", L"a<P>b</P>c", 5000, {L"a", L"", L"b|c"}},
        {"a paragraph at the top", L"<P>b", 5000, {L"", L"b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LineTexts(Layout(c.markup, {0, 0, c.boxWidth, 1000})), c.lines);
    }
}

TEST_F(FormattedTextTest, MeasuresEachPieceWithItsOwnFont) {
    const CHtmlLayout layout = Layout(L"<b>Rohr</b> Bogen", {0, 0, 5000, 1000});
    ASSERT_EQ(layout.Lines().size(), 1u);
    const auto& atoms = layout.Lines()[0].atoms;
    ASSERT_EQ(atoms.size(), 2u);
    EXPECT_TRUE(atoms[0].font.bold);
    EXPECT_FALSE(atoms[1].font.bold);
    DynamicFontInfo bold;
    bold.bold = true;
    EXPECT_EQ(atoms[0].width, Extent(L"Rohr", bold).cx);
    EXPECT_GT(atoms[0].width, Extent(L"Rohr").cx);
    EXPECT_EQ(atoms[1].x, atoms[0].width);
    EXPECT_EQ(qx::FontCacheSize(), 2);
}

TEST_F(FormattedTextTest, AlignsLinesByTheirParagraph) {
    constexpr int kWidth = 3000;
    const CHtmlLayout layout = Layout(L"<P align=right>eins<br>zwei<P>drei<P align=center>vier", {0, 0, kWidth, 1000});
    ASSERT_EQ(LineTexts(layout), (std::vector<std::wstring>{L"", L"eins", L"zwei", L"", L"drei", L"", L"vier"}));
    const auto& lines = layout.Lines();
    for (int k : {1, 2}) {
        const CHtmlAtom& atom = lines[k].atoms[0];
        EXPECT_EQ(atom.x + atom.width, kWidth) << k;
    }
    EXPECT_EQ(lines[4].atoms[0].x, 0);
    EXPECT_EQ(lines[6].atoms[0].x, (kWidth - lines[6].atoms[0].width) / 2);

    // The object's own alignment holds until a paragraph changes it.
    const CHtmlLayout right = Layout(L"a</P>b<br>c", {0, 0, kWidth, 1000}, qx::kAlignRight);
    EXPECT_EQ(right.Lines()[0].alignment, qx::kAlignRight);
    EXPECT_EQ(right.Lines()[1].alignment, qx::kAlignLeft);
}

TEST_F(FormattedTextTest, StacksLinesOnACommonBaseline) {
    const CHtmlLayout layout = Layout(L"a<br><br><font size=6>B</font><font size=1>c</font><sub>2</sub>",
                                      {0, 0, 5000, 1000});
    const auto& lines = layout.Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].height, 134);  // an empty line
    EXPECT_EQ(lines[1].top, lines[0].height);
    EXPECT_EQ(layout.Height(), lines[0].height + 134 + lines[2].height);

    const auto& atoms = lines[2].atoms;
    ASSERT_EQ(atoms.size(), 3u);
    EXPECT_EQ(lines[2].height, std::max(atoms[0].height, atoms[1].height));
    const int baseline = atoms[0].y + atoms[0].height - atoms[0].descent;
    EXPECT_EQ(atoms[1].y + atoms[1].height - atoms[1].descent, baseline);
    // A subscript goes down by half its height from the baseline.
    EXPECT_EQ(atoms[2].y + atoms[2].height - atoms[2].descent, baseline + atoms[2].height / 2);
    EXPECT_LT(atoms[1].height, atoms[0].height);
}

TEST_F(FormattedTextTest, RaisesABulletAboveThePieceBefore) {
    const CString markup = CString(L"Text<sup>") + kBullet + L"</sup> <sup>" + kBullet + L"</sup>";
    const CHtmlLayout layout = Layout(markup, {0, 0, 5000, 1000});
    ASSERT_EQ(layout.Lines().size(), 1u);
    const auto& atoms = layout.Lines()[0].atoms;
    ASSERT_EQ(atoms.size(), 3u);
    const CHtmlAtom& text = atoms[0];
    for (int k : {1, 2}) {
        SCOPED_TRACE(k);
        const CHtmlAtom& bullet = atoms[k];
        const CHtmlAtom& before = atoms[k - 1];
        EXPECT_TRUE(bullet.raisedBullet);
        EXPECT_EQ(bullet.x, before.x + (before.width - bullet.width) / 2);
        EXPECT_EQ(bullet.y, before.y - 9 * (before.width - bullet.width) / 6);
    }
    EXPECT_EQ(layout.Lines()[0].height, text.height);

    // A bullet that starts a line is an ordinary piece.
    const CHtmlLayout alone = Layout(CString(L"<sup>") + kBullet, {0, 0, 5000, 1000});
    EXPECT_FALSE(alone.Lines()[0].atoms[0].raisedBullet);
}

TEST_F(FormattedTextTest, CentresASingleLineTextButNeverUpward) {
    CHtmlLayout layout = Layout(L"a", {0, 0, 500, 1000});
    const int height = layout.Height();
    const int top = layout.Lines()[0].atoms[0].y;
    layout.Arrange(1, true);
    EXPECT_EQ(layout.Lines()[0].atoms[0].y, top + (1000 - height) / 2);
    EXPECT_EQ(layout.Height(), height);

    CHtmlLayout low = Layout(L"a", {0, 0, 500, 10});
    low.Arrange(1, true);
    EXPECT_EQ(low.Lines()[0].atoms[0].y, top);
}

TEST_F(FormattedTextTest, MultiplierScalesThePlacement) {
    CHtmlLayout layout = Layout(L"<P align=right>ab cd<br><br>e", {0, 0, 3000, 1000});
    std::vector<CPoint> atOne;
    for (const CHtmlLine& line : layout.Lines())
        for (const CHtmlAtom& atom : line.atoms) atOne.push_back({atom.x, atom.y});
    const int heightAtOne = layout.Height();
    EXPECT_EQ(layout.Arrange(2, false), 2 * heightAtOne);
    size_t k = 0;
    for (const CHtmlLine& line : layout.Lines())
        for (const CHtmlAtom& atom : line.atoms) {
            EXPECT_EQ(atom.x, 2 * atOne[k].x) << k;
            EXPECT_EQ(atom.y, 2 * atOne[k].y) << k;
            ++k;
        }
    EXPECT_EQ(layout.Lines()[2].height, 268);
}

// A turned text is the unturned layout of the turned box, turned as a whole.
TEST_F(FormattedTextTest, LaysTurnedTextsAlongTheTurnedAxes) {
    const CString markup = L"<P align=center>Vorlauf- temperatur<br>und R\u00FCcklauf";
    constexpr int kWidth = 900;
    constexpr int kHeight = 2100;
    struct Case {
        int angle;
        bool crosswise;
    } const cases[] = {{90, true}, {180, false}, {270, true}, {-90, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        DynamicFontInfo turned;
        turned.angle = c.angle;
        const CRect box(100, 200, 100 + kWidth, 200 + kHeight);
        CHtmlLayout layout = Layout(markup, box, qx::kAlignLeft, turned);
        const CRect frame = c.crosswise ? CRect(0, 0, kHeight, kWidth) : CRect(0, 0, kWidth, kHeight);
        CHtmlLayout flat = Layout(markup, frame);
        ASSERT_EQ(LineTexts(layout), LineTexts(flat));
        layout.Arrange(1, true);
        flat.Arrange(1, true);
        const std::vector<HtmlTextRun> runs = layout.TakeLines(INT_MAX);
        const std::vector<HtmlTextRun> flatRuns = flat.TakeLines(INT_MAX);
        ASSERT_EQ(runs.size(), flatRuns.size());
        for (size_t k = 0; k < runs.size(); ++k) {
            const CRect& u = flatRuns[k].box;
            const CRect& r = runs[k].box;
            const CRect expected = c.angle == 180 ? CRect(kWidth - u.right, kHeight - u.bottom, kWidth - u.left, kHeight - u.top)
                                 : c.angle == 90  ? CRect(kWidth - u.bottom, u.left, kWidth - u.top, u.right)
                                                  : CRect(u.top, kHeight - u.right, u.bottom, kHeight - u.left);
            EXPECT_EQ(r, expected) << k;
            EXPECT_EQ(runs[k].font.angle, c.angle);
        }
    }
}

TEST_F(FormattedTextTest, FlatteningContinuesWhereItStopped) {
    CHtmlLayout layout = Layout(L"eins zwei<br><b>drei</b><br>vier", {0, 0, 5000, 1000});
    ASSERT_EQ(layout.Lines().size(), 3u);
    const int firstTwo = layout.Lines()[0].height + layout.Lines()[1].height;

    EXPECT_TRUE(layout.TakeLines(layout.Lines()[0].height - 1).empty());
    EXPECT_EQ(layout.Lines().size(), 3u);
    std::vector<HtmlTextRun> runs = layout.TakeLines(firstTwo);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].text, L"eins ");
    EXPECT_EQ(runs[1].text, L"zwei");
    EXPECT_EQ(runs[2].text, L"drei");
    EXPECT_TRUE(runs[2].font.bold);
    const CSize zwei = Extent(L"zwei");
    EXPECT_EQ(runs[1].box, CRect(runs[0].box.right, 0, runs[0].box.right + zwei.cx, zwei.cy));

    // What is left is placed from the top again.
    ASSERT_EQ(layout.Lines().size(), 1u);
    EXPECT_EQ(layout.Lines()[0].top, 0);
    EXPECT_EQ(layout.Height(), layout.Lines()[0].height);
    runs = layout.TakeLines(INT_MAX);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].text, L"vier");
    EXPECT_EQ(runs[0].box.top, 0);
    EXPECT_TRUE(layout.Lines().empty());
    EXPECT_EQ(layout.Height(), 0);
}

TEST_F(FormattedTextTest, DrawsEachPieceInItsColour) {
    ImageTargetOptions options;
    CImageDC image(400, 120, options);
    DynamicFontInfo big;
    big.size = 40;
    const CHtmlLayout layout = CHtmlLayout(image, L"<font color=#FF0000>XXX</font> XXX", big, qx::kAlignLeft,
                                           {10, 10, 390, 110});
    ASSERT_EQ(layout.Lines().size(), 1u);
    const auto& atoms = layout.Lines()[0].atoms;
    ASSERT_EQ(atoms.size(), 2u);

    struct Count {
        int red = 0;
        int dark = 0;
    };
    auto count = [](const CImageDC& target, const CHtmlAtom& atom) {
        Count found;
        for (int x = 10 + atom.x; x < 10 + atom.x + atom.width; ++x)
            for (int y = 10 + atom.y; y < 10 + atom.y + atom.height; ++y) {
                const COLORREF pixel = target.GetPixel(x, y);
                if (GetRValue(pixel) > 200 && GetGValue(pixel) < 60) ++found.red;
                if (GetRValue(pixel) < 60 && GetGValue(pixel) < 60) ++found.dark;
            }
        return found;
    };

    image.SetTextColor(RGB(0, 0, 255));
    layout.Draw(image, false);
    EXPECT_GT(count(image, atoms[0]).red, 20);
    EXPECT_EQ(count(image, atoms[1]).red, 0);
    EXPECT_GT(count(image, atoms[1]).dark, 20);
    EXPECT_EQ(image.GetTextColor(), RGB(0, 0, 255));

    CImageDC monochrome(400, 120, options);
    layout.Draw(monochrome, true);
    EXPECT_EQ(count(monochrome, atoms[0]).red, 0);
    EXPECT_GT(count(monochrome, atoms[0]).dark, 20);
}

}  // namespace
