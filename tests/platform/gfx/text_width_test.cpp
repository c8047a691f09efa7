// Widths of new strings: texts of simple scripts are measured as the sum of
// their characters' advances, and must come out exactly as wide as the same
// text laid out by Pango under the layer's measuring rule (no hinting,
// unrounded positions, no kerning, no ligatures, the fixed measuring em).
#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "qx/platform/base/utf.h"
#include "qx/platform/gfx/internal/font_system.h"
#include "qx/platform/gfx/targets.h"

namespace {

constexpr double kPangoUnitsPerEm = qx::gfx::kMeasureEm * PANGO_SCALE;

// An independent Pango layout at the measuring em, for one face.
class ReferenceLayout {
public:
    ReferenceLayout(const char* family, int weight, bool italic, bool kerning) {
        fontMap_ = pango_cairo_font_map_new();
        context_ = pango_font_map_create_context(fontMap_);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        pango_cairo_context_set_font_options(context_, options);
        cairo_font_options_destroy(options);
        pango_context_set_round_glyph_positions(context_, FALSE);
        layout_ = pango_layout_new(context_);
        PangoFontDescription* description = pango_font_description_new();
        pango_font_description_set_family(description, family);
        pango_font_description_set_weight(description, static_cast<PangoWeight>(weight));
        pango_font_description_set_style(description, italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
        pango_font_description_set_absolute_size(description, kPangoUnitsPerEm);
        pango_layout_set_font_description(layout_, description);
        pango_font_description_free(description);
        if (!kerning) {
            PangoAttrList* attributes = pango_attr_list_new();
            pango_attr_list_insert(attributes, pango_attr_font_features_new("kern 0, liga 0, clig 0"));
            pango_layout_set_attributes(layout_, attributes);
            pango_attr_list_unref(attributes);
        }
    }
    ~ReferenceLayout() {
        g_object_unref(layout_);
        g_object_unref(context_);
        g_object_unref(fontMap_);
    }
    ReferenceLayout(const ReferenceLayout&) = delete;
    ReferenceLayout& operator=(const ReferenceLayout&) = delete;

    // Width in logical units for a font of em height `em`, rounded once.
    int Width(const std::wstring& text, double em) {
        const std::string utf8 = qx::WideToUtf8(text);
        pango_layout_set_text(layout_, utf8.data(), static_cast<int>(utf8.size()));
        PangoRectangle logical;
        pango_layout_get_extents(layout_, nullptr, &logical);
        return static_cast<int>(std::lround(logical.width / kPangoUnitsPerEm * em));
    }

private:
    PangoFontMap* fontMap_ = nullptr;
    PangoContext* context_ = nullptr;
    PangoLayout* layout_ = nullptr;
};

struct Face {
    const wchar_t* requested;
    const char* installed;
    int weight;
    bool italic;
};

TEST(TextWidth, NewStringsMeasureAsTheirUnkernedLayout) {
    const Face faces[] = {
        {L"Arial", "Liberation Sans", FW_NORMAL, false},
        {L"Arial", "Liberation Sans", FW_BOLD, false},
        {L"Times New Roman", "Liberation Serif", FW_NORMAL, true},
        {L"Courier New", "Liberation Mono", FW_BOLD, true},
    };
    // Latin with accents, ß, euro, dashes, quotes, bullets; pairs that kern
    // and letters that would form ligatures; and texts that take the layout
    // (a combining accent, Cyrillic, a zero-width joiner).
    const std::wstring texts[] = {
        L"Rohr DN 50 L=1234 mm",
        L"Heizk\u00F6rper \u00DCbergr\u00F6\u00DFe Stra\u00DFe",
        L"Preis 12,50 \u20AC \u2013 netto \u2014 brutto",
        L"\u201EZitat\u201C \u201Aeins\u2018 \u00ABzwei\u00BB \u2039drei\u203A \u2019s",
        L"\u2022 Punkt \u2026 \u2020 \u2030 \u2122",
        L"AVATAR To WAVE Ty. fi fl ffi office",
        L"\u0141\u00F3d\u017A \u010Ce\u0161tina \u0218tefan \u01C5 \u0250",
        L" leading and trailing  ",
        L"Cafe\u0301 au lait",
        L"\u041F\u0440\u0438\u0432\u0435\u0442 Welt",
        L"a\u200Db",
    };
    // At the last height one logical unit is one Pango unit of the
    // measuring layout: the sum of advances must match to the unit.
    const int heights[] = {-13, -183, -2048, -static_cast<int>(qx::gfx::kMeasureEm) * PANGO_SCALE};
    CMemoryDC dc;
    for (const Face& face : faces) {
        ReferenceLayout reference(face.installed, face.weight, face.italic, false);
        for (int height : heights) {
            CFont font;
            font.CreateFont(height, 0, 0, 0, face.weight, face.italic, false, false, DEFAULT_CHARSET, face.requested);
            dc.SelectObject(&font);
            for (const std::wstring& text : texts) {
                SCOPED_TRACE(testing::Message() << face.installed << " " << face.weight
                                                << (face.italic ? " italic" : "") << " at " << height << ": "
                                                << qx::WideToUtf8(text));
                // Twice: the first time fills the face's table, the second reads it.
                for (int pass = 0; pass < 2; ++pass) {
                    EXPECT_EQ(dc.GetTextExtent(text.c_str()).cx, reference.Width(text, -height));
                }
            }
            dc.SelectStockObject(DEFAULT_GUI_FONT);
        }
    }
}

TEST(TextWidth, KerningAndLigaturesAreOffEverywhere) {
    // Laid out with the face's own kerning, these texts are narrower: the
    // layer must not kern them, measured or drawn.
    ReferenceLayout kerned("Liberation Sans", FW_NORMAL, false, true);
    ReferenceLayout plain("Liberation Sans", FW_NORMAL, false, false);
    const std::wstring text = L"AVATAR To WAVE";
    ASSERT_LT(kerned.Width(text, 200), plain.Width(text, 200));

    CImageDC image(2000, 300);
    CFont font;
    font.CreateFont(-200, 0, 0, 0, FW_NORMAL, false, false, false, DEFAULT_CHARSET, L"Arial");
    image.SelectObject(&font);
    EXPECT_EQ(image.GetTextExtent(text.c_str()).cx, plain.Width(text, 200));
    // The right edge of the ink of the last "E" sits where the unkerned
    // width puts it, within the letter's side bearing, not where kerning would.
    image.SetBkMode(TRANSPARENT);
    image.TextOut(10, 10, text.c_str());
    int right = 0;
    for (int y = 0; y < image.HeightPixels(); ++y) {
        for (int x = 0; x < image.WidthPixels(); ++x) {
            if (image.GetPixel(x, y) != RGB(255, 255, 255)) right = std::max(right, x + 1);
        }
    }
    const int plainEnd = 10 + plain.Width(text, 200);
    const int kernedEnd = 10 + kerned.Width(text, 200);
    EXPECT_GT(right, kernedEnd);
    EXPECT_LE(right, plainEnd);
    image.SelectStockObject(DEFAULT_GUI_FONT);
}

}  // namespace
