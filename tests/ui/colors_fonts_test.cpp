#include <gtest/gtest.h>

#include <climits>

#include "qx/platform/gfx/gdi_objects.h"
#include "qx/ui/colors.h"
#include "qx/ui/shared_fonts.h"

TEST(ColorsTest, MixingAndBleachingStayWithinTheChannels) {
    struct Case {
        const char* name;
        COLORREF result;
        COLORREF expected;
    } cases[] = {
        {"mixed: 86 % of white", MixedColor(RGB(255, 255, 255), RGB(0, 0, 0)), RGB(219, 219, 219)},
        {"mixed: 14 % of white, 35.7 rounded", MixedColor(RGB(0, 0, 0), RGB(255, 255, 255)), RGB(36, 36, 36)},
        {"mixed: white with white is white", MixedColor(RGB(255, 255, 255), RGB(255, 255, 255)), RGB(255, 255, 255)},
        // 25 * 0.86 = 21.5 and 25 * 0.14 = 3.5 both round up.
        {"mixed: halves round up", MixedColor(RGB(25, 0, 0), RGB(0, 25, 0)), RGB(22, 4, 0)},
        {"mixed: channels stay apart", MixedColor(RGB(200, 100, 0), RGB(0, 50, 250)), RGB(172, 93, 35)},
        {"bleached", BleachColor(30, RGB(100, 0, 200)), RGB(130, 30, 230)},
        {"bleached: capped at 255", BleachColor(30, RGB(240, 10, 255)), RGB(255, 40, 255)},
        {"darkened: floored at 0", BleachColor(-50, RGB(40, 100, 255)), RGB(0, 50, 205)},
        {"bleached by the most an int holds", BleachColor(INT_MAX, RGB(1, 2, 3)), RGB(255, 255, 255)},
        {"darkened by the least an int holds", BleachColor(INT_MIN, RGB(1, 2, 3)), RGB(0, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.result, c.expected);
    }
}

TEST(SharedFontsTest, TheNormalAndTheBoldFontShareFaceAndSizeForTheProcess) {
    CFont* normal = qxGetNormalFont();
    CFont* bold = qxGetUserEditFont();
    ASSERT_NE(normal, nullptr);
    ASSERT_NE(bold, nullptr);
    EXPECT_NE(normal, bold);
    EXPECT_EQ(qxGetNormalFont(), normal);
    EXPECT_EQ(qxGetUserEditFont(), bold);
    const LOGFONT& n = normal->Description();
    const LOGFONT& b = bold->Description();
    EXPECT_EQ(n.lfFaceName, CString(L"MS Shell Dlg"));
    EXPECT_EQ(n.lfHeight, -9);  // 7 points at 96 dots per inch
    EXPECT_EQ(n.lfWeight, FW_NORMAL);
    EXPECT_EQ(b.lfFaceName, n.lfFaceName);
    EXPECT_EQ(b.lfHeight, n.lfHeight);
    EXPECT_EQ(b.lfWeight, FW_BOLD);
}

TEST(SharedFontsTest, CreatingAFontReplacesItsWholeDescription) {
    CFont font;
    font.CreateFont(-30, 12, 900, 900, 400, true, true, true, 1, L"Arial");
    ASSERT_TRUE(CreateFontIndirectW(&font, L"Courier New", -13, 600));
    const LOGFONT& d = font.Description();
    EXPECT_EQ(d.lfFaceName, CString(L"Courier New"));
    EXPECT_EQ(d.lfHeight, -13);
    EXPECT_EQ(d.lfWeight, 600);
    EXPECT_EQ(d.lfWidth, 0);
    EXPECT_EQ(d.lfEscapement, 0);
    EXPECT_EQ(d.lfOrientation, 0);
    EXPECT_EQ(d.lfItalic, 0);
    EXPECT_EQ(d.lfUnderline, 0);
    EXPECT_EQ(d.lfStrikeOut, 0);
    EXPECT_EQ(d.lfCharSet, 0);
    ASSERT_TRUE(CreateFontIndirectW(&font, nullptr, 10, 0));
    EXPECT_EQ(font.Description().lfFaceName, CString(L""));
    EXPECT_FALSE(CreateFontIndirectW(nullptr, L"Arial", 10, 400));
}
