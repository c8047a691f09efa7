// Fonts, pens and brushes: small descriptions that a device context selects.
// As in GDI, a context keeps a pointer to what is selected; the owner keeps the
// object alive while it is selected. The stock objects live for the process.
#pragma once

#include <memory>

#include "qx/platform/base/export.h"
#include "qx/platform/gfx/gdi_types.h"

class CDC;
class CGdiObject;

namespace qx::gfx {
struct FontFace;  // the resolved platform font, made on first use

// The process-wide stock object for a StockObject index, or null for an
// unknown index.
QX_API CGdiObject* StockObject(int index);
}  // namespace qx::gfx

class QX_API CGdiObject {
public:
    enum class Kind { Font, Pen, Brush };
    explicit CGdiObject(Kind kind) : kind_(kind) {}
    virtual ~CGdiObject();
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    Kind GetKind() const { return kind_; }

private:
    Kind kind_;
};

class QX_API CFont : public CGdiObject {
public:
    CFont();
    ~CFont() override;
    // Takes the description; a font can be created again with another one.
    bool CreateFontIndirect(const LOGFONT* description);
    // Height in logical units with the Windows sign, weight, italic, underline,
    // strike-out, escapement in tenths of a degree and the face name.
    bool CreateFont(int height, int width, int escapement, int orientation, int weight,
                    bool italic, bool underline, bool strikeOut, unsigned char charSet,
                    const wchar_t* faceName);
    // A font of *pointSize* tenths of a point in *faceName*, for the
    // resolution of *dc* (the screen's 96 dots per inch without one).
    bool CreatePointFont(int pointSize, const wchar_t* faceName, const CDC* dc = nullptr);
    bool GetLogFont(LOGFONT* description) const;
    const LOGFONT& Description() const { return description_; }
    bool IsCreated() const { return created_; }
    // The platform font of this description; made on first use and kept.
    const qx::gfx::FontFace& Face() const;

private:
    LOGFONT description_;
    bool created_ = false;
    mutable std::unique_ptr<qx::gfx::FontFace> face_;
};

class QX_API CPen : public CGdiObject {
public:
    CPen();
    CPen(int style, int width, COLORREF color);
    bool CreatePen(int style, int width, COLORREF color);
    int Style() const { return style_; }
    int Width() const { return width_; }  // logical units; 0 is one device pixel
    COLORREF Color() const { return color_; }

private:
    int style_ = PS_SOLID;
    int width_ = 0;
    COLORREF color_ = 0;
};

class QX_API CBrush : public CGdiObject {
public:
    CBrush();
    explicit CBrush(COLORREF color);
    bool CreateSolidBrush(COLORREF color);
    bool IsNull() const { return null_; }
    COLORREF Color() const { return color_; }

private:
    friend CGdiObject* qx::gfx::StockObject(int index);
    COLORREF color_ = RGB(255, 255, 255);
    bool null_ = false;
};
