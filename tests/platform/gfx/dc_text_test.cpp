// Text: measuring that scales with the font and not with the target, font
// heights, rotation around the reference point and DrawText placement.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "qx/platform/gfx/font_state.h"
#include "qx/platform/gfx/targets.h"
#include "tests/platform/gfx/gfx_fixture.h"
#include "tests/support/test_support.h"

namespace {

using qx::test::InkBox;
using qx::test::MakeFont;

const CString kSample = L"Heizlast 12,5 kW Wg";

TEST(DcText, ExtentsAndMetricsScaleLinearlyWithTheHeight) {
    CMemoryDC dc;
    auto base = MakeFont(-100);
    dc.SelectObject(base.get());
    const CSize baseExtent = dc.GetTextExtent(kSample);
    TEXTMETRIC baseMetrics;
    ASSERT_TRUE(dc.GetTextMetrics(&baseMetrics));
    ASSERT_GT(baseExtent.cx, 500);
    for (int factor : {3, 7, 20}) {
        SCOPED_TRACE(factor);
        auto font = MakeFont(-100 * factor);
        dc.SelectObject(font.get());
        const CSize extent = dc.GetTextExtent(kSample);
        TEXTMETRIC metrics;
        ASSERT_TRUE(dc.GetTextMetrics(&metrics));
        // Each figure is rounded once, so the error is at most half a unit
        // per scaled rounding.
        EXPECT_NEAR(extent.cx, baseExtent.cx * factor, factor / 2.0 + 0.5);
        EXPECT_NEAR(extent.cy, baseExtent.cy * factor, factor + 1.0);
        EXPECT_NEAR(metrics.tmAscent, baseMetrics.tmAscent * factor, factor / 2.0 + 0.5);
        EXPECT_NEAR(metrics.tmAveCharWidth, baseMetrics.tmAveCharWidth * factor, factor / 2.0 + 0.5);
    }
    dc.SelectStockObject(DEFAULT_GUI_FONT);
}

TEST(DcText, MeasuringIsTheSameOnEveryTarget) {
    qx::test::TempDir dir;
    PrinterSettings settings;
    settings.outputPath = dir.Wide("job.pdf").c_str();
    CPrinterDC printer(settings);
    CImageDC image(10, 10);
    CMemoryDC memory;
    CMetaFileDC metafile(&printer);
    // The printer draws in engine units, as the print engine sets it up:
    // measuring is in logical units and must not see the mapping.
    printer.SetMapMode(MM_ANISOTROPIC);
    printer.SetWindowExt(1322, 1322);
    printer.SetViewportExt(600, 600);
    std::vector<CDC*> targets = {&printer, &image, &memory, &metafile};
    for (int height : {-13, -134, 40, -400}) {
        SCOPED_TRACE(height);
        auto font = MakeFont(height, L"Times New Roman");
        std::vector<CSize> extents;
        for (CDC* dc : targets) {
            CFont* previous = dc->SelectObject(font.get());
            extents.push_back(dc->GetTextExtent(kSample));
            dc->SelectObject(previous);
        }
        for (const CSize& extent : extents) EXPECT_EQ(extent, extents.front());
    }
}

TEST(DcText, NegativeHeightIsTheEmPositiveTheCell) {
    CMemoryDC dc;
    for (int height : {12, 40, 134, 1000}) {
        SCOPED_TRACE(height);
        auto em = MakeFont(-height);
        dc.SelectObject(em.get());
        TEXTMETRIC metrics;
        dc.GetTextMetrics(&metrics);
        EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, height);
        EXPECT_GT(metrics.tmInternalLeading, 0);
        EXPECT_EQ(metrics.tmHeight, metrics.tmAscent + metrics.tmDescent);

        auto cell = MakeFont(height);
        dc.SelectObject(cell.get());
        dc.GetTextMetrics(&metrics);
        EXPECT_NEAR(metrics.tmHeight, height, 1);
        EXPECT_EQ(dc.GetTextExtent(L"x").cy, metrics.tmHeight);
    }
    dc.SelectStockObject(DEFAULT_GUI_FONT);
}

TEST(DcText, FacesMapToMetricCompatibleFonts) {
    CMemoryDC dc;
    auto arial = MakeFont(-100, L"Arial");
    auto courier = MakeFont(-100, L"Courier New");
    dc.SelectObject(arial.get());
    // A proportional face: "i" is much narrower than "W".
    EXPECT_LT(dc.GetTextExtent(L"iiii").cx * 2, dc.GetTextExtent(L"WWWW").cx);
    dc.SelectObject(courier.get());
    EXPECT_EQ(dc.GetTextExtent(L"iiii").cx, dc.GetTextExtent(L"WWWW").cx);
    // Courier New has advances of 0.6 em.
    EXPECT_EQ(dc.GetTextExtent(L"WWWW").cx, 240);
    dc.SelectStockObject(ANSI_FIXED_FONT);
    EXPECT_EQ(dc.GetTextExtent(L"ii").cx, dc.GetTextExtent(L"WW").cx);
    dc.SelectStockObject(DEFAULT_GUI_FONT);
}

TEST(DcText, BoldIsWiderAndResetKeepsFontsWorking) {
    CMemoryDC dc;
    CFont bold;
    bold.CreateFont(-100, 0, 0, 0, FW_BOLD, false, false, false, DEFAULT_CHARSET, L"Arial");
    auto regular = MakeFont(-100);
    dc.SelectObject(regular.get());
    const int regularWidth = dc.GetTextExtent(kSample).cx;
    dc.SelectObject(&bold);
    const int boldWidth = dc.GetTextExtent(kSample).cx;
    EXPECT_GT(boldWidth, regularWidth);
    qx::gfx::ResetFontState();
    EXPECT_EQ(dc.GetTextExtent(kSample).cx, boldWidth);
    dc.SelectStockObject(DEFAULT_GUI_FONT);
}

TEST(DcText, ControlCharactersAndBrokenTextAreMeasuredAndDrawn) {
    CImageDC dc(200, 50);
    auto font = MakeFont(-20);
    dc.SelectObject(font.get());
    const wchar_t withZero[] = {L'a', L'\0', L'b'};
    EXPECT_EQ(dc.GetTextExtent(withZero, 3), dc.GetTextExtent(L"a b"));
    EXPECT_EQ(dc.GetTextExtent(L"a\tb\r\nc"), dc.GetTextExtent(L"a b  c"));
    const wchar_t broken[] = {L'a', static_cast<wchar_t>(0xD800), static_cast<wchar_t>(0x110000), L'b'};
    EXPECT_GT(dc.GetTextExtent(broken, 4).cx, dc.GetTextExtent(L"ab").cx);
    EXPECT_TRUE(dc.TextOut(5, 5, broken, 4));
    EXPECT_FALSE(dc.TextOut(5, 5, broken, -1));
    EXPECT_EQ(dc.GetTextExtent(nullptr, 5).cx, 0);
    dc.SelectStockObject(DEFAULT_GUI_FONT);
}

TEST(DcText, EscapementTurnsTheTextAroundTheReferencePoint) {
    struct Case {
        int escapement;
        // Where the ink lies relative to the reference point (200, 200).
        bool right, below;
        bool upright;  // taller than wide
    };
    const Case cases[] = {
        {0, true, true, false},
        {900, true, false, true},
        {1800, false, false, false},
        {2700, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.escapement);
        CImageDC dc(400, 400);
        auto font = MakeFont(-30, L"Arial", c.escapement);
        dc.SelectObject(font.get());
        dc.SetBkMode(TRANSPARENT);
        dc.TextOut(200, 200, L"HHHHHH");
        dc.SelectStockObject(DEFAULT_GUI_FONT);
        CRect ink = InkBox(dc);
        ASSERT_FALSE(ink.IsRectEmpty());
        const int slack = 2;
        if (c.right) {
            EXPECT_GE(ink.left, 200 - slack);
        } else {
            EXPECT_LE(ink.right, 200 + slack);
        }
        if (c.below) {
            EXPECT_GE(ink.top, 200 - slack);
        } else {
            EXPECT_LE(ink.bottom, 200 + slack);
        }
        EXPECT_EQ(ink.Height() > ink.Width(), c.upright);
        // The cell's long side is the text's width.
        EXPECT_GT(std::max(ink.Width(), ink.Height()), 100);
    }
}

TEST(DcText, OpaqueModeFillsTheCellBehindTheText) {
    CImageDC dc(200, 60);
    auto font = MakeFont(-20);
    dc.SelectObject(font.get());
    dc.SetBkColor(RGB(0, 255, 0));
    dc.TextOut(10, 10, L"WH");  // no descender reaching past the rounded cell
    const CSize extent = dc.GetTextExtent(L"WH");
    EXPECT_EQ(InkBox(dc), CRect(10, 10, 10 + extent.cx, 10 + extent.cy));
    dc.SelectStockObject(DEFAULT_GUI_FONT);
}

TEST(DcText, DrawTextPlacesEachAlignment) {
    const CRect box(10, 10, 290, 90);
    struct Case {
        const char* name;
        unsigned format;
        int expectedLeft;  // -1: centred
        int expectedTop;   // -1: centred, -2: at the bottom
    };
    const Case cases[] = {
        {"left top", DT_LEFT | DT_TOP | DT_SINGLELINE, box.left, box.top},
        {"right", DT_RIGHT | DT_SINGLELINE, -3, box.top},
        {"centre", DT_CENTER | DT_SINGLELINE, -1, box.top},
        {"vertical centre", DT_VCENTER | DT_SINGLELINE, box.left, -1},
        {"bottom", DT_BOTTOM | DT_SINGLELINE, box.left, -2},
        {"vertical centre needs single line", DT_VCENTER | DT_WORDBREAK, box.left, box.top},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CImageDC dc(300, 100);
        auto font = MakeFont(-20);
        dc.SelectObject(font.get());
        dc.SetBkColor(RGB(0, 0, 255));  // opaque cells show where lines go
        CRect rect = box;
        const int height = dc.DrawText(L"WH WH", &rect, c.format | DT_NOPREFIX);
        const CSize extent = dc.GetTextExtent(L"WH WH");
        dc.SelectStockObject(DEFAULT_GUI_FONT);
        EXPECT_EQ(rect, box);
        CRect ink = InkBox(dc);
        int left = c.expectedLeft == -1   ? box.left + (box.Width() - extent.cx) / 2
                   : c.expectedLeft == -3 ? box.right - extent.cx
                                          : c.expectedLeft;
        int top = c.expectedTop == -1   ? box.top + (box.Height() - extent.cy) / 2
                  : c.expectedTop == -2 ? box.bottom - extent.cy
                                        : c.expectedTop;
        EXPECT_EQ(ink, CRect(left, top, left + extent.cx, top + extent.cy));
        EXPECT_EQ(height, top - box.top + extent.cy);
    }
}

TEST(DcText, DrawTextClipsToItsRectangle) {
    CImageDC dc(300, 100);
    auto font = MakeFont(-40);
    dc.SelectObject(font.get());
    dc.SetBkColor(RGB(0, 0, 255));
    CRect rect(10, 10, 40, 30);
    dc.DrawText(L"Heizung", &rect, DT_SINGLELINE);
    dc.SelectStockObject(DEFAULT_GUI_FONT);
    EXPECT_EQ(InkBox(dc), rect);
}

TEST(DcText, DrawTextBreaksLines) {
    CMemoryDC dc;
    auto font = MakeFont(-20);
    dc.SelectObject(font.get());
    const int line = dc.GetTextExtent(L"x").cy;
    const int word = dc.GetTextExtent(L"Rohr").cx;
    const int twoWords = dc.GetTextExtent(L"Rohr Rohr").cx;
    const int longWord = dc.GetTextExtent(L"Warmwasserbereitung").cx;
    struct Case {
        const char* name;
        const wchar_t* text;
        unsigned format;
        int width;
        int expectedLines;
        int expectedWidth;
    };
    const Case cases[] = {
        {"single line ignores line feeds", L"Rohr\nRohr", DT_SINGLELINE, 1000, 1, dc.GetTextExtent(L"RohrRohr").cx},
        {"line feeds break lines", L"Rohr\r\nRohr\n\nRohr", 0, 1000, 4, word},
        {"no word break keeps long lines", L"Rohr Rohr Rohr", 0, word, 1, dc.GetTextExtent(L"Rohr Rohr Rohr").cx},
        {"word break fills lines", L"Rohr Rohr Rohr Rohr", DT_WORDBREAK, twoWords, 2, twoWords},
        {"word break at exactly one word", L"Rohr Rohr Rohr", DT_WORDBREAK, twoWords - 1, 3, word},
        {"a long word stands alone", L"Rohr Warmwasserbereitung Rohr", DT_WORDBREAK, twoWords, 3, longWord},
        {"spaces at a break belong to no line", L"Rohr     Rohr", DT_WORDBREAK, word + 2, 2, word},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CRect rect(5, 5, 5 + c.width, 6);
        const int height = dc.DrawText(c.text, &rect, c.format | DT_CALCRECT | DT_NOPREFIX);
        EXPECT_EQ(height, c.expectedLines * line);
        EXPECT_EQ(rect, CRect(5, 5, 5 + c.expectedWidth, 5 + c.expectedLines * line));
    }
    dc.SelectStockObject(DEFAULT_GUI_FONT);
}

TEST(DcText, UnderlineAndStrikeOutDrawLinesButMeasureAlike) {
    CImageDC plainDc(200, 60), decoratedDc(200, 60);
    auto plain = MakeFont(-30);
    CFont decorated;
    decorated.CreateFont(-30, 0, 0, 0, FW_NORMAL, false, true, true, DEFAULT_CHARSET, L"Arial");
    plainDc.SelectObject(plain.get());
    decoratedDc.SelectObject(&decorated);
    EXPECT_EQ(plainDc.GetTextExtent(L"ooo"), decoratedDc.GetTextExtent(L"ooo"));
    plainDc.TextOut(10, 10, L"ooo");
    decoratedDc.TextOut(10, 10, L"ooo");
    // The underline runs under the letters, the strike-out through the gap
    // between the rounded letters.
    int plainInk = 0, decoratedInk = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 200; ++x) {
            plainInk += plainDc.GetPixel(x, y) != RGB(255, 255, 255);
            decoratedInk += decoratedDc.GetPixel(x, y) != RGB(255, 255, 255);
        }
    }
    EXPECT_GT(decoratedInk, plainInk + 40);
    plainDc.SelectStockObject(DEFAULT_GUI_FONT);
    decoratedDc.SelectStockObject(DEFAULT_GUI_FONT);
}

}  // namespace
