#include "qx/print/rotated_text.h"

#include <gtest/gtest.h>

namespace {

TEST(RotatedTextOriginTest, PlacesTurnedTextInItsBox) {
    // Box 100..300 x 1000..1600 (width 200, height 600); text extent 80 x 20.
    const CRect box(100, 1000, 300, 1600);
    const CSize extent(80, 20);
    struct Case {
        const char* name;
        int angle;
        int alignment;
        bool single;
        int framedHalfW;
        CPoint origin;
    } const cases[] = {
        {"90 left", 90, 0, false, 0, {120, 1000}},
        {"90 centre", 90, 1, false, 0, {120, 1260}},
        {"90 right", 90, 2, false, 0, {120, 1520}},
        {"90 single line", 90, 0, true, 0, {210, 1000}},
        {"180 left", 180, 0, false, 0, {180, 1020}},
        {"180 centre", 180, 1, false, 0, {240, 1020}},
        {"180 right", 180, 2, false, 0, {300, 1020}},
        {"180 single line", 180, 2, true, 0, {300, 1310}},
        {"270 left", 270, 0, false, 0, {280, 1600}},
        {"270 left framed", 270, 0, false, 7, {280, 1593}},
        {"270 centre", 270, 1, false, 7, {280, 1340}},
        {"270 right", 270, 2, false, 0, {280, 1080}},
        {"270 single line", 270, 1, true, 0, {190, 1340}},
        {"-90 is 270", -90, 2, false, 0, {280, 1080}},
        {"450 is 90", 450, 0, false, 0, {120, 1000}},
        {"other angles: top-left", 45, 2, true, 7, {100, 1000}},
        {"unturned: top-left", 0, 1, true, 0, {100, 1000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(qx::RotatedTextOrigin(c.angle, extent, box, c.alignment, c.single, c.framedHalfW), c.origin);
    }
}

}  // namespace
