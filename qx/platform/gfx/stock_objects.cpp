// The stock objects: made on first use, alive for the process, never changed
// by the layer (a caller that re-creates one changes it for everybody, as in
// GDI).
#include "qx/platform/gfx/gdi_objects.h"

namespace qx::gfx {
namespace {

CFont* MakeStockFont(int height, const wchar_t* face) {
    auto* font = new CFont;
    font->CreateFont(height, 0, 0, 0, FW_NORMAL, false, false, false, DEFAULT_CHARSET, face);
    return font;
}

}  // namespace

CGdiObject* StockObject(int index) {
    switch (index) {
    case WHITE_BRUSH: {
        static CBrush white(RGB(255, 255, 255));
        return &white;
    }
    case BLACK_BRUSH: {
        static CBrush black(RGB(0, 0, 0));
        return &black;
    }
    case NULL_BRUSH: {
        static CBrush* none = [] {
            auto* brush = new CBrush;
            brush->null_ = true;
            return brush;
        }();
        return none;
    }
    case WHITE_PEN: {
        static CPen white(PS_SOLID, 0, RGB(255, 255, 255));
        return &white;
    }
    case BLACK_PEN: {
        static CPen black(PS_SOLID, 0, RGB(0, 0, 0));
        return &black;
    }
    case NULL_PEN: {
        static CPen none(PS_NULL, 0, RGB(0, 0, 0));
        return &none;
    }
    // Cell heights of 13 and 8-point dialog text (11 pixels) at 96 per inch.
    case ANSI_FIXED_FONT: {
        static CFont* fixed = MakeStockFont(13, L"Courier New");
        return fixed;
    }
    case ANSI_VAR_FONT: {
        static CFont* variable = MakeStockFont(13, L"MS Sans Serif");
        return variable;
    }
    case DEFAULT_GUI_FONT: {
        static CFont* gui = MakeStockFont(-11, L"MS Shell Dlg 2");
        return gui;
    }
    default:
        return nullptr;
    }
}

}  // namespace qx::gfx
