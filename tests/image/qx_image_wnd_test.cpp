// The simpler picture window: loading through the graphics layer's loader
// and each of its placements, read back from the painted window.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "qx/image/qx_image_wnd.h"
#include "qx/platform/gfx/targets.h"
#include "qx/platform/wnd/screen.h"
#include "qx/platform/wnd/ui_host.h"
#include "tests/image/image_writers.h"
#include "tests/support/test_support.h"

namespace {

constexpr COLORREF kRed = RGB(200, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 200);
constexpr COLORREF kGreen = RGB(0, 160, 0);

class QxImageWndTest : public ::testing::Test {
protected:
    // The window's picture area is 100 x 60 inside the one-pixel margin.
    void SetUp() override { ASSERT_TRUE(window_.Create(WS_POPUP, CRect(0, 0, 102, 62), nullptr, 0)); }
    void TearDown() override { window_.DestroyWindow(); }

    // A 20 x 10 picture: the left half red, the right half blue, and the
    // bottom-left pixel green (the picture's own background colour).
    std::wstring HalvesPicture() {
        qx::test::TestPicture picture{20, 10, {}, {}};
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 20; ++x) {
                const COLORREF c = (x == 0 && y == 9) ? kGreen : x < 10 ? kRed : kBlue;
                picture.samples.insert(picture.samples.end(), {static_cast<std::uint8_t>(GetRValue(c)),
                                                               static_cast<std::uint8_t>(GetGValue(c)),
                                                               static_cast<std::uint8_t>(GetBValue(c))});
            }
        }
        const qx::test::Bytes bytes = qx::test::WriteBmp(picture);
        qx::test::WriteBytes(dir_.path() / "halves.bmp", std::string(bytes.begin(), bytes.end()));
        return dir_.Wide("halves.bmp");
    }
    CImageDC& Paint() {
        painted_ = std::make_unique<CImageDC>(102, 62);
        qx::PaintWindow(window_.m_hWnd, *painted_);
        return *painted_;
    }

    qx::test::TempDir dir_;
    CqxImageWnd window_;
    std::unique_ptr<CImageDC> painted_;
};

TEST_F(QxImageWndTest, WithoutAPictureTheAreaIsButtonFace) {
    EXPECT_EQ(window_.Load(dir_.Wide("missing.png").c_str()), 0);
    EXPECT_EQ(window_.Load(nullptr), 0);
    EXPECT_EQ(Paint().GetPixel(50, 30), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(Paint().GetPixel(0, 0), GetSysColor(COLOR_BTNFACE));  // no frame
}

TEST_F(QxImageWndTest, EachStretchModePlacesThePicture) {
    ASSERT_EQ(window_.Load(HalvesPicture().c_str()), 1);
    window_.SetBackground(RGB(1, 2, 3));
    struct Probe {
        int x, y;
        COLORREF colour;
    };
    struct Case {
        unsigned short mode;
        std::vector<Probe> probes;
    };
    const COLORREF back = RGB(1, 2, 3);
    const Case cases[] = {
        // Own size, centred: (100 - 20) / 2 + 1 = 41, (60 - 10) / 2 + 1 = 26.
        {0, {{41, 27, kRed}, {60, 27, kBlue}, {40, 27, back}, {61, 27, back}, {50, 25, back}}},
        // Fitted: 100 x 50, centred vertically at 1 + 5.
        {STRETCH_FIT, {{1, 7, kRed}, {100, 7, kBlue}, {50, 5, back}, {50, 56, back}, {49, 30, kRed}, {51, 30, kBlue}}},
        // Stretched over the area.
        {STRETCH_FILL, {{1, 1, kRed}, {100, 1, kBlue}, {49, 60, kRed}}},
        // Copies across, each 60 high and 120 wide: one copy, cut.
        {STRETCH_TILE_ACROSS, {{1, 1, kRed}, {59, 1, kRed}, {62, 1, kBlue}, {100, 60, kBlue}}},
        // Tiles of 20 x 10 from the top-left corner.
        {STRETCH_TILE, {{1, 1, kRed}, {11, 1, kBlue}, {21, 1, kRed}, {31, 11, kBlue}, {81, 51, kRed}}},
        // Copies down, each 100 wide and 50 high: the second one cut.
        {STRETCH_TILE_DOWN, {{1, 1, kRed}, {100, 1, kBlue}, {49, 55, kRed}, {51, 55, kBlue}}},
    };
    for (const Case& c : cases) {
        window_.SetStretchMode(c.mode);
        CImageDC& dc = Paint();
        for (const Probe& p : c.probes) {
            EXPECT_EQ(dc.GetPixel(p.x, p.y), p.colour) << "mode " << c.mode << " at " << p.x << "," << p.y;
        }
    }
}

TEST_F(QxImageWndTest, EraseModesChooseTheBackgroundAndTheFrameIsOptional) {
    ASSERT_EQ(window_.Load(HalvesPicture().c_str()), 1);
    window_.SetStretchMode(0);
    window_.SetBackground(RGB(1, 2, 3));
    window_.SetEraseMode(ERASE_PICTURE_COLOR);
    EXPECT_EQ(Paint().GetPixel(5, 5), kGreen);
    window_.SetEraseMode(ERASE_BUTTON_FACE);
    EXPECT_EQ(Paint().GetPixel(5, 5), GetSysColor(COLOR_BTNFACE));
    window_.SetEraseMode(ERASE_BACKGROUND);
    EXPECT_EQ(Paint().GetPixel(5, 5), RGB(1, 2, 3));
    window_.SetFrameColor(RGB(9, 9, 9));
    window_.SetFrameMode(1);
    EXPECT_EQ(Paint().GetPixel(0, 0), RGB(9, 9, 9));
}

}  // namespace
