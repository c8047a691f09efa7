// The family's image window as an application sees it: the error it reports
// for a name, and what it paints for each stretch mode, alignment, erase mode
// and frame, read back pixel by pixel from the painted window.
#include <gtest/gtest.h>

#include <string>

#include "qx/image/builtin_picture.h"
#include "qx/image/image_wnd.h"
#include "qx/image/picture_placement.h"
#include "qx/image/slide_image.h"
#include "qx/platform/gfx/targets.h"
#include "qx/platform/os/locked_append_file.h"
#include "qx/platform/wnd/screen.h"
#include "qx/platform/wnd/ui_host.h"
#include "tests/image/image_writers.h"
#include "tests/image/slide_writer.h"
#include "tests/support/test_support.h"

namespace {

constexpr COLORREF kRed = RGB(220, 20, 30);
constexpr COLORREF kBlue = RGB(10, 40, 200);
constexpr COLORREF kWhite = RGB(255, 255, 255);

qx::test::Rgb RgbOf(COLORREF c) {
    return {static_cast<std::uint8_t>(GetRValue(c)), static_cast<std::uint8_t>(GetGValue(c)),
            static_cast<std::uint8_t>(GetBValue(c))};
}

// A picture in *outer* with a square of *inner* inside a border of *border*
// pixels (no border: all *outer*).
qx::test::TestPicture Framed(int width, int height, COLORREF outer, COLORREF inner = 0, int border = -1) {
    qx::test::TestPicture picture{width, height, {}, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool in = border >= 0 && x >= border && y >= border && x < width - border && y < height - border;
            const qx::test::Rgb c = RgbOf(in ? inner : outer);
            picture.samples.insert(picture.samples.end(), c.begin(), c.end());
        }
    }
    return picture;
}

std::string Text(const qx::test::Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }
std::string Bmp(const qx::test::TestPicture& picture) { return Text(qx::test::WriteBmp(picture)); }

constexpr int kSide = 102;  // the window; its picture area is 100 x 100 inside the frame

class ImageWndTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(window_.Create(WS_POPUP, CRect(0, 0, kSide, kSide), nullptr, 0)); }
    void TearDown() override { window_.DestroyWindow(); }

    std::wstring Write(const std::string& name, const std::string& bytes) {
        qx::test::WriteBytes(dir_.path() / name, bytes);
        return dir_.Wide(name);
    }
    // The window painted on a white picture of its size.
    CImageDC& Paint() {
        painted_ = std::make_unique<CImageDC>(kSide, kSide);
        qx::PaintWindow(window_.m_hWnd, *painted_);
        return *painted_;
    }

    qx::test::TempDir dir_;
    CImageWnd window_;
    std::unique_ptr<CImageDC> painted_;
};

// Every pixel of *rect* in *colour*, and (where inside the window's picture
// area) the ring just outside it not.
void ExpectRectangle(const CImageDC& dc, const CRect& rect, COLORREF colour, const std::string& what) {
    const CPoint corners[] = {{rect.left, rect.top}, {rect.right - 1, rect.top}, {rect.left, rect.bottom - 1},
                              {rect.right - 1, rect.bottom - 1}, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}};
    for (const CPoint& p : corners) EXPECT_EQ(dc.GetPixel(p.x, p.y), colour) << what << " at " << p.x << "," << p.y;
    const CRect area(1, 1, 101, 101);
    const CPoint outside[] = {{rect.left - 1, rect.top}, {rect.right, rect.bottom - 1}, {rect.left, rect.top - 1},
                              {rect.right - 1, rect.bottom}};
    for (const CPoint& p : outside) {
        if (area.PtInRect(p)) {
            EXPECT_NE(dc.GetPixel(p.x, p.y), colour) << what << " outside at " << p.x << "," << p.y;
        }
    }
}

TEST_F(ImageWndTest, EachAlignmentPlacesThePictureAtItsEdgeOfTheArea) {
    const std::wstring file = Write("red.bmp", Bmp(Framed(20, 10, kRed)));
    for (int alignment = 0; alignment <= 8; ++alignment) {
        window_.SetAlignment(static_cast<Alignment>(alignment));
        ASSERT_EQ(window_.ShowImageNow(file.c_str()), IMAGE_OK);
        const CRect expected = qx::PlacePicture(CSize(20, 10), CRect(1, 1, 101, 101), 1, AlignmentFlags(alignment));
        ExpectRectangle(Paint(), expected, kRed, "alignment " + std::to_string(alignment));
    }
}

TEST_F(ImageWndTest, StretchModesScaleThePictureInsideTheFrame) {
    const std::wstring file = Write("red.bmp", Bmp(Framed(20, 10, kRed)));
    struct Case {
        unsigned short stretch;
        CRect expected;
    };
    const Case cases[] = {
        {1, CRect(41, 46, 61, 56)},                              // own size, centred
        {STRETCH_FIT, CRect(1, 26, 101, 76)},                    // 5 times, centred vertically
        {STRETCH_FIT | STRETCH_NO_ENLARGE, CRect(41, 46, 61, 56)},
        {STRETCH_FILL, CRect(1, 1, 101, 101)},
        {STRETCH_FILL_WIDTH, CRect(1, 26, 101, 76)},
        {STRETCH_FILL_HEIGHT, CRect(1, 1, 101, 101)},            // 200 wide, cut at both sides
    };
    for (const Case& c : cases) {
        window_.SetStretchMode(c.stretch);
        ASSERT_EQ(window_.ShowImageNow(file.c_str()), IMAGE_OK);
        ExpectRectangle(Paint(), c.expected, kRed, "stretch " + std::to_string(c.stretch));
    }
}

TEST_F(ImageWndTest, EraseModesFrameAndTransparentDrawing) {
    // A blue picture with a red middle: blue is its own background colour.
    const std::wstring file = Write("framed.bmp", Bmp(Framed(20, 20, kBlue, kRed, 5)));
    window_.SetBackground(RGB(1, 2, 3));
    ASSERT_EQ(window_.ShowImageNow(file.c_str()), IMAGE_OK);
    struct Case {
        EraseMode mode;
        COLORREF expected;
    };
    const Case cases[] = {{ERASE_NONE, kWhite}, {ERASE_BACKGROUND, RGB(1, 2, 3)},
                          {ERASE_BUTTON_FACE, GetSysColor(COLOR_BTNFACE)}, {ERASE_PICTURE_COLOR, kBlue}};
    for (const Case& c : cases) {
        window_.SetEraseMode(c.mode);
        CImageDC& dc = Paint();
        EXPECT_EQ(dc.GetPixel(5, 5), c.expected) << "erase mode " << c.mode;
        EXPECT_EQ(dc.GetPixel(0, 0), GetSysColor(COLOR_WINDOWFRAME));
    }
    window_.SetFrameMode(0);
    window_.SetEraseMode(ERASE_BACKGROUND);
    EXPECT_EQ(Paint().GetPixel(0, 0), RGB(1, 2, 3));
    // Transparent: nothing is filled, and the picture's blue is left out.
    window_.SetStretchMode(1 | STRETCH_TRANSPARENT);
    CImageDC& dc = Paint();
    EXPECT_EQ(dc.GetPixel(5, 5), kWhite);
    EXPECT_EQ(dc.GetPixel(42, 42), kWhite);  // the picture's blue edge
    EXPECT_EQ(dc.GetPixel(51, 51), kRed);
}

TEST_F(ImageWndTest, MappingColoursRepaintOneColourOfThePicture) {
    const std::wstring file = Write("framed.bmp", Bmp(Framed(20, 20, kBlue, kRed, 5)));
    window_.SetMappingColors(kBlue, RGB(0, 200, 0));
    ASSERT_EQ(window_.ShowImageNow(file.c_str()), IMAGE_OK);
    CImageDC& dc = Paint();
    EXPECT_EQ(dc.GetPixel(42, 42), RGB(0, 200, 0));
    EXPECT_EQ(dc.GetPixel(51, 51), kRed);
}

TEST_F(ImageWndTest, MissingFilesGiveWayToDefaultPcxAndThenToTheBuiltInPicture) {
    const std::wstring missing = dir_.Wide("gone.bmp");
    EXPECT_EQ(window_.ShowImageNow(missing.c_str()), IMAGE_BUILTIN_SHOWN);
    ASSERT_NE(window_.GetPicture(), nullptr);
    EXPECT_EQ(window_.GetPicture()->Size(), CSize(32, 32));
    // The name set the window's default folder, where default.pcx is found.
    Write("default.pcx", Text(qx::test::WritePcx(qx::test::IndexedPicture(8, 4))));
    EXPECT_EQ(window_.ShowImageNow(missing.c_str()), IMAGE_DEFAULT_SHOWN);
    EXPECT_EQ(window_.GetPicture()->Size(), CSize(8, 4));
    EXPECT_EQ(window_.ShowImageNow(L"other"), IMAGE_DEFAULT_SHOWN);
    // A default.pcx that is no picture reports its own error.
    Write("default.pcx", std::string(200, '\x07'));
    EXPECT_EQ(window_.ShowImageNow(missing.c_str()), IMAGE_UNKNOWN_FORMAT);
}

TEST_F(ImageWndTest, AFileAnotherProgramHoldsLockedShowsTheBuiltInPicture) {
    const std::wstring file = Write("busy.bmp", Bmp(Framed(4, 4, kRed)));
    bool created = false;
    auto lock = qx::LockedAppendFile::Open(file, &created);
    ASSERT_TRUE(lock);
    EXPECT_EQ(window_.ShowImageNow(file.c_str()), IMAGE_FILE_LOCKED);
    EXPECT_EQ(window_.GetPicture()->Size(), CSize(32, 32));
    lock.reset();
    EXPECT_EQ(window_.ShowImageNow(file.c_str()), IMAGE_OK);
}

TEST_F(ImageWndTest, AFileThatCannotBeOpenedGivesError5AndIsNeverWaitedOn) {
    // A FIFO is no file to read a picture from: refused at once, not waited on.
    qx::test::MakeFifo(dir_.path() / "pipe.bmp");
    ImageErrors error = IMAGE_OK;
    EXPECT_TRUE(qx::test::ReturnsWithoutWaitingOn(dir_.path() / "pipe.bmp", [&] {
        error = window_.ShowImageNow(dir_.Wide("pipe.bmp").c_str());
    }));
    EXPECT_EQ(error, IMAGE_OPEN_FAILED);
    EXPECT_EQ(window_.GetPicture()->Size(), CSize(32, 32));
}

TEST_F(ImageWndTest, ABaseNameFindsTheBmpBeforeTheJpegAndContentBeatsTheExtension) {
    Write("pump.BMP", Bmp(Framed(6, 6, kRed)));
    Write("pump.JPG", "not looked at");
    window_.SetStretchMode(STRETCH_FILL);
    ASSERT_EQ(window_.ShowImageNow(dir_.Wide("pump").c_str()), IMAGE_OK);
    EXPECT_EQ(window_.GetKind(), qx::ImageKind::Bmp);
    EXPECT_EQ(Paint().GetPixel(50, 50), kRed);
    // An extension outside the list: the content says BMP.
    const std::wstring other = Write("pump.picture", Bmp(Framed(6, 6, kBlue)));
    ASSERT_EQ(window_.ShowImageNow(other.c_str()), IMAGE_OK);
    EXPECT_EQ(Paint().GetPixel(50, 50), kBlue);
}

TEST_F(ImageWndTest, ALibraryReferenceShowsThatSlideAndAnUnreadableSlideIsReported) {
    qx::test::SlideWriter valve(100, 100);
    valve.Color(1).Vector(0, 50, 100, 50).End();
    qx::test::WriteBytes(dir_.path() / "symbols.slb", qx::test::SlideLibrary({{"VALVE", valve.Bytes()}}));
    window_.SetStretchMode(1);
    ASSERT_EQ(window_.ShowImageNow((dir_.Wide("symbols") + L"?valve").c_str()), IMAGE_OK);
    EXPECT_EQ(window_.GetKind(), qx::ImageKind::SlideLibrary);
    ASSERT_NE(window_.GetSlide(), nullptr);
    EXPECT_EQ(window_.GetSlide()->GetPoints().size(), 2u);
    // The red line across the middle of the slide, drawn into the window
    // less its last column and row (101 x 101: y 50 lands on row 51).
    EXPECT_EQ(Paint().GetPixel(50, 51), RGB(255, 0, 0));
    // A slide the library does not hold is not passed off as shown.
    EXPECT_EQ(window_.ShowImageNow((dir_.Wide("symbols") + L"?pump").c_str()), IMAGE_NO_MEMORY);
}

// Rows of the window that hold dark text pixels.
int InkRows(const CImageDC& dc) {
    int rows = 0;
    for (int y = 1; y < kSide - 1; ++y) {
        bool ink = false;
        for (int x = 1; x < kSide - 1 && !ink; ++x) ink = GetRValue(dc.GetPixel(x, y)) < 100;
        rows += ink ? 1 : 0;
    }
    return rows;
}

TEST_F(ImageWndTest, ShowTextWithPointSizeZeroKeepsTheFontItHad) {
    EXPECT_EQ(window_.ShowText(L"Hg", 0), IMAGE_OK);
    EXPECT_EQ(window_.GetKind(), qx::ImageKind::Text);
    const int standard = InkRows(Paint());
    ASSERT_GT(standard, 0);
    window_.ShowText(L"Hg", 360);
    const int large = InkRows(Paint());
    EXPECT_GT(large, standard * 2);
    window_.ShowText(L"Hg", 0);
    EXPECT_EQ(InkRows(Paint()), large);
    EXPECT_EQ(window_.ShowText(nullptr, 100), IMAGE_OK);
    EXPECT_EQ(InkRows(Paint()), large);
}

TEST_F(ImageWndTest, TheMouseOverARegionOfATiffMarksItWithAnInvertedFrame) {
    qx::test::TiffOptions options;
    // Picture pixels, right and bottom inclusive; the smaller one wins.
    options.regions = {{"Kessel", 0, 19, 0, 19}, {"Pumpe", 10, 14, 10, 14}};
    const std::wstring file = Write("plan.tif", Text(qx::test::WriteTiff(Framed(20, 20, kWhite), options)));
    window_.SetStretchMode(STRETCH_FIT);  // 5 times: 100 x 100 at (1, 1)
    ASSERT_EQ(window_.ShowImageNow(file.c_str()), IMAGE_OK);
    EXPECT_EQ(Paint().GetPixel(51, 51), kWhite);
    window_.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(63, 63));  // picture pixel (12, 12)
    EXPECT_EQ(window_.GetHighlightedRegion(), 1);
    CImageDC& marked = Paint();
    // The frame runs along the region's pixels 10 to 14: window 51 to 75.
    EXPECT_EQ(marked.GetPixel(51, 51), RGB(0, 0, 0));
    EXPECT_EQ(marked.GetPixel(75, 60), RGB(0, 0, 0));
    EXPECT_EQ(marked.GetPixel(60, 60), kWhite);
    EXPECT_EQ(marked.GetPixel(76, 60), kWhite);
    window_.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(window_.GetHighlightedRegion(), 0);
    window_.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(0, 0));  // the frame: off the picture
    EXPECT_EQ(window_.GetHighlightedRegion(), -1);
    EXPECT_EQ(Paint().GetPixel(51, 51), kWhite);
}

TEST(RasterPictureRegions, TheSmallestRegionHoldingThePointWinsAndTheFirstOfEqualOnes) {
    qx::RasterPicture picture;
    qx::RasterPixels pixels = qx::BuiltinPicture();
    pixels.regions = {{"all", 0, 31, 0, 31}, {"left", 0, 9, 0, 31}, {"corner", 0, 4, 0, 4}, {"twin", 0, 4, 0, 4}};
    picture.Assign(pixels);
    EXPECT_EQ(picture.RegionAt(CPoint(2, 2)), 2);
    EXPECT_EQ(picture.RegionAt(CPoint(8, 20)), 1);
    EXPECT_EQ(picture.RegionAt(CPoint(31, 31)), 0);
    EXPECT_EQ(picture.RegionAt(CPoint(32, 0)), -1);
}

}  // namespace
