// Shapes on an image target, checked pixel by pixel: device pixel = pixel,
// right and bottom exclusive, outlines inside their rectangle.
#include <gtest/gtest.h>

#include "qx/platform/gfx/targets.h"
#include "tests/platform/gfx/gfx_fixture.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGrey = RGB(200, 200, 200);

TEST(DcShapes, RectangleFillsWithBrushAndOutlinesWithPen) {
    CImageDC dc(60, 60);
    CBrush red(kRed);
    dc.SelectObject(&red);
    dc.Rectangle(10, 10, 30, 30);
    EXPECT_EQ(dc.GetPixel(20, 20), kRed);
    EXPECT_EQ(dc.GetPixel(10, 10), kBlack);  // stock black pen, one pixel
    EXPECT_EQ(dc.GetPixel(29, 20), kBlack);
    EXPECT_EQ(dc.GetPixel(20, 29), kBlack);
    EXPECT_EQ(dc.GetPixel(11, 11), kRed);
    EXPECT_EQ(dc.GetPixel(30, 20), kWhite);  // right edge is exclusive
    EXPECT_EQ(dc.GetPixel(20, 30), kWhite);
    EXPECT_EQ(qx::test::InkBox(dc), CRect(10, 10, 30, 30));
}

TEST(DcShapes, NullBrushAndNullPenLeaveTheBackground) {
    CImageDC dc(60, 60, {.background = kGrey});
    dc.SelectStockObject(NULL_BRUSH);
    dc.Rectangle(10, 10, 30, 30);
    EXPECT_EQ(dc.GetPixel(20, 20), kGrey);
    EXPECT_EQ(dc.GetPixel(10, 20), kBlack);

    CBrush blue(kBlue);
    dc.SelectObject(&blue);
    dc.SelectStockObject(NULL_PEN);
    dc.Rectangle(40, 40, 50, 50);
    EXPECT_EQ(dc.GetPixel(40, 40), kBlue);
    EXPECT_EQ(dc.GetPixel(49, 49), kBlue);
    EXPECT_EQ(qx::test::InkBox(dc, kGrey), CRect(10, 10, 50, 50));
}

TEST(DcShapes, FillSolidRectCoversExactlyItsPixels) {
    CImageDC dc(40, 40, {.background = kBlack});
    dc.FillSolidRect(CRect(5, 6, 15, 20), kWhite);
    EXPECT_EQ(qx::test::InkBox(dc, kBlack), CRect(5, 6, 15, 20));
    EXPECT_EQ(dc.GetPixel(14, 19), kWhite);
    dc.SetBkColor(kRed);
    dc.FillSolidRect(CRect(0, 0, 2, 2), kBlue);
    EXPECT_EQ(dc.GetBkColor(), kRed);
}

TEST(DcShapes, LinesCoverTheirFirstPixelButNotTheLast) {
    CImageDC dc(40, 40);
    dc.MoveTo(5, 10);
    dc.LineTo(25, 10);
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(25, 10));
    dc.MoveTo(30, 5);
    dc.LineTo(30, 35);
    EXPECT_EQ(dc.GetPixel(5, 10), kBlack);
    EXPECT_EQ(dc.GetPixel(24, 10), kBlack);
    EXPECT_EQ(dc.GetPixel(25, 10), kWhite);
    EXPECT_EQ(dc.GetPixel(15, 9), kWhite);
    EXPECT_EQ(dc.GetPixel(15, 11), kWhite);
    EXPECT_EQ(dc.GetPixel(30, 34), kBlack);
    EXPECT_EQ(qx::test::InkBox(dc), CRect(5, 5, 31, 35));
}

TEST(DcShapes, PenWidthIsInLogicalUnits) {
    struct Case {
        const char* name;
        int penWidth;
        int unitsPerPixel;  // logical units per device pixel
        int expectedPixels;
    };
    const Case cases[] = {
        {"width 0 is one pixel", 0, 1, 1},
        {"width 0 stays one pixel when scaled", 0, 4, 1},
        {"width 4", 4, 1, 4},
        {"width 8 at two units a pixel", 8, 2, 4},
        {"thinner than a pixel draws one", 1, 4, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CImageDC dc(100, 100);
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(c.unitsPerPixel, c.unitsPerPixel);
        dc.SetViewportExt(1, 1);
        CPen pen(PS_SOLID, c.penWidth, kRed);
        dc.SelectObject(&pen);
        dc.SelectStockObject(NULL_BRUSH);
        const int u = c.unitsPerPixel;
        dc.Rectangle(10 * u, 10 * u, 90 * u, 90 * u);
        int thickness = 0;
        while (thickness < 50 && dc.GetPixel(50, 10 + thickness) == kRed) ++thickness;
        EXPECT_EQ(thickness, c.expectedPixels);
        EXPECT_EQ(dc.GetPixel(50, 9), kWhite);
    }
}

TEST(DcShapes, RoundRectCornersStayBackground) {
    CImageDC dc(100, 100);
    CBrush red(kRed);
    dc.SelectObject(&red);
    dc.RoundRect(10, 10, 90, 90, 40, 40);
    EXPECT_EQ(dc.GetPixel(11, 11), kWhite);
    EXPECT_EQ(dc.GetPixel(88, 88), kWhite);
    EXPECT_EQ(dc.GetPixel(50, 50), kRed);
    EXPECT_EQ(dc.GetPixel(50, 10), kBlack);  // straight parts of the outline
    EXPECT_EQ(dc.GetPixel(10, 50), kBlack);
    EXPECT_EQ(qx::test::InkBox(dc), CRect(10, 10, 90, 90));
}

TEST(DcShapes, FrameRectIsOneLogicalUnitWide) {
    CImageDC dc(60, 60);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(1, 1);
    dc.SetViewportExt(3, 3);
    CBrush blue(kBlue);
    dc.FrameRect(CRect(2, 2, 12, 12), &blue);
    EXPECT_EQ(dc.GetPixel(6, 20), kBlue);
    EXPECT_EQ(dc.GetPixel(8, 20), kBlue);
    EXPECT_EQ(dc.GetPixel(9, 20), kWhite);
    EXPECT_EQ(qx::test::InkBox(dc), CRect(6, 6, 36, 36));
}

TEST(DcShapes, InvertRectAndSetPixel) {
    CImageDC dc(20, 20);
    dc.FillSolidRect(CRect(0, 0, 10, 20), RGB(10, 100, 200));
    dc.InvertRect(CRect(5, 5, 15, 15));
    EXPECT_EQ(dc.GetPixel(7, 7), RGB(245, 155, 55));
    EXPECT_EQ(dc.GetPixel(12, 7), kBlack);
    EXPECT_EQ(dc.GetPixel(17, 7), kWhite);
    EXPECT_EQ(dc.SetPixel(3, 4, kRed), kRed);
    EXPECT_EQ(dc.GetPixel(3, 4), kRed);
    EXPECT_EQ(dc.GetPixel(-1, 4), 0xFFFFFFFFu);
}

}  // namespace
