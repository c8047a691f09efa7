// Lines of simple-script characters are drawn as runs of the face's glyphs
// without a Pango layout; any other line goes through the layout. Both roads
// must put the same ink in the same place, and a PDF must keep the text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "qx/platform/gfx/internal/font_system.h"
#include "qx/platform/gfx/targets.h"
#include "tests/platform/gfx/gfx_fixture.h"
#include "tests/support/test_support.h"

namespace {

using qx::test::InkBox;

struct DrawnText {
    CRect ink;
    int inkPixels = 0;
};

struct TextCase {
    const char* name;
    const wchar_t* face;
    int height;
    int weight;
    bool italic;
    bool underline;
    bool strikeOut;
    int escapement;
    const wchar_t* text;
    bool drawText;  // DrawText with word breaks and centring instead of TextOut
};

DrawnText Draw(const TextCase& c, bool layoutOnly) {
    qx::gfx::SetLayoutTextOnly(layoutOnly);
    CImageDC dc(640, 640);
    CFont font;
    font.CreateFont(c.height, 0, c.escapement, 0, c.weight, c.italic, c.underline, c.strikeOut, DEFAULT_CHARSET,
                    c.face);
    dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 160));
    if (c.drawText) {
        CRect rect(20, 20, 400, 600);
        dc.DrawText(c.text, &rect, DT_WORDBREAK | DT_CENTER);
    } else {
        dc.TextOut(320, 320, c.text);
    }
    dc.SelectStockObject(DEFAULT_GUI_FONT);
    qx::gfx::SetLayoutTextOnly(false);
    DrawnText drawn{InkBox(dc), 0};
    for (int y = drawn.ink.top; y < drawn.ink.bottom; ++y) {
        for (int x = drawn.ink.left; x < drawn.ink.right; ++x) drawn.inkPixels += dc.GetPixel(x, y) != RGB(255, 255, 255);
    }
    return drawn;
}

TEST(TextRoutes, GlyphRunsDrawWhatTheLayoutDraws) {
    const TextCase cases[] = {
        {"sans", L"Arial", -24, FW_NORMAL, false, false, false, 0, L"Rohr DN 50 L=1234 mm", false},
        {"sans bold small", L"Arial", -9, FW_BOLD, false, false, false, 0, L"Heizk\u00f6rper \u20ac 12,50", false},
        {"serif italic", L"Times New Roman", -31, FW_NORMAL, true, false, false, 0, L"Ventil \u201eQ\u201c \u2013 fj\u00df",
         false},
        {"mono cell height", L"Courier New", 28, FW_NORMAL, false, false, false, 0, L"Kessel 100% \u00e6\u0153", false},
        {"underline and strike-out", L"Arial", -30, FW_NORMAL, false, true, true, 0, L"Bogen 90\u00b0", false},
        {"turned 90", L"Arial", -22, FW_NORMAL, false, true, false, 900, L"Pumpe 3 kW", false},
        {"turned 30", L"Times New Roman", -26, FW_BOLD, false, false, true, 300, L"Zuluft \u2026 Abluft", false},
        {"turned 270", L"Courier New", -20, FW_NORMAL, true, false, false, 2700, L"\u0141\u00f3d\u017a \u0218", false},
        {"wrapped lines", L"Arial", -18, FW_NORMAL, false, true, false, 0,
         L"Die Heizlast des Raumes betr\u00e4gt 12,5 kW bei \u221212 \u00b0C Au\u00dfentemperatur", true},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        const DrawnText glyphs = Draw(c, false);
        const DrawnText layout = Draw(c, true);
        ASSERT_FALSE(layout.ink.IsRectEmpty());
        EXPECT_NEAR(glyphs.ink.left, layout.ink.left, 1);
        EXPECT_NEAR(glyphs.ink.top, layout.ink.top, 1);
        EXPECT_NEAR(glyphs.ink.right, layout.ink.right, 1);
        EXPECT_NEAR(glyphs.ink.bottom, layout.ink.bottom, 1);
        // The same glyphs, not only the same extent.
        EXPECT_NEAR(glyphs.inkPixels, layout.inkPixels, layout.inkPixels / 50 + 2);
    }
}

// Characters outside the simple scripts (here a Greek letter and a line feed,
// drawn as a space) still draw through the layout, alone or mixed with Latin.
TEST(TextRoutes, OtherTextStillDraws) {
    const TextCase mixed{"mixed", L"Arial", -24, FW_NORMAL, false, false, false, 0, L"\u0394p = 12 Pa\nx", false};
    const DrawnText drawn = Draw(mixed, false);
    const DrawnText layout = Draw(mixed, true);
    EXPECT_EQ(drawn.ink, layout.ink);
    EXPECT_EQ(drawn.inkPixels, layout.inkPixels);
}

TEST(TextRoutes, PdfKeepsTheTextDrawnAsGlyphs) {
    qx::test::TempDir dir;
    PrinterSettings settings;
    settings.outputPath = dir.Wide("text.pdf").c_str();
    CPrinterDC dc(settings);
    ASSERT_EQ(dc.StartDoc(L"text"), 1);
    dc.StartPage();
    CFont font;
    font.CreateFont(-100, 0, 0, 0, FW_NORMAL, false, true, false, DEFAULT_CHARSET, L"Arial");
    dc.SelectObject(&font);
    dc.TextOut(200, 200, L"Heizk\u00f6rper DN 20 \u2013 12,50 \u20ac");
    CRect rect(200, 600, 3000, 1200);
    dc.DrawText(L"Rohr L=1234 mm", &rect, DT_SINGLELINE);
    dc.SelectStockObject(DEFAULT_GUI_FONT);
    dc.EndPage();
    ASSERT_EQ(dc.EndDoc(), 1);

    const std::string command = "pdftotext -enc UTF-8 '" + dir.Native("text.pdf") + "' '" + dir.Native("text.txt") + "'";
    if (std::system(command.c_str()) != 0) GTEST_SKIP() << "pdftotext is not available";
    const std::string text = qx::test::ReadBytes(dir.path() / "text.txt");
    EXPECT_NE(text.find("Heizk\xc3\xb6rper DN 20 \xe2\x80\x93 12,50 \xe2\x82\xac"), std::string::npos) << text;
    EXPECT_NE(text.find("Rohr L=1234 mm"), std::string::npos) << text;
}

}  // namespace
