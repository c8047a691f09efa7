#include "qx/print/font_cache.h"

#include <climits>
#include <functional>

#include <gtest/gtest.h>

#include "qx/platform/gfx/targets.h"

namespace {

class FontCacheTest : public testing::Test {
protected:
    FontCacheTest() { qx::ClearFontCache(); }
    ~FontCacheTest() override { qx::ClearFontCache(); }
};

TEST_F(FontCacheTest, CharacterHeightFollowsTheSizeRules) {
    struct Case {
        const char* name;
        int size;
        int multiplier;
        bool reduced;  // superscript or subscript
        int height;
    } const cases[] = {
        {"size scaled and cut", 100, 1, false, -133},
        {"small size cut toward zero", 10, 1, false, -13},
        {"multiplier after cutting", 10, 3, false, -39},
        {"size 0", 0, 1, false, 0},
        {"fixed 1", -1, 1, false, -86},
        {"fixed 2", -2, 1, false, -115},
        {"fixed 3", -3, 1, false, -134},
        {"fixed 4", -4, 1, false, -152},
        {"fixed 5", -5, 1, false, -204},
        {"fixed 6", -6, 1, false, -270},
        {"other negative sizes", -7, 1, false, -400},
        {"lowest size", INT_MIN, 1, false, -400},
        {"fixed heights scale like the others", -3, 2, false, -268},
        {"reduced: three quarters toward zero", -3, 1, true, -100},
        {"reduced small size", 10, 1, true, -9},
        {"no multiplier counts as one", -3, 0, false, -134},
        {"bounded", INT_MAX, 1, false, -qx::kMaxFontHeight},
        {"bounded with multiplier", 100, INT_MAX, false, -qx::kMaxFontHeight},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DynamicFontInfo description;
        description.size = c.size;
        description.superscript = c.reduced;
        EXPECT_EQ(qx::FontCharacterHeight(description, c.multiplier), c.height);
        description.superscript = false;
        description.subscript = c.reduced;
        EXPECT_EQ(qx::FontCharacterHeight(description, c.multiplier), c.height);
    }
}

TEST_F(FontCacheTest, EqualDescriptionsShareOneFont) {
    DynamicFontInfo description;
    description.face = L"Courier New";
    description.bold = true;
    CDynamicFont& first = qx::GetFont(description);
    CDynamicFont& second = qx::GetFont(DynamicFontInfo(description));
    EXPECT_EQ(&first, &second);
    EXPECT_EQ(qx::FontCacheSize(), 1);

    // Any field that differs makes another font.
    const std::function<void(DynamicFontInfo&)> changes[] = {
        [](DynamicFontInfo& d) { d.face = L"courier new"; },
        [](DynamicFontInfo& d) { d.size = 11; },
        [](DynamicFontInfo& d) { d.colour = 1; },
        [](DynamicFontInfo& d) { d.angle = 90; },
        [](DynamicFontInfo& d) { d.bold = false; },
        [](DynamicFontInfo& d) { d.italic = true; },
        [](DynamicFontInfo& d) { d.underline = true; },
        [](DynamicFontInfo& d) { d.charset = 0; },
        [](DynamicFontInfo& d) { d.superscript = true; },
        [](DynamicFontInfo& d) { d.subscript = true; },
    };
    int expected = 1;
    for (const auto& change : changes) {
        SCOPED_TRACE(expected);
        DynamicFontInfo other = description;
        change(other);
        EXPECT_NE(&qx::GetFont(other), &first);
        EXPECT_EQ(qx::FontCacheSize(), ++expected);
    }
    qx::ClearFontCache();
    EXPECT_EQ(qx::FontCacheSize(), 0);
}

TEST_F(FontCacheTest, SelectMakesThePlatformFontAndRecordsItsMetrics) {
    CMemoryDC dc;
    DynamicFontInfo description;
    description.size = -3;
    description.angle = 90;
    description.bold = true;
    description.underline = true;
    CDynamicFont& font = qx::GetFont(description);

    CFont* before = dc.GetCurrentFont();
    EXPECT_EQ(font.Select(dc, 1), before);
    EXPECT_EQ(dc.GetCurrentFont(), &font.Font());
    const LOGFONT& made = font.Font().Description();
    EXPECT_EQ(made.lfHeight, -134);
    EXPECT_EQ(made.lfEscapement, -900);
    EXPECT_EQ(made.lfWeight, FW_BOLD);
    EXPECT_TRUE(made.lfUnderline);
    EXPECT_FALSE(made.lfItalic);
    EXPECT_EQ(made.lfFaceName, L"Arial");
    EXPECT_NEAR(font.CharacterHeight(), 134, 1);
    EXPECT_GT(font.Descent(), 0);
    const int descentAtOne = font.Descent();

    font.Select(dc, 2);
    EXPECT_EQ(font.Font().Description().lfHeight, -268);
    EXPECT_NEAR(font.CharacterHeight(), 268, 2);
    EXPECT_NEAR(font.Descent(), 2 * descentAtOne, 2);
    dc.SelectObject(before);
}

}  // namespace
