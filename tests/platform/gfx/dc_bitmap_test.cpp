// Device-independent bitmaps: the three depths, both row orders, row
// padding, stretching, transparency and headers that must be refused. Bits
// live in vectors of exactly the size the header implies, so a read past
// them shows under AddressSanitizer.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "qx/platform/gfx/targets.h"
#include "tests/platform/gfx/gfx_fixture.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

BITMAPINFOHEADER Header(int width, int height, int bitCount) {
    BITMAPINFOHEADER header;
    header.biWidth = width;
    header.biHeight = height;
    header.biBitCount = static_cast<std::uint16_t>(bitCount);
    return header;
}

// Pixels of a picture as seen (top row first) drawn 1:1 at (10, 10).
std::vector<COLORREF> ReadBack(const CImageDC& dc, int width, int height) {
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) pixels.push_back(dc.GetPixel(10 + x, 10 + y));
    }
    return pixels;
}

TEST(DcBitmap, EightBitPaletteBottomUp) {
    const RGBQUAD palette[3] = {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}};  // red, green, blue
    BITMAPINFOHEADER header = Header(3, 2, 8);
    header.biClrUsed = 3;
    // Rows of 3 bytes padded to 4; the last stored row is the top one. Index
    // 7 is past the palette and reads as black.
    const std::vector<std::uint8_t> bits = {2, 2, 7, 0xEE, 0, 1, 2, 0xEE};
    CImageDC dc(40, 40);
    EXPECT_EQ(dc.StretchDIBits(10, 10, 3, 2, 0, 0, 3, 2, bits.data(), header, palette), 2);
    EXPECT_EQ(ReadBack(dc, 3, 2), (std::vector<COLORREF>{kRed, kGreen, kBlue, kBlue, kBlue, RGB(0, 0, 0)}));
    EXPECT_EQ(qx::test::InkBox(dc), CRect(10, 10, 13, 12));
}

TEST(DcBitmap, TwentyFourBitBottomUpWithPadding) {
    // Width 2: 6 bytes of pixels and 2 of padding per row.
    const std::vector<std::uint8_t> bits = {
        0, 0, 255, 0, 255, 0, 0xAA, 0xBB,   // bottom row: red, green
        255, 0, 0, 255, 255, 255, 0xAA, 0xBB,  // top row: blue, white
    };
    CImageDC dc(40, 40, {.background = RGB(50, 50, 50)});
    EXPECT_EQ(dc.StretchDIBits(10, 10, 2, 2, 0, 0, 2, 2, bits.data(), Header(2, 2, 24), nullptr), 2);
    EXPECT_EQ(ReadBack(dc, 2, 2), (std::vector<COLORREF>{kBlue, kWhite, kRed, kGreen}));
}

TEST(DcBitmap, ThirtyTwoBitTopDownStretchedKeepsColours) {
    const std::vector<std::uint8_t> bits = {
        0, 0, 255, 0, 0, 255, 0, 0,    // top row: red, green
        255, 0, 0, 0, 0, 255, 255, 0,  // bottom row: blue, yellow
    };
    CImageDC dc(60, 60);
    dc.SetStretchBltMode(COLORONCOLOR);
    EXPECT_EQ(dc.StretchDIBits(10, 10, 40, 40, 0, 0, 2, 2, bits.data(), Header(2, -2, 32), nullptr), 2);
    EXPECT_EQ(dc.GetPixel(10, 10), kRed);
    EXPECT_EQ(dc.GetPixel(29, 29), kRed);
    EXPECT_EQ(dc.GetPixel(30, 10), kGreen);
    EXPECT_EQ(dc.GetPixel(10, 49), kBlue);
    EXPECT_EQ(dc.GetPixel(49, 49), RGB(255, 255, 0));
    EXPECT_EQ(qx::test::InkBox(dc), CRect(10, 10, 50, 50));
}

TEST(DcBitmap, StretchModeChoosesBetweenReplicatingAndSmoothing) {
    const std::vector<std::uint8_t> bits = {
        0, 0, 255, 0, 0, 255, 0, 0,    // top row: red, green
        255, 0, 0, 0, 0, 255, 255, 0,  // bottom row: blue, yellow
    };
    const COLORREF quadrants[2][2] = {{kRed, kGreen}, {kBlue, RGB(255, 255, 0)}};
    struct Case {
        const char* name;
        int mode;  // 0: the context's default
        bool transparentCall;
        bool replicates;
    };
    const Case cases[] = {
        {"default", 0, false, true},
        {"black on white", BLACKONWHITE, false, true},
        {"colour on colour", COLORONCOLOR, false, true},
        {"halftone", HALFTONE, false, false},
        {"transparent, default", 0, true, true},
        {"transparent, halftone", HALFTONE, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CImageDC dc(40, 40);
        if (c.mode) dc.SetStretchBltMode(c.mode);
        if (c.transparentCall) {
            EXPECT_TRUE(dc.TransparentDIBits(10, 10, 20, 20, 0, 0, 2, 2, bits.data(), Header(2, -2, 32), nullptr,
                                             kMagenta));
        } else {
            EXPECT_EQ(dc.StretchDIBits(10, 10, 20, 20, 0, 0, 2, 2, bits.data(), Header(2, -2, 32), nullptr), 2);
        }
        int exact = 0;
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 20; ++x) exact += dc.GetPixel(10 + x, 10 + y) == quadrants[y / 10][x / 10];
        }
        if (c.replicates) {
            // Every pixel keeps its source pixel's colour: four colours, no blends.
            EXPECT_EQ(exact, 400);
        } else {
            // Smoothing blends neighbours along the seams between the colours.
            EXPECT_LT(exact, 400);
        }
        EXPECT_EQ(qx::test::InkBox(dc), CRect(10, 10, 30, 30));
    }
}

TEST(DcBitmap, SourceRectangleSelectsPartOfThePicture) {
    const std::vector<std::uint8_t> bits = {
        0, 0, 255, 0, 0, 255, 0, 0,    // top row: red, green
        255, 0, 0, 0, 0, 255, 255, 0,  // bottom row: blue, yellow
    };
    CImageDC dc(60, 60);
    // The right column only, counted from the top of the picture as seen.
    EXPECT_EQ(dc.StretchDIBits(10, 10, 10, 20, 1, 0, 1, 2, bits.data(), Header(2, -2, 32), nullptr), 2);
    EXPECT_EQ(dc.GetPixel(15, 12), kGreen);
    EXPECT_EQ(dc.GetPixel(15, 25), RGB(255, 255, 0));
    EXPECT_EQ(qx::test::InkBox(dc), CRect(10, 10, 20, 30));
}

TEST(DcBitmap, TransparentColourIsLeftOut) {
    const std::vector<std::uint8_t> bits = {0, 0, 255, 255, 0, 255, 0, 0};  // red, magenta
    CImageDC dc(40, 40, {.background = kBlue});
    EXPECT_TRUE(dc.TransparentDIBits(10, 10, 20, 10, 0, 0, 2, 1, bits.data(), Header(2, 1, 24), nullptr, kMagenta));
    EXPECT_EQ(dc.GetPixel(12, 12), kRed);
    EXPECT_EQ(dc.GetPixel(25, 12), kBlue);
    EXPECT_EQ(qx::test::InkBox(dc, kBlue), CRect(10, 10, 20, 20));
}

TEST(DcBitmap, BadHeadersAreRefusedWithoutDrawing) {
    struct Case {
        const char* name;
        BITMAPINFOHEADER header;
        bool withPalette;
    };
    auto with = [](BITMAPINFOHEADER header, auto change) {
        change(header);
        return header;
    };
    const BITMAPINFOHEADER good = Header(4, 4, 24);
    const Case cases[] = {
        {"two planes", with(good, [](auto& h) { h.biPlanes = 2; }), false},
        {"compressed", with(good, [](auto& h) { h.biCompression = 1; }), false},
        {"16 bits", with(good, [](auto& h) { h.biBitCount = 16; }), false},
        {"1 bit", with(good, [](auto& h) { h.biBitCount = 1; }), false},
        {"zero width", with(good, [](auto& h) { h.biWidth = 0; }), false},
        {"negative width", with(good, [](auto& h) { h.biWidth = -4; }), false},
        {"zero height", with(good, [](auto& h) { h.biHeight = 0; }), false},
        {"most negative height", with(good, [](auto& h) { h.biHeight = INT32_MIN; }), false},
        {"huge width", with(good, [](auto& h) { h.biWidth = 1 << 30; }), false},
        {"short header", with(good, [](auto& h) { h.biSize = 12; }), false},
        {"image size below the rows", with(good, [](auto& h) { h.biSizeImage = 47; }), false},
        {"8 bits without palette", Header(4, 4, 8), false},
        {"8 bits with 257 colours", with(Header(4, 4, 8), [](auto& h) { h.biClrUsed = 257; }), true},
    };
    const std::vector<std::uint8_t> bits(4 * 16, 0);  // more than any valid case reads
    const std::vector<RGBQUAD> palette(256);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CImageDC dc(20, 20);
        EXPECT_EQ(dc.StretchDIBits(0, 0, 20, 20, 0, 0, 4, 4, bits.data(), c.header,
                                   c.withPalette ? palette.data() : nullptr),
                  0);
        EXPECT_TRUE(qx::test::InkBox(dc).IsRectEmpty());
    }
    CImageDC dc(20, 20);
    EXPECT_EQ(dc.StretchDIBits(0, 0, 20, 20, 0, 0, 4, 4, bits.data(), with(good, [](auto& h) { h.biSizeImage = 48; }),
                               nullptr),
              4);
}

}  // namespace
