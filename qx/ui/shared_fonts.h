// The fonts the family's dialogs share: a normal and a bold one of the
// dialog face at 7 points, for texts set apart from the dialog's own font
// and for fields the user typed into. Both are made together on first use,
// at the screen's resolution of that moment, and live as long as the
// library; callers never delete them.
#pragma once

#include "qx/platform/base/export.h"
#include "qx/platform/wnd/window_types.h"

class CFont;

QX_API CFont* qxGetNormalFont();
// The same face and size in bold (weight 700).
QX_API CFont* qxGetUserEditFont();

// Makes *font* the font of *faceName* at *height* (logical units with the
// platform's sign: negative is the character height, positive the cell
// height) and *weight*, every other attribute zero. FALSE for a null font.
QX_API BOOL CreateFontIndirectW(CFont* font, const wchar_t* faceName, int height, int weight);
