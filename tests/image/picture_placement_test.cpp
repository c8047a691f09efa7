// Where a picture lands in its window under the stretch and alignment flags,
// and the part of it that is drawn when it reaches beyond the window.
#include <gtest/gtest.h>

#include "qx/image/image_types.h"
#include "qx/image/picture_placement.h"

namespace {

TEST(PicturePlacement, StretchModesAndAlignments) {
    const CSize picture(100, 50);
    const CRect area(0, 0, 300, 300);
    struct Case {
        unsigned stretch;
        int alignment;
        CRect expected;
    };
    const Case cases[] = {
        {1, ALIGN_CENTER, CRect(100, 125, 200, 175)},          // own size, centred
        {0, ALIGN_TOP_CENTER, CRect(100, 0, 200, 50)},
        {0, ALIGN_TOP_RIGHT, CRect(200, 0, 300, 50)},
        {0, ALIGN_RIGHT_CENTER, CRect(200, 125, 300, 175)},
        {0, ALIGN_BOTTOM_RIGHT, CRect(200, 250, 300, 300)},
        {0, ALIGN_BOTTOM_CENTER, CRect(100, 250, 200, 300)},
        {0, ALIGN_BOTTOM_LEFT, CRect(0, 250, 100, 300)},
        {0, ALIGN_LEFT_CENTER, CRect(0, 125, 100, 175)},
        {0, ALIGN_TOP_LEFT, CRect(0, 0, 100, 50)},
        {0, 42, CRect(100, 125, 200, 175)},                      // any other value centres
        {STRETCH_FIT, ALIGN_CENTER, CRect(0, 75, 300, 225)},     // factor 3 on both axes
        {STRETCH_FIT, ALIGN_TOP_CENTER, CRect(0, 0, 300, 150)},
        {STRETCH_FIT | STRETCH_NO_ENLARGE, ALIGN_CENTER, CRect(100, 125, 200, 175)},
        {STRETCH_FILL, ALIGN_TOP_LEFT, CRect(0, 0, 300, 300)},
        {STRETCH_FILL_WIDTH, ALIGN_CENTER, CRect(0, 75, 300, 225)},
        {STRETCH_FILL_HEIGHT, ALIGN_CENTER, CRect(-150, 0, 450, 300)},
        {STRETCH_FILL_HEIGHT, ALIGN_LEFT_CENTER, CRect(0, 0, 600, 300)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(qx::PlacePicture(picture, area, c.stretch, AlignmentFlags(c.alignment)), c.expected)
            << "stretch " << c.stretch << " alignment " << c.alignment;
    }
}

TEST(PicturePlacement, NeverEnlargeShrinksAPictureThatIsTooLarge) {
    const CRect area(10, 10, 110, 60);
    EXPECT_EQ(qx::PlacePicture(CSize(400, 100), area, STRETCH_FIT | STRETCH_NO_ENLARGE, 0), CRect(10, 22, 110, 47));
    EXPECT_EQ(qx::PlacePicture(CSize(40, 20), area, STRETCH_FILL | STRETCH_NO_ENLARGE, 0), CRect(40, 25, 80, 45));
}

TEST(PicturePlacement, AClippedPlacementDrawsOnlyWholeSourcePixelsInsideTheArea) {
    CRect visible, source;
    // Scaled 6 times and centred: a quarter of the picture on each side is cut.
    ASSERT_TRUE(qx::ClipPlacement(CSize(100, 50), CRect(-150, 0, 450, 300), CRect(0, 0, 300, 300), &visible, &source));
    EXPECT_EQ(source, CRect(25, 0, 75, 50));
    EXPECT_EQ(visible, CRect(0, 0, 300, 300));
    // A picture at its own size, larger than the area, is cut exactly.
    ASSERT_TRUE(qx::ClipPlacement(CSize(200, 100), CRect(-50, -25, 150, 75), CRect(0, 0, 100, 50), &visible, &source));
    EXPECT_EQ(source, CRect(50, 25, 150, 75));
    EXPECT_EQ(visible, CRect(0, 0, 100, 50));
    // A pixel that the edge cuts is left out rather than drawn across it.
    ASSERT_TRUE(qx::ClipPlacement(CSize(10, 10), CRect(-5, 0, 35, 40), CRect(0, 0, 30, 40), &visible, &source));
    EXPECT_EQ(source, CRect(2, 0, 8, 10));
    EXPECT_EQ(visible, CRect(3, 0, 27, 40));
    EXPECT_FALSE(qx::ClipPlacement(CSize(10, 10), CRect(50, 50, 60, 60), CRect(0, 0, 30, 40), &visible, &source));
}

}  // namespace
