// qxtool image show, run as a user would: the image errors it reports for the
// public samples and for generated bad files, and the picture it paints.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "qx/platform/gfx/picture.h"
#include "tests/image/image_writers.h"
#include "tests/support/test_support.h"
#include "tests/tools/run_tool.h"

namespace {

using qx::test::RunTool;
using qx::test::ToolResult;

std::string Sample(const char* name) { return std::string(QX_TEST_DATA_DIR) + "/images/" + name; }

class ImageCommandsTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const qx::test::Bytes& bytes) {
        qx::test::WriteBytes(dir_.path() / name, std::string(bytes.begin(), bytes.end()));
        return dir_.Native(name);
    }
    qx::test::TempDir dir_;
};

TEST_F(ImageCommandsTest, ReportsTheImageErrorOfEachFile) {
    qx::test::DwgOptions noPreview;
    noPreview.withPreview = false;
    qx::test::BmpOptions fourBits;
    fourBits.bitCount = 4;
    qx::test::BmpOptions sixteenColours;
    sixteenColours.colorsUsed = 16;
    qx::test::TiffOptions lzw;
    lzw.compression = 5;
    struct Case {
        std::string file;
        int exitCode;
        std::string out;
    } const cases[] = {
        {Sample("bmpsuite_g_rgb24.bmp"), 0, "0 shown\n"},
        {Sample("bmpsuite_g_pal8w126.bmp"), 1, "8 unsupported palette size\n"},  // 252 colours
        {Sample("bmpsuite_g_pal4.bmp"), 1, "7 unsupported colour depth, plane count or compression\n"},
        {Sample("bmpsuite_g_pal8rle.bmp"), 1, "7 unsupported colour depth, plane count or compression\n"},
        {Sample("pillow_hopper.tif"), 0, "0 shown\n"},
        {Sample("pillow_hopper_lzw.tif"), 1, "10 compressed TIFF\n"},
        {Sample("libtiff_rgb-3c-8b.tiff"), 1, "9 TIFF in Motorola byte order\n"},
        {Sample("pillow_odd_stride.pcx"), 0, "0 shown\n"},
        {Sample("libjpeg-turbo_testorig.jpg"), 0, "0 shown\n"},
        {Write("plan.dwg", qx::test::WriteDwg(qx::test::IndexedPicture(8, 8), noPreview)), 1,
         "18 DWG drawing without a preview image\n"},
        {Write("four.bmp", qx::test::WriteBmp(qx::test::IndexedPicture(8, 8, 16), fourBits)), 1,
         "7 unsupported colour depth, plane count or compression\n"},
        {Write("sixteen.bmp", qx::test::WriteBmp(qx::test::IndexedPicture(8, 8, 16), sixteenColours)), 1,
         "8 unsupported palette size\n"},
        {Write("packed.tif", qx::test::WriteTiff(qx::test::ColourPicture(8, 8), lzw)), 1, "10 compressed TIFF\n"},
        {Write("mm.tif", qx::test::MotorolaTiff()), 1, "9 TIFF in Motorola byte order\n"},
        {Write("odd.pic", qx::test::WriteBmp(qx::test::ColourPicture(8, 8))), 0, "0 shown\n"},
        {Write("noise.bmp", qx::test::Bytes(300, 0x5A)), 1, "17 file format not recognised\n"},
        {dir_.Native("missing.pcx"), 1,
         "2 the file and default.pcx are both missing; a built-in picture is shown\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const ToolResult r = RunTool({"image", "show", c.file});
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(r.out, c.out);
    }
}

TEST_F(ImageCommandsTest, PaintsTheWindowAsTheOptionsSay) {
    qx::test::TestPicture red{20, 10, {}, {}};
    for (int i = 0; i < 200; ++i) red.samples.insert(red.samples.end(), {220, 20, 30});
    const std::string file = Write("red.bmp", qx::test::WriteBmp(red));
    const std::string out = dir_.Native("out.png");
    const auto paint = [&](std::vector<std::string> options) {
        std::vector<std::string> args = {"image", "show", file, "--size", "102x52", "--out", out};
        args.insert(args.end(), options.begin(), options.end());
        const ToolResult r = RunTool(args);
        EXPECT_EQ(r.exitCode, 0) << r.out;
        auto picture = std::make_unique<qx::gfx::Picture>();
        EXPECT_TRUE(picture->Load(CString(dir_.Wide("out.png"))));
        EXPECT_EQ(picture->SizePixels(), CSize(102, 52));
        return picture;
    };
    constexpr COLORREF kRed = RGB(220, 20, 30);
    const auto topLeft = paint({"--align", "7", "--background", "102030"});
    EXPECT_EQ(topLeft->PixelColor(1, 1), kRed);
    EXPECT_EQ(topLeft->PixelColor(20, 10), kRed);
    EXPECT_EQ(topLeft->PixelColor(21, 1), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(topLeft->PixelColor(0, 0), RGB(100, 100, 100));  // the frame
    const auto filled = paint({"--stretch", "48", "--no-frame"});
    EXPECT_EQ(filled->PixelColor(1, 1), kRed);
    EXPECT_EQ(filled->PixelColor(100, 50), kRed);
    EXPECT_NE(filled->PixelColor(0, 0), kRed);  // the one-pixel margin stays
    const auto bottomRight = paint({"--align", "3", "--erase", "0"});
    EXPECT_EQ(bottomRight->PixelColor(100, 50), kRed);
    EXPECT_EQ(bottomRight->PixelColor(81, 41), kRed);
    EXPECT_EQ(bottomRight->PixelColor(79, 41), RGB(255, 255, 255));  // nothing erased
}

TEST_F(ImageCommandsTest, RejectsWrongCommandLines) {
    const std::string usage =
        "usage: qxtool image show NAME [--size WxH] [--stretch N] [--align N] [--erase N] [--background RRGGBB] "
        "[--no-frame] [--out OUT.png]\n";
    struct Case {
        std::vector<std::string> args;
        std::string message;
    } const cases[] = {
        {{"image", "show"}, "expects one NAME"},
        {{"image", "show", "a", "--align", "9"}, "--align needs a whole number from 0 to 8"},
        {{"image", "show", "a", "--erase", "x"}, "--erase needs a whole number from 0 to 3"},
        {{"image", "show", "a", "--size", "0x4"}, "--size needs WIDTHxHEIGHT, each from 1 to 8192"},
        {{"image", "show", "a", "--background", "red"}, "--background needs RRGGBB, six hexadecimal digits"},
        {{"image", "show", "a", "--zoom"}, "unknown option --zoom"},
    };
    for (const Case& c : cases) {
        const ToolResult r = RunTool(c.args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "qxtool image show: " + c.message + "\n" + usage);
    }
}

}  // namespace
