#include "qx/ui/shared_fonts.h"

#include <cmath>

#include "qx/platform/gfx/gdi_objects.h"
#include "qx/platform/wnd/screen.h"

namespace {

constexpr const wchar_t* kFace = L"MS Shell Dlg";
constexpr int kPoints = 7;

struct SharedFonts {
    CFont normal;
    CFont bold;

    SharedFonts() {
        const int height = -static_cast<int>(std::lround(static_cast<double>(kPoints) * qx::ScreenDpi() / 72.0));
        CreateFontIndirectW(&normal, kFace, height, FW_NORMAL);
        CreateFontIndirectW(&bold, kFace, height, FW_BOLD);
    }
};

SharedFonts& Fonts() {
    static SharedFonts fonts;
    return fonts;
}

}  // namespace

CFont* qxGetNormalFont() { return &Fonts().normal; }
CFont* qxGetUserEditFont() { return &Fonts().bold; }

BOOL CreateFontIndirectW(CFont* font, const wchar_t* faceName, int height, int weight) {
    if (!font) return FALSE;
    LOGFONT description;
    description.lfHeight = height;
    description.lfWeight = weight;
    description.lfCharSet = 0;
    description.lfFaceName = faceName ? faceName : L"";
    return font->CreateFontIndirect(&description) ? TRUE : FALSE;
}
