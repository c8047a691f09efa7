#include "qx/platform/gfx/internal/screen_caps.h"

namespace qx::gfx {

// A full-HD display at 96 pixels per inch: there is no real screen to ask,
// and measuring must not depend on where the program runs.
DeviceCaps ScreenCaps() {
    DeviceCaps caps;
    caps.technology = DT_RASDISPLAY;
    caps.horzRes = caps.physicalWidth = 1920;
    caps.vertRes = caps.physicalHeight = 1080;
    caps.logPixelsX = caps.logPixelsY = 96;
    caps.numColors = -1;
    caps.printing = false;
    return caps;
}

}  // namespace qx::gfx
