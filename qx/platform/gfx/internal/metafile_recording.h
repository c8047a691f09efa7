// What a CEnhMetaFile holds: the Cairo recording surface (in the recording
// context's device units), its frame in the same units, and whether the
// surface was bounded to the frame from the start.
#pragma once

#include "qx/platform/gfx/gdi_types.h"
#include "qx/platform/gfx/targets.h"

typedef struct _cairo_surface cairo_surface_t;

struct CEnhMetaFile::Recording {
    Recording(cairo_surface_t* recorded, const CRect& recordedFrame, bool boundedToFrame);
    ~Recording();
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;

    cairo_surface_t* surface = nullptr;
    CRect frame;
    bool bounded = false;
};
