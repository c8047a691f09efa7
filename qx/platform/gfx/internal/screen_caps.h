// Capabilities of "the screen": what a memory context and a metafile without
// reference context report.
#pragma once

#include "qx/platform/gfx/internal/dc_impl.h"

namespace qx::gfx {

DeviceCaps ScreenCaps();

}  // namespace qx::gfx
