// Rich text on Pango. Each paragraph becomes one Pango layout with an
// attribute per run; lines are taken from the top while they fit.
//
// Measuring follows the rest of the layer: faces are resolved by the same
// table as CFont's, hinting is off, glyph positions are not rounded, there
// is neither kerning nor ligatures, and the layout happens at a fixed large
// size (a 12-point font at the layer's measuring em) that is scaled to
// logical units. So a range measured on one
// context breaks its lines at the same characters on every other.
#include <cairo.h>
#include <glib.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "qx/platform/base/checked_length.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/gfx/dc.h"
#include "qx/platform/gfx/internal/dc_impl.h"
#include "qx/platform/gfx/internal/font_system.h"
#include "qx/platform/gfx/internal/glyph_features.h"
#include "qx/platform/gfx/internal/rich_text_layout.h"

namespace qx::gfx {
namespace {

constexpr double kPointsPerInch = 72.0;
constexpr double kReferencePoints = 12.0;
constexpr double kLayoutPixelsPerPoint = kMeasureEm / kReferencePoints;
// Tab stops every half inch, as in the rich-edit control.
constexpr double kTabInches = 0.5;
constexpr wchar_t kLineSeparator = 0x2028;
constexpr double kFitTolerance = 1e-6;

struct Span {
    size_t begin;  // UTF-8 bytes of the paragraph's text
    size_t end;
    const RtfCharFormat* format;
};

struct Paragraph {
    long firstCharacter = 0;
    std::string utf8;  // without its paragraph end
    std::vector<Span> spans;
    const RtfCharFormat* endFormat = nullptr;  // gives an empty paragraph its height
    ParagraphAlignment alignment = ParagraphAlignment::Left;
};

// The paragraphs (or their parts) that hold characters first..last-1.
std::vector<Paragraph> CollectParagraphs(const RtfDocument& document, long first, long last) {
    std::vector<Paragraph> paragraphs;
    long position = 0;
    bool open = false;
    std::wstring piece;
    for (const RtfRun& run : document.runs) {
        const long runEnd = position + static_cast<long>(run.text.size());
        const long from = std::max(position, first);
        const long to = std::min(runEnd, last);
        if (from < to) {
            if (!open) {
                paragraphs.emplace_back().firstCharacter = from;
                open = true;
            }
            Paragraph& paragraph = paragraphs.back();
            paragraph.endFormat = &run.format;
            paragraph.alignment = run.alignment;
            piece.assign(run.text, static_cast<size_t>(from - position), static_cast<size_t>(to - from));
            const bool ends = piece.back() == L'\n';
            if (ends) piece.pop_back();
            std::replace(piece.begin(), piece.end(), L'\v', kLineSeparator);
            const size_t begin = paragraph.utf8.size();
            AppendUtf8(piece, paragraph.utf8);
            if (paragraph.utf8.size() > begin) paragraph.spans.push_back({begin, paragraph.utf8.size(), &run.format});
            open = !ends;
        }
        position = runEnd;
        if (position >= last) break;
    }
    return paragraphs;
}

struct GObjectUnref {
    void operator()(void* object) const { g_object_unref(object); }
};
struct FontDescriptionFree {
    void operator()(PangoFontDescription* description) const { pango_font_description_free(description); }
};
using FontDescriptionPtr = std::unique_ptr<PangoFontDescription, FontDescriptionFree>;

// A context that measures as the layer's measuring context does.
std::unique_ptr<PangoContext, GObjectUnref> MeasuringContext() {
    std::unique_ptr<PangoContext, GObjectUnref> context(
        pango_font_map_create_context(pango_cairo_font_map_get_default()));
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    pango_cairo_context_set_font_options(context.get(), options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(context.get(), FALSE);
    return context;
}

FontDescriptionPtr Describe(const RtfCharFormat& format) {
    const ResolvedFace& face = ResolveFace(format.face, format.bold ? FW_BOLD : FW_NORMAL, format.italic);
    FontDescriptionPtr description(pango_font_description_new());
    pango_font_description_set_family(description.get(), face.family.c_str());
    pango_font_description_set_weight(description.get(), static_cast<PangoWeight>(face.weight));
    pango_font_description_set_style(description.get(), face.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_font_description_set_absolute_size(description.get(),
                                             format.halfPoints / 2.0 * kLayoutPixelsPerPoint * PANGO_SCALE);
    return description;
}

void AddAttribute(PangoAttrList* list, PangoAttribute* attribute, const Span& span) {
    attribute->start_index = static_cast<guint>(span.begin);
    attribute->end_index = static_cast<guint>(span.end);
    pango_attr_list_insert(list, attribute);
}

struct LayoutSettings {
    int widthPango;      // line width, Pango units of the layout
    int tabPango;        // tab interval
    COLORREF autoColor;  // the colour of runs in the automatic colour
};

std::unique_ptr<PangoLayout, GObjectUnref> MakeLayout(PangoContext* context, const Paragraph& paragraph,
                                                      const LayoutSettings& settings) {
    std::unique_ptr<PangoLayout, GObjectUnref> layout(pango_layout_new(context));
    PangoLayout* l = layout.get();
    pango_layout_set_width(l, settings.widthPango);
    pango_layout_set_wrap(l, PANGO_WRAP_WORD_CHAR);
    switch (paragraph.alignment) {
        case ParagraphAlignment::Left: pango_layout_set_alignment(l, PANGO_ALIGN_LEFT); break;
        case ParagraphAlignment::Center: pango_layout_set_alignment(l, PANGO_ALIGN_CENTER); break;
        case ParagraphAlignment::Right: pango_layout_set_alignment(l, PANGO_ALIGN_RIGHT); break;
        case ParagraphAlignment::Justify: pango_layout_set_justify(l, TRUE); break;
    }
    PangoTabArray* tabs = pango_tab_array_new_with_positions(1, FALSE, PANGO_TAB_LEFT, settings.tabPango);
    pango_layout_set_tabs(l, tabs);
    pango_tab_array_free(tabs);
    pango_layout_set_font_description(l, Describe(*paragraph.endFormat).get());

    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, NewNoKerningAttribute());
    for (const Span& span : paragraph.spans) {
        const RtfCharFormat& format = *span.format;
        AddAttribute(attributes, pango_attr_font_desc_new(Describe(format).get()), span);
        const COLORREF color = format.autoColor ? settings.autoColor : format.color;
        AddAttribute(attributes,
                     pango_attr_foreground_new(static_cast<guint16>(GetRValue(color) * 257),
                                               static_cast<guint16>(GetGValue(color) * 257),
                                               static_cast<guint16>(GetBValue(color) * 257)),
                     span);
        if (format.underline) AddAttribute(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE), span);
    }
    pango_layout_set_attributes(l, attributes);
    pango_attr_list_unref(attributes);
    pango_layout_set_text(l, paragraph.utf8.data(), qx::CheckedLength<int>(paragraph.utf8.size()));
    return layout;
}

int ToPangoUnits(double pixels) {
    return static_cast<int>(std::clamp(pixels * PANGO_SCALE, 1.0, static_cast<double>(INT_MAX / 2)));
}

}  // namespace

LaidOutRange LayOutRange(const RtfDocument& document, const RichTextFrame& frame, CDC* dc) {
    // Layout pixels per logical unit.
    const double scale = kLayoutPixelsPerPoint * kPointsPerInch / frame.unitsPerInch;
    const DcImpl* impl = dc ? &dc->Impl() : nullptr;
    cairo_t* cr = impl ? impl->cr : nullptr;
    const LayoutSettings settings{ToPangoUnits(frame.rect.Width() * scale),
                                  ToPangoUnits(kTabInches * frame.unitsPerInch * scale),
                                  impl ? impl->state.textColor : RGB(0, 0, 0)};
    if (cr) {
        // Layout pixels from the rectangle's top-left on the device, upright
        // whatever direction the mapping gives the axes, as text is drawn
        // everywhere in the layer; nothing leaves the rectangle.
        const DeviceRect box = impl->ToDevice(frame.rect);
        cairo_save(cr);
        cairo_rectangle(cr, box.x0, box.y0, box.x1 - box.x0, box.y1 - box.y0);
        cairo_clip(cr);
        cairo_translate(cr, box.x0, box.y0);
        cairo_scale(cr, impl->ScaleX() / scale, impl->ScaleY() / scale);
    }

    const auto context = MeasuringContext();
    LaidOutRange result{frame.last, 0};
    double used = 0;  // logical units
    bool full = false;
    for (const Paragraph& paragraph : CollectParagraphs(document, frame.first, frame.last)) {
        const auto layout = MakeLayout(context.get(), paragraph, settings);
        PangoLayoutIter* line = pango_layout_get_iter(layout.get());
        do {
            int top = 0;
            int bottom = 0;
            pango_layout_iter_get_line_yrange(line, &top, &bottom);
            const double height = (bottom - top) / (scale * PANGO_SCALE);
            if (used + height > frame.rect.Height() + kFitTolerance) {
                const int startByte = pango_layout_iter_get_line_readonly(line)->start_index;
                result.nextCharacter =
                    paragraph.firstCharacter + g_utf8_pointer_to_offset(paragraph.utf8.data(),
                                                                       paragraph.utf8.data() + startByte);
                full = true;
                break;
            }
            if (cr) {
                PangoRectangle extents;
                pango_layout_iter_get_line_extents(line, nullptr, &extents);
                const double baseline = pango_layout_iter_get_baseline(line) - top;
                cairo_move_to(cr, extents.x / static_cast<double>(PANGO_SCALE),
                              used * scale + baseline / PANGO_SCALE);
                pango_cairo_show_layout_line(cr, pango_layout_iter_get_line_readonly(line));
            }
            used += height;
        } while (pango_layout_iter_next_line(line));
        pango_layout_iter_free(line);
        if (full) break;
    }
    if (cr) cairo_restore(cr);
    result.heightUsed = static_cast<int>(std::ceil(used - kFitTolerance));
    return result;
}

}  // namespace qx::gfx
