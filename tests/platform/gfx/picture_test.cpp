#include "qx/platform/gfx/picture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "qx/platform/gfx/targets.h"
#include "qx/platform/os/native_path.h"
#include "tests/support/test_support.h"

namespace qx::gfx {
namespace {

using qx::test::ReadBytes;
using qx::test::TempDir;
using qx::test::WriteBytes;

void PutLe(std::string& out, std::uint32_t value, int bytes) {
    for (int k = 0; k < bytes; ++k) out += static_cast<char>((value >> (8 * k)) & 0xFF);
}

void PutBe(std::string& out, std::uint32_t value) {
    for (int k = 3; k >= 0; --k) out += static_cast<char>((value >> (8 * k)) & 0xFF);
}

// A 24-bit bottom-up BMP file whose left half is `left` and right half
// `right`; the header's size may claim other dimensions than the rows hold.
std::string BmpFile(int width, int height, COLORREF left, COLORREF right, int claimedWidth = 0,
                    int claimedHeight = 0) {
    const int stride = (width * 3 + 3) / 4 * 4;
    std::string rows;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = x < width / 2 ? left : right;
            rows += static_cast<char>(GetBValue(c));
            rows += static_cast<char>(GetGValue(c));
            rows += static_cast<char>(GetRValue(c));
        }
        rows.append(static_cast<size_t>(stride - width * 3), '\0');
    }
    std::string file = "BM";
    PutLe(file, static_cast<std::uint32_t>(54 + rows.size()), 4);
    PutLe(file, 0, 4);
    PutLe(file, 54, 4);
    PutLe(file, 40, 4);
    PutLe(file, static_cast<std::uint32_t>(claimedWidth ? claimedWidth : width), 4);
    PutLe(file, static_cast<std::uint32_t>(claimedHeight ? claimedHeight : height), 4);
    PutLe(file, 1, 2);
    PutLe(file, 24, 2);
    PutLe(file, 0, 4);
    PutLe(file, static_cast<std::uint32_t>(rows.size()), 4);
    PutLe(file, 0, 4);
    PutLe(file, 0, 4);
    PutLe(file, 0, 4);
    PutLe(file, 0, 4);
    return file + rows;
}

// A PNG of the same two halves, written by the image target.
std::string PngFile(const TempDir& dir, int width, int height, COLORREF left, COLORREF right) {
    CImageDC image(width, height);
    image.FillSolidRect(CRect(0, 0, width / 2, height), left);
    image.FillSolidRect(CRect(width / 2, 0, width, height), right);
    EXPECT_TRUE(image.SavePng(CString(dir.Wide("made.png"))));
    return ReadBytes(dir.path() / "made.png");
}

std::uint32_t Crc32(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (unsigned char b : bytes) {
        crc ^= b;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320 & (0u - (crc & 1)));
    }
    return ~crc;
}

// The PNG with a physical resolution chunk after its header chunk.
std::string WithResolution(const std::string& png, std::uint32_t dotsPerMetreX, std::uint32_t dotsPerMetreY) {
    std::string chunk = "pHYs";
    PutBe(chunk, dotsPerMetreX);
    PutBe(chunk, dotsPerMetreY);
    chunk += '\x01';  // metres
    std::string framed;
    PutBe(framed, 9);
    framed += chunk;
    PutBe(framed, Crc32(chunk));
    constexpr size_t kAfterHeader = 8 + 8 + 13 + 4;
    return png.substr(0, kAfterHeader) + framed + png.substr(kAfterHeader);
}

class PictureTest : public ::testing::Test {
protected:
    CString Write(const std::string& name, const std::string& bytes) {
        WriteBytes(dir_.path() / name, bytes);
        return CString(dir_.Wide(name));
    }
    TempDir dir_;
};

TEST_F(PictureTest, LoadsSizesInPixelsAndHundredthsOfAMillimetre) {
    const std::string png = PngFile(dir_, 40, 20, RGB(255, 0, 0), RGB(0, 0, 255));
    struct Case {
        const char* name;
        std::string bytes;
        CSize pixels;
        CSize hiMetric;
    };
    const Case cases[] = {
        {"png without resolution: 96 dpi", png, {40, 20}, {1058, 529}},
        {"png at 300 dpi", WithResolution(png, 11811, 11811), {40, 20}, {339, 169}},
        {"png at 300 x 150 dpi", WithResolution(png, 11811, 5906), {40, 20}, {339, 339}},
        {"bmp", BmpFile(3, 2, RGB(0, 255, 0), RGB(0, 0, 0)), {3, 2}, {79, 53}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Picture picture;
        ASSERT_TRUE(picture.Load(Write("picture", c.bytes)));
        EXPECT_TRUE(picture.IsLoaded());
        EXPECT_EQ(picture.SizePixels(), c.pixels);
        EXPECT_EQ(picture.SizeHiMetric(), c.hiMetric);
    }
}

TEST_F(PictureTest, AFileThatCannotBeReadLeavesThePictureEmpty) {
    const std::string png = PngFile(dir_, 40, 20, RGB(255, 0, 0), RGB(0, 0, 255));
    const std::string bmp = BmpFile(40, 20, RGB(255, 0, 0), RGB(0, 0, 255));
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"truncated png", png.substr(0, png.size() / 2)},
        {"png cut in its header", png.substr(0, 20)},
        {"truncated bmp", bmp.substr(0, bmp.size() / 2)},
        {"bmp claiming a huge picture", BmpFile(4, 4, 0, 0, 100000, 100000)},
        {"empty file", ""},
        {"not a picture", "hello, this is text and no picture at all"},
        {"vector picture", "<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10'/>"},
    };
    CImageDC image(20, 20);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Picture picture;
        ASSERT_TRUE(picture.Load(Write("good.png", png)));
        EXPECT_FALSE(picture.Load(Write("bad", c.bytes)));
        EXPECT_FALSE(picture.IsLoaded());
        EXPECT_EQ(picture.SizePixels(), CSize());
        EXPECT_FALSE(picture.Draw(image, CRect(0, 0, 20, 20)));
    }
    Picture missing;
    EXPECT_FALSE(missing.Load(CString(dir_.Wide("missing.png"))));
}

TEST_F(PictureTest, MapsLibraryPaths) {
    Write("Pic.png", PngFile(dir_, 4, 4, 0, 0));
    qx::SetDriveMap("T=" + dir_.path().string());
    Picture picture;
    EXPECT_TRUE(picture.Load(CString(L"T:\\pic.PNG")));
    qx::ResetDriveMap();
}

struct DrawCase {
    const char* name;
    int mapMode;
    CSize windowExt;
    CSize viewportExt;
    CRect logicalRect;
};

TEST_F(PictureTest, DrawsStretchedIntoTheRectangle) {
    // The device rectangle is (10, 10, 90, 50) in every case: the 40 x 20
    // picture doubled.
    const DrawCase cases[] = {
        {"pixels", MM_TEXT, {1, 1}, {1, 1}, {10, 10, 90, 50}},
        {"anisotropic", MM_ANISOTROPIC, {200, 200}, {100, 100}, {20, 20, 180, 100}},
    };
    const CString files[] = {Write("p.png", PngFile(dir_, 40, 20, RGB(255, 0, 0), RGB(0, 0, 255))),
                             Write("p.bmp", BmpFile(40, 20, RGB(255, 0, 0), RGB(0, 0, 255)))};
    for (const CString& file : files) {
        Picture picture;
        ASSERT_TRUE(picture.Load(file));
        for (const DrawCase& c : cases) {
            SCOPED_TRACE(c.name);
            CImageDC image(100, 60);
            image.SetMapMode(c.mapMode);
            image.SetWindowExt(c.windowExt.cx, c.windowExt.cy);
            image.SetViewportExt(c.viewportExt.cx, c.viewportExt.cy);
            ASSERT_TRUE(picture.Draw(image, c.logicalRect));
            EXPECT_EQ(image.GetPixel(12, 12), RGB(255, 0, 0));
            EXPECT_EQ(image.GetPixel(48, 30), RGB(255, 0, 0));
            EXPECT_EQ(image.GetPixel(52, 30), RGB(0, 0, 255));
            EXPECT_EQ(image.GetPixel(88, 48), RGB(0, 0, 255));
            EXPECT_EQ(image.GetPixel(9, 30), RGB(255, 255, 255));
            EXPECT_EQ(image.GetPixel(90, 30), RGB(255, 255, 255));
            EXPECT_EQ(image.GetPixel(50, 9), RGB(255, 255, 255));
            EXPECT_EQ(image.GetPixel(50, 50), RGB(255, 255, 255));
        }
    }
}

TEST_F(PictureTest, IsRecordedIntoAMetafile) {
    Picture picture;
    ASSERT_TRUE(picture.Load(Write("p.png", PngFile(dir_, 40, 20, RGB(255, 0, 0), RGB(0, 0, 255)))));
    const CRect frame(0, 0, 40, 20);
    CMetaFileDC recorder(nullptr, &frame);
    ASSERT_TRUE(picture.Draw(recorder, frame));
    const auto metafile = recorder.CloseEnhanced();
    ASSERT_TRUE(metafile);
    CImageDC image(100, 60);
    image.PlayMetaFile(*metafile, CRect(10, 10, 90, 50));
    EXPECT_EQ(image.GetPixel(20, 30), RGB(255, 0, 0));
    EXPECT_EQ(image.GetPixel(80, 30), RGB(0, 0, 255));

    CMemoryDC nowhere;
    EXPECT_TRUE(picture.Draw(nowhere, frame));
}

// A report loads its logo again for every page; the PDF holds the image once
// and still a second image for a different file.
TEST_F(PictureTest, APdfJobWritesEachFileOnce) {
    const CString files[] = {Write("a.bmp", BmpFile(8, 4, RGB(255, 0, 0), RGB(0, 0, 255))),
                             Write("a-copy.bmp", BmpFile(8, 4, RGB(255, 0, 0), RGB(0, 0, 255))),
                             Write("b.bmp", BmpFile(8, 4, RGB(0, 255, 0), RGB(0, 0, 255)))};
    PrinterSettings settings;
    settings.outputPath = dir_.Wide("job.pdf").c_str();
    CPrinterDC dc(settings);
    ASSERT_EQ(dc.StartDoc(L"pictures"), 1);
    for (const CString& file : files) {
        Picture picture;
        ASSERT_TRUE(picture.Load(file));
        dc.StartPage();
        ASSERT_TRUE(picture.Draw(dc, CRect(100, 100, 900, 500)));
        dc.EndPage();
    }
    ASSERT_EQ(dc.EndDoc(), 1);

    const std::string command = "pdfimages -list '" + dir_.Native("job.pdf") + "' > '" + dir_.Native("list.txt") + "'";
    if (std::system(command.c_str()) != 0) GTEST_SKIP() << "pdfimages is not available";
    // One row per image drawn after two header lines; the eleventh column is
    // the image's object number.
    std::istringstream rows(ReadBytes(dir_.path() / "list.txt"));
    std::string line;
    std::vector<int> objects;
    for (int row = 0; std::getline(rows, line); ++row) {
        std::istringstream columns(line);
        const std::vector<std::string> fields{std::istream_iterator<std::string>(columns), {}};
        if (row >= 2 && fields.size() > 10) objects.push_back(std::stoi(fields[10]));
    }
    ASSERT_EQ(objects.size(), 3u);
    EXPECT_EQ(objects[0], objects[1]);
    EXPECT_NE(objects[0], objects[2]);
}

}  // namespace
}  // namespace qx::gfx
