// Fonts and text on fontconfig, Pango and Cairo.
//
// Every measurement happens in one context that belongs to no target: metrics
// hinting off, outline hinting off, glyph positions not rounded, no kerning
// and no ligatures, text laid out at kMeasureEm pixels and scaled. So an
// extent depends only on the font's logical height, never on the target's
// resolution, and drawing matches what was measured: a line of simple-script
// characters is drawn as the face's glyphs placed by the same advances that
// measured it, any other line as the layout placed its glyphs.
#include <fontconfig/fontconfig.h>
#include <hb.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "qx/platform/base/checked_length.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/gfx/font_state.h"
#include "qx/platform/gfx/internal/advance_table.h"
#include "qx/platform/gfx/internal/extent_cache.h"
#include "qx/platform/gfx/internal/face_aliases.h"
#include "qx/platform/gfx/internal/font_system.h"
#include "qx/platform/gfx/internal/glyph_features.h"
#include "qx/platform/gfx/internal/glyph_run.h"
#include "qx/platform/gfx/internal/glyph_table.h"

namespace qx::gfx {
namespace {

constexpr double kPangoUnitsPerEm = kMeasureEm * PANGO_SCALE;

// The family fontconfig picks for a requested family (its substitutions
// and defaults applied), so that equal choices share one face.
std::string MatchFamily(const std::string& requested) {
    std::string chosen = requested;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(requested.c_str()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
        FcChar8* family = nullptr;
        if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch && family) {
            chosen = reinterpret_cast<const char*>(family);
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return chosen;
}

struct FaceRecord {
    ResolvedFace face;
    std::unique_ptr<PangoFontDescription, decltype(&pango_font_description_free)> description{
        nullptr, &pango_font_description_free};
    AdvanceTable advances;  // Pango units at the measuring em
    GlyphTable glyphs;
    // The face's font at the measuring em, loaded when a line is first drawn
    // as glyphs; it owns the HarfBuzz font and the Cairo scaled font.
    std::unique_ptr<PangoFont, decltype(&g_object_unref)> font{nullptr, &g_object_unref};
};

// An attribute list holding only the layer's glyph features.
PangoAttrList* NewPlainAttributes() {
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, NewNoKerningAttribute());
    return attributes;
}

class FontSystem {
public:
    FontSystem() {
        fontMap_ = pango_cairo_font_map_new();
        context_ = pango_font_map_create_context(fontMap_);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        pango_cairo_context_set_font_options(context_, options);
        cairo_font_options_destroy(options);
        pango_context_set_round_glyph_positions(context_, FALSE);
        layout_ = pango_layout_new(context_);
        // One line: a line feed is a character here, never a line break.
        pango_layout_set_single_paragraph_mode(layout_, TRUE);
        plainAttributes_ = NewPlainAttributes();
        pango_layout_set_attributes(layout_, plainAttributes_);
    }

    ~FontSystem() {
        pango_attr_list_unref(plainAttributes_);
        g_object_unref(layout_);
        g_object_unref(context_);
        g_object_unref(fontMap_);
    }

    FontSystem(const FontSystem&) = delete;
    FontSystem& operator=(const FontSystem&) = delete;

    const ResolvedFace& Resolve(std::wstring_view faceName, int weight, bool italic) {
        std::string family = FamilyFor(faceName);
        for (const auto& record : faces_) {
            if (record->face.family == family && record->face.weight == weight &&
                record->face.italic == italic) {
                return record->face;
            }
        }
        auto record = std::make_unique<FaceRecord>();
        record->description.reset(pango_font_description_new());
        PangoFontDescription* description = record->description.get();
        pango_font_description_set_family(description, family.c_str());
        pango_font_description_set_weight(description, static_cast<PangoWeight>(weight));
        pango_font_description_set_style(description, italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
        pango_font_description_set_absolute_size(description, kPangoUnitsPerEm);
        ResolvedFace& face = record->face;
        face.id = static_cast<int>(faces_.size()) + 1;
        face.family = family;
        face.weight = weight;
        face.italic = italic;
        face.description = description;
        faces_.push_back(std::move(record));
        face.metrics = ReadMetrics(face);
        return face;
    }

    // A text made only of characters of simple scripts is the sum of their
    // advances; any other text is laid out, and its width kept for the next
    // time (reports measure the same labels again and again).
    double MeasureEms(const ResolvedFace& face, std::wstring_view text) {
        if (text.empty()) return 0;
        auto measureCharacter = [&](wchar_t c) { return CharacterAdvance(face, c); };
        if (std::optional<std::int64_t> sum = Record(face).advances.Sum(text, measureCharacter)) {
            return static_cast<double>(*sum) / kPangoUnitsPerEm;
        }
        const bool cacheable = ExtentCache::Caches(text);
        if (cacheable) {
            if (std::optional<double> width = widths_.Find(face.id, text)) return *width;
        }
        double width = LayoutWidth(face, text) / kPangoUnitsPerEm;
        if (cacheable) widths_.Insert(face.id, text, width);
        return width;
    }

    // Draws a line of simple-script characters as one run of the face's own
    // glyphs, advanced by the widths that measure the line; false, drawing
    // nothing, when a character needs the layout (no slot in the advance
    // table, or a fallback face).
    bool ShowGlyphLine(cairo_t* cr, const FontFace& font, std::wstring_view text) {
        if (text.empty()) return true;
        const ResolvedFace& face = *font.face;
        FaceRecord& record = Record(face);
        const double baseline = face.metrics.ascent * kMeasureEm;
        auto findGlyph = [&](wchar_t c) { return FindGlyph(record, c); };
        auto measureCharacter = [&](wchar_t c) { return CharacterAdvance(face, c); };
        run_.Clear();
        for (wchar_t c : text) {
            const int slot = AdvanceTable::SlotFor(c);
            if (slot < 0) return false;
            std::optional<std::uint32_t> glyph = record.glyphs.Glyph(slot, c, findGlyph);
            if (!glyph) return false;
            const int advance = record.advances.Advance(slot, c, measureCharacter);
            run_.Append(c, *glyph, baseline, advance / static_cast<double>(PANGO_SCALE));
        }
        ShowGlyphRun(cr, pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(record.font.get())), run_, font);
        return true;
    }

    void ShowLayoutLine(cairo_t* cr, const FontFace& font, std::wstring_view text) {
        PangoAttrList* attributes = nullptr;
        if (font.underline || font.strikeOut) {
            attributes = NewPlainAttributes();
            if (font.underline) pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
            if (font.strikeOut) pango_attr_list_insert(attributes, pango_attr_strikethrough_new(TRUE));
        }
        PrepareLayout(*font.face, text, attributes);
        if (attributes) pango_attr_list_unref(attributes);
        // The cell's top is the ascent above the baseline, whatever line
        // height the layout chose.
        double baseline = pango_layout_get_baseline(layout_) / static_cast<double>(PANGO_SCALE);
        cairo_move_to(cr, 0, font.face->metrics.ascent * kMeasureEm - baseline);
        pango_cairo_show_layout(cr, layout_);
    }

private:
    std::string FamilyFor(std::wstring_view faceName) {
        std::wstring key(faceName);
        auto it = familyByName_.find(key);
        if (it != familyByName_.end()) return it->second;
        std::string family = MatchFamily(FontconfigFamilyFor(faceName));
        familyByName_.emplace(std::move(key), family);
        return family;
    }

    FaceRecord& Record(const ResolvedFace& face) { return *faces_[static_cast<std::size_t>(face.id - 1)]; }

    int CharacterAdvance(const ResolvedFace& face, wchar_t c) { return LayoutWidth(face, std::wstring_view(&c, 1)); }

    // The face's own glyph for a character, as the layout picks it without
    // kerning and ligatures; nothing when the face lacks the character.
    std::optional<std::uint32_t> FindGlyph(FaceRecord& record, wchar_t c) {
        if (!record.font) {
            record.font.reset(pango_font_map_load_font(
                fontMap_, context_, static_cast<PangoFontDescription*>(record.face.description)));
        }
        if (!record.font || !PANGO_IS_CAIRO_FONT(record.font.get())) return std::nullopt;
        hb_codepoint_t glyph = 0;
        if (!hb_font_get_nominal_glyph(pango_font_get_hb_font(record.font.get()), static_cast<hb_codepoint_t>(c),
                                       &glyph)) {
            return std::nullopt;
        }
        return glyph;
    }

    // Width of one line laid out, in Pango units at the measuring em.
    int LayoutWidth(const ResolvedFace& face, std::wstring_view text) {
        PrepareLayout(face, text, nullptr);
        PangoRectangle logical;
        pango_layout_get_extents(layout_, nullptr, &logical);
        return logical.width;
    }

    // Sets font, text and attributes of the shared layout. `decorations`
    // (the plain attributes and more) stay only for the drawing that asked
    // for them; otherwise the layout has the plain attributes.
    void PrepareLayout(const ResolvedFace& face, std::wstring_view text, PangoAttrList* decorations) {
        if (layoutFace_ != face.id) {
            pango_layout_set_font_description(layout_, static_cast<PangoFontDescription*>(face.description));
            layoutFace_ = face.id;
        }
        if (decorations || layoutDecorated_) {
            pango_layout_set_attributes(layout_, decorations ? decorations : plainAttributes_);
            layoutDecorated_ = decorations != nullptr;
        }
        utf8_.clear();
        AppendUtf8(text, utf8_);
        // Control characters (line feeds, tabs, zero) stand for no glyph on a
        // line; Pango would draw symbols or expand tabs, or refuse a zero.
        // They are measured and drawn as spaces.
        std::replace_if(utf8_.begin(), utf8_.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
        pango_layout_set_text(layout_, utf8_.data(), qx::CheckedLength<int>(utf8_.size()));
    }

    FaceMetrics ReadMetrics(const ResolvedFace& face) {
        FaceMetrics metrics;
        PangoFontMetrics* pango = pango_context_get_metrics(
            context_, static_cast<PangoFontDescription*>(face.description), nullptr);
        metrics.ascent = pango_font_metrics_get_ascent(pango) / kPangoUnitsPerEm;
        metrics.descent = pango_font_metrics_get_descent(pango) / kPangoUnitsPerEm;
        double lineHeight = pango_font_metrics_get_height(pango) / kPangoUnitsPerEm;
        metrics.externalLeading = std::max(0.0, lineHeight - metrics.ascent - metrics.descent);
        metrics.averageCharWidth = pango_font_metrics_get_approximate_char_width(pango) / kPangoUnitsPerEm;
        metrics.underline = {pango_font_metrics_get_underline_position(pango) / kPangoUnitsPerEm,
                             pango_font_metrics_get_underline_thickness(pango) / kPangoUnitsPerEm};
        metrics.strikeOut = {pango_font_metrics_get_strikethrough_position(pango) / kPangoUnitsPerEm,
                             pango_font_metrics_get_strikethrough_thickness(pango) / kPangoUnitsPerEm};
        pango_font_metrics_unref(pango);
        metrics.maxCharWidth = std::max(MeasureEms(face, L"W"), MeasureEms(face, L"M"));
        return metrics;
    }

    PangoFontMap* fontMap_ = nullptr;
    PangoContext* context_ = nullptr;
    PangoLayout* layout_ = nullptr;
    PangoAttrList* plainAttributes_ = nullptr;
    int layoutFace_ = 0;
    bool layoutDecorated_ = false;
    std::string utf8_;
    GlyphRun run_;
    std::vector<std::unique_ptr<FaceRecord>> faces_;
    std::unordered_map<std::wstring, std::string> familyByName_;
    ExtentCache widths_;
};

// The one owner of the text machinery; ResetFontState replaces it.
struct FontSystemOwner {
    std::unique_ptr<FontSystem> system;
    unsigned generation = 1;
    bool layoutTextOnly = false;
};

FontSystemOwner& Owner() {
    static FontSystemOwner owner;
    return owner;
}

FontSystem& System() {
    FontSystemOwner& owner = Owner();
    if (!owner.system) owner.system = std::make_unique<FontSystem>();
    return *owner.system;
}

}  // namespace

unsigned FontGeneration() { return Owner().generation; }

const ResolvedFace& ResolveFace(std::wstring_view faceName, int weight, bool italic) {
    return System().Resolve(faceName, weight, italic);
}

double MeasureEms(const ResolvedFace& face, std::wstring_view text) {
    return System().MeasureEms(face, text);
}

void ShowTextLine(cairo_t* cr, const FontFace& font, std::wstring_view text) {
    FontSystem& system = System();
    if (!Owner().layoutTextOnly && system.ShowGlyphLine(cr, font, text)) return;
    system.ShowLayoutLine(cr, font, text);
}

void SetLayoutTextOnly(bool layoutOnly) { Owner().layoutTextOnly = layoutOnly; }

void ResetFontState() {
    FontSystemOwner& owner = Owner();
    owner.system.reset();
    owner.layoutTextOnly = false;
    ++owner.generation;
}

}  // namespace qx::gfx
