// Mapping modes, coordinate conversion and saved states.
#include <gtest/gtest.h>

#include "qx/platform/gfx/targets.h"
#include "tests/platform/gfx/gfx_fixture.h"

namespace {

struct MappingSetup {
    int mode;
    CPoint windowOrg;
    CSize windowExt;
    CPoint viewportOrg;
    CSize viewportExt;
};

void Apply(CDC& dc, const MappingSetup& m) {
    dc.SetMapMode(m.mode);
    dc.SetWindowOrg(m.windowOrg.x, m.windowOrg.y);
    dc.SetWindowExt(m.windowExt.cx, m.windowExt.cy);
    dc.SetViewportOrg(m.viewportOrg.x, m.viewportOrg.y);
    dc.SetViewportExt(m.viewportExt.cx, m.viewportExt.cy);
}

TEST(DcMapping, LogicalToDeviceAndBack) {
    struct Case {
        const char* name;
        MappingSetup mapping;
        CPoint logical;
        CPoint device;
    };
    const Case cases[] = {
        {"text mode is one to one", {MM_TEXT, {0, 0}, {1, 1}, {0, 0}, {1, 1}}, {7, 9}, {7, 9}},
        {"text mode keeps origins", {MM_TEXT, {10, 20}, {5, 5}, {3, 4}, {7, 7}}, {15, 25}, {8, 9}},
        {"engine units on 600 dpi", {MM_ANISOTROPIC, {0, 0}, {1322, 1322}, {0, 0}, {600, 600}}, {1322, 2644}, {600, 1200}},
        {"origins and scale", {MM_ANISOTROPIC, {100, 100}, {10, 10}, {50, 60}, {20, 30}}, {110, 120}, {70, 120}},
        {"negative y extent flips", {MM_ANISOTROPIC, {0, 0}, {1, -1}, {0, 100}, {1, 1}}, {10, 30}, {10, 70}},
        {"negative x extent flips", {MM_ANISOTROPIC, {0, 0}, {-2, 2}, {200, 0}, {1, 1}}, {40, 40}, {180, 20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CMemoryDC dc;
        Apply(dc, c.mapping);
        CPoint p = c.logical;
        dc.LPtoDP(&p);
        EXPECT_EQ(p, c.device);
        dc.DPtoLP(&p);
        EXPECT_EQ(p, c.logical);
        CRect r(c.logical.x, c.logical.y, c.logical.x, c.logical.y);
        dc.LPtoDP(&r);
        EXPECT_EQ(r.TopLeft(), c.device);
    }
}

TEST(DcMapping, SizesConvertWithoutOriginsAsAbsoluteValues) {
    CMemoryDC dc;
    Apply(dc, {MM_ANISOTROPIC, {500, 500}, {1322, -1322}, {30, 40}, {96, 96}});
    CSize size(1322, 2644);
    dc.LPtoDP(&size);
    EXPECT_EQ(size, CSize(96, 192));
    dc.DPtoLP(&size);
    EXPECT_EQ(size, CSize(1322, 2644));
}

TEST(DcMapping, ExtentsAreIgnoredInTextModeAndZeroIsRefused) {
    CMemoryDC dc;
    dc.SetWindowExt(10, 10);
    EXPECT_EQ(dc.GetWindowExt(), CSize(1, 1));
    EXPECT_EQ(dc.SetMapMode(MM_ANISOTROPIC), MM_TEXT);
    dc.SetWindowExt(10, 20);
    dc.SetViewportExt(0, 5);
    EXPECT_EQ(dc.GetWindowExt(), CSize(10, 20));
    EXPECT_EQ(dc.GetViewportExt(), CSize(1, 1));
    dc.SetMapMode(MM_TEXT);
    EXPECT_EQ(dc.GetWindowExt(), CSize(1, 1));
}

TEST(DcMapping, DrawingFollowsAFlippedMapping) {
    CImageDC dc(100, 100);
    Apply(dc, {MM_ANISOTROPIC, {0, 0}, {10, -10}, {0, 100}, {100, 100}});  // y up, 10 units a side
    dc.FillSolidRect(CRect(1, 3, 4, 1), RGB(255, 0, 0));
    EXPECT_EQ(qx::test::InkBox(dc), CRect(10, 70, 40, 90));
}

TEST(DcMapping, RestoreDcBringsBackMappingObjectsAndColours) {
    CMemoryDC dc;
    CPen pen(PS_SOLID, 3, RGB(1, 2, 3));
    const int first = dc.SaveDC();
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetViewportOrg(5, 5);
    dc.SelectObject(&pen);
    dc.SetTextColor(RGB(9, 9, 9));
    const int second = dc.SaveDC();
    EXPECT_EQ(second, first + 1);
    dc.SetBkMode(TRANSPARENT);
    dc.MoveTo(4, 4);

    EXPECT_TRUE(dc.RestoreDC(-1));
    EXPECT_EQ(dc.GetBkMode(), OPAQUE);
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(0, 0));
    EXPECT_EQ(dc.GetCurrentPen(), &pen);

    EXPECT_TRUE(dc.RestoreDC(first));
    EXPECT_EQ(dc.GetMapMode(), MM_TEXT);
    EXPECT_EQ(dc.GetViewportOrg(), CPoint(0, 0));
    EXPECT_NE(dc.GetCurrentPen(), &pen);
    EXPECT_EQ(dc.GetTextColor(), RGB(0, 0, 0));
    EXPECT_FALSE(dc.RestoreDC(first));  // consumed
    EXPECT_FALSE(dc.RestoreDC(-1));
    EXPECT_FALSE(dc.RestoreDC(0));
}

TEST(DcMapping, SelectionReturnsThePreviousObject) {
    CMemoryDC dc;
    ASSERT_NE(dc.GetCurrentFont(), nullptr);
    EXPECT_EQ(dc.GetCurrentBrush(), qx::gfx::StockObject(WHITE_BRUSH));
    EXPECT_EQ(dc.GetCurrentPen(), qx::gfx::StockObject(BLACK_PEN));
    CBrush brush(RGB(1, 1, 1));
    EXPECT_EQ(dc.SelectObject(&brush), qx::gfx::StockObject(WHITE_BRUSH));
    EXPECT_EQ(dc.SelectStockObject(NULL_BRUSH), &brush);
    EXPECT_TRUE(dc.GetCurrentBrush()->IsNull());
    EXPECT_EQ(dc.SelectStockObject(12345), nullptr);
    EXPECT_EQ(dc.SelectObject(static_cast<CBrush*>(nullptr)), nullptr);
    EXPECT_TRUE(dc.GetCurrentBrush()->IsNull());
}

}  // namespace
