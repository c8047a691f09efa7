// Colours the family's dialogs derive from the system's: a colour mixed
// slightly toward another, and a colour made lighter.
#pragma once

#include "qx/platform/base/export.h"
#include "qx/platform/gfx/gdi_types.h"

// Per channel 86 % of *first* and 14 % of *second*, each share rounded.
QX_API COLORREF MixedColor(COLORREF first, COLORREF second);
// *amount* added to each channel, kept within 0 and 255.
QX_API COLORREF BleachColor(int amount, COLORREF color);
