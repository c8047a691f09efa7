// A device context on a Cairo context someone else made: a toolkit's drawing
// callback hands one over for the duration of a draw, and the window's paint
// code draws on it through this. Its device pixels are the Cairo context's
// user units as they are when the CDC is made (a toolkit has put the origin
// at its widget's corner); what the CDC changes on the context is undone
// when it goes. The caller keeps the Cairo context alive for its life.
#pragma once

#include "qx/platform/base/export.h"
#include "qx/platform/gfx/dc.h"

typedef struct _cairo cairo_t;

class QX_API CCairoDC : public CDC {
public:
    // *widthPixels* and *heightPixels* give HORZRES and VERTRES (the area
    // drawn on), *dpi* LOGPIXELSX and LOGPIXELSY.
    CCairoDC(cairo_t* cr, int widthPixels, int heightPixels, int dpi = 96);
    ~CCairoDC() override;
};
