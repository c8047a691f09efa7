// Painting a window: BeginPaint hands the context a UI host paints on, with
// its origin at the window's client origin, or a measuring context when the
// host does not draw (the paint code runs either way).
#pragma once

#include "qx/platform/base/export.h"
#include "qx/platform/wnd/window_types.h"

class CDC;

struct PAINTSTRUCT {
    CDC* hdc = nullptr;
    BOOL fErase = FALSE;
    CRect rcPaint;
};

QX_API CDC* BeginPaint(HWND hwnd, PAINTSTRUCT* paint);
QX_API BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
