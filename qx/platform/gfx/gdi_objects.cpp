#include "qx/platform/gfx/gdi_objects.h"

#include <algorithm>
#include <memory>

#include "qx/platform/gfx/dc.h"
#include "qx/platform/gfx/internal/font_face.h"
#include "qx/platform/gfx/internal/font_system.h"

CGdiObject::~CGdiObject() = default;

CFont::CFont() : CGdiObject(Kind::Font) {}
CFont::~CFont() = default;

bool CFont::CreateFontIndirect(const LOGFONT* description) {
    if (!description) return false;
    description_ = *description;
    created_ = true;
    face_.reset();
    return true;
}

bool CFont::CreateFont(int height, int width, int escapement, int orientation, int weight,
                       bool italic, bool underline, bool strikeOut, unsigned char charSet,
                       const wchar_t* faceName) {
    LOGFONT description;
    description.lfHeight = height;
    description.lfWidth = width;
    description.lfEscapement = escapement;
    description.lfOrientation = orientation;
    description.lfWeight = weight;
    description.lfItalic = italic ? 1 : 0;
    description.lfUnderline = underline ? 1 : 0;
    description.lfStrikeOut = strikeOut ? 1 : 0;
    description.lfCharSet = charSet;
    description.lfFaceName = faceName;
    return CreateFontIndirect(&description);
}

bool CFont::CreatePointFont(int pointSize, const wchar_t* faceName, const CDC* dc) {
    const int dpi = dc ? dc->GetDeviceCaps(LOGPIXELSY) : 96;
    // Tenths of a point to pixels, rounded; negative: the character height
    // without the internal leading, as the platform asks for point sizes.
    const long long tenthsTimesDpi = static_cast<long long>(pointSize) * dpi;
    const int pixels = static_cast<int>((tenthsTimesDpi + (tenthsTimesDpi >= 0 ? 360 : -360)) / 720);
    return CreateFont(-pixels, 0, 0, 0, FW_NORMAL, false, false, false, DEFAULT_CHARSET, faceName);
}

bool CFont::GetLogFont(LOGFONT* description) const {
    if (!description || !created_) return false;
    *description = description_;
    return true;
}

const qx::gfx::FontFace& CFont::Face() const {
    if (!face_ || face_->generation != qx::gfx::FontGeneration()) {
        // Weight 0 is "don't care", as in GDI; Pango takes 100 to 1000.
        int weight = description_.lfWeight <= 0 ? FW_NORMAL : std::min(description_.lfWeight, 1000);
        weight = std::max(weight, 100);
        auto face = std::make_unique<qx::gfx::FontFace>();
        face->face = &qx::gfx::ResolveFace(description_.lfFaceName.str(), weight, description_.lfItalic != 0);
        face->generation = qx::gfx::FontGeneration();
        face->emHeight = qx::gfx::EmHeightFor(description_.lfHeight, face->face->metrics);
        face->escapement = description_.lfEscapement;
        face->underline = description_.lfUnderline != 0;
        face->strikeOut = description_.lfStrikeOut != 0;
        face_ = std::move(face);
    }
    return *face_;
}

CPen::CPen() : CGdiObject(Kind::Pen) {}

CPen::CPen(int style, int width, COLORREF color) : CGdiObject(Kind::Pen) {
    CreatePen(style, width, color);
}

bool CPen::CreatePen(int style, int width, COLORREF color) {
    style_ = style;
    width_ = width < 0 ? 0 : width;
    color_ = color;
    return true;
}

CBrush::CBrush() : CGdiObject(Kind::Brush) {}

CBrush::CBrush(COLORREF color) : CGdiObject(Kind::Brush) { CreateSolidBrush(color); }

bool CBrush::CreateSolidBrush(COLORREF color) {
    color_ = color;
    null_ = false;
    return true;
}
