// The print engine's fonts: a description of a text's look (DynamicFontInfo),
// the platform font made from it (CDynamicFont), and the process-wide cache
// that lets every text of the same look share one font.
//
// The cache lives from the first GetFont to the next ClearFontCache, which the
// engine calls at the end of composing and of drawing a page; a CDynamicFont
// reference is valid only until then. Single-threaded, as the whole engine.
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/platform/gfx/gdi_objects.h"
#include "qx/platform/gfx/gdi_types.h"

class CDC;

// How a text looks. `size` is in layout units: a size >= 0 is scaled to a
// character height, a negative one picks one of the fixed heights of the
// mark-up's font sizes 1 to 6. `angle` is in degrees, turning clockwise.
struct QX_API DynamicFontInfo {
    CString face = L"Arial";
    int size = 10;
    COLORREF colour = 0;
    int angle = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    unsigned char charset = DEFAULT_CHARSET;
    bool superscript = false;
    bool subscript = false;

    friend bool operator==(const DynamicFontInfo&, const DynamicFontInfo&) = default;
};

// A cached font: its description and the platform font made for the height
// multiplier last selected.
class QX_API CDynamicFont : public DynamicFontInfo {
public:
    explicit CDynamicFont(const DynamicFontInfo& description);
    virtual ~CDynamicFont();
    CDynamicFont(const CDynamicFont&) = delete;
    CDynamicFont& operator=(const CDynamicFont&) = delete;

    // Selects the font into `dc`, making it again when the multiplier changed,
    // and records its character height and descent there. Returns the font
    // that was selected before, for the caller to put back.
    CFont* Select(CDC& dc, int multiplier);

    int Multiplier() const { return multiplier_; }
    int CharacterHeight() const { return characterHeight_; }  // positive, logical units
    int Descent() const { return descent_; }
    const CFont& Font() const { return font_; }

private:
    CFont font_;
    int multiplier_ = 0;  // 0: no platform font made yet
    int characterHeight_ = 0;
    int descent_ = 0;
};

namespace qx {

// The character height (Windows sign: negative) of a description at a
// multiplier, before the platform rounds anything:
//   size >= 0:  -trunc(size * 1.3375) * m
//   size -1..-6: -86, -115, -134, -152, -204, -270 (times m); other negative: -400 * m
//   superscript or subscript: three quarters of that, toward zero
// The magnitude is bounded (kMaxFontHeight) so that no size overflows.
QX_API int FontCharacterHeight(const DynamicFontInfo& description, int multiplier);
inline constexpr int kMaxFontHeight = 65535;

// The first cached font equal to `description` in every field, or a new one
// appended to the cache.
QX_API CDynamicFont& GetFont(const DynamicFontInfo& description);
// Number of fonts in the cache.
QX_API int FontCacheSize();
// Frees every cached font. The engine calls it at the end of composition and
// of page drawing; tests call it to start clean.
QX_API void ClearFontCache();

}  // namespace qx
