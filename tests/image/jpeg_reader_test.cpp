#include "qx/platform/gfx/jpeg_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "qx/image/raster_decoder.h"
#include "tests/image/image_references.h"
#include "tests/image/image_writers.h"
#include "tests/image/jpeg_writer.h"

namespace qx::gfx {
namespace {

using test::Bytes;
using test::ColourPicture;
using test::IndexedPicture;
using test::TestPicture;

// libjpeg-turbo's own decode of a whole picture with its default settings,
// as RGB rows from the top (grey pictures with equal red, green and blue).
TestPicture LibjpegDecode(std::span<const std::uint8_t> file) {
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    TestPicture picture{static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height), {}, {}};
    picture.samples.resize(static_cast<std::size_t>(picture.width) * picture.height * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = picture.samples.data() + static_cast<std::size_t>(cinfo.output_scanline) * picture.width * 3;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return picture;
}

// The delivered rows as RGB rows from the top.
TestPicture PictureOf(const JpegRows& rows) {
    RasterPixels raster;
    raster.header = rows.header;
    raster.bits = rows.bits;
    return test::PictureOf(raster);
}

void ExpectSamePicture(const TestPicture& actual, const TestPicture& expected) {
    ASSERT_EQ(actual.width, expected.width);
    ASSERT_EQ(actual.height, expected.height);
    EXPECT_TRUE(actual.AsRgb().samples == expected.AsRgb().samples);
}

void ExpectRowsLayout(const JpegRows& rows, int bitCount) {
    EXPECT_EQ(rows.header.biBitCount, bitCount);
    EXPECT_GT(rows.header.biHeight, 0);
    const std::size_t stride = (static_cast<std::size_t>(rows.header.biWidth) * bitCount + 31) / 32 * 4;
    EXPECT_EQ(rows.header.biSizeImage, stride * rows.header.biHeight);
    EXPECT_EQ(rows.bits.size(), rows.header.biSizeImage);
}

TEST(JpegReader, SampleWithoutThumbnailDecodesAsLibjpegDoes) {
    const Bytes file = test::SampleFile("libjpeg-turbo_testorig.jpg");
    JpegInfo info;
    ASSERT_EQ(ReadJpegInfo(file, &info), JpegStatus::kOk);
    EXPECT_EQ(info.width, 227);
    EXPECT_EQ(info.height, 149);
    EXPECT_EQ(info.channels, 3);
    EXPECT_EQ(info.thumbnail, JpegThumbnail::kNone);
    EXPECT_EQ(info.thumbnailWidth, 0);
    JpegRows rows;
    ASSERT_EQ(ReadJpegPicture(file, kMaxRasterPixels, &rows), JpegStatus::kOk);
    ExpectRowsLayout(rows, 24);
    ExpectSamePicture(PictureOf(rows), LibjpegDecode(file));

    RasterPixels raster;
    ASSERT_EQ(DecodeRaster(file, &raster), IMAGE_OK);
    EXPECT_EQ(raster.bits, rows.bits);
    EXPECT_TRUE(raster.palette.empty());
}

TEST(JpegReader, GreyAndProgressivePicturesDecodeAsLibjpegDoes) {
    const TestPicture picture = ColourPicture(45, 31, 4);
    for (const test::JpegWriteOptions& options :
         {test::JpegWriteOptions{.space = JCS_GRAYSCALE}, test::JpegWriteOptions{.progressive = true},
          test::JpegWriteOptions{.space = JCS_GRAYSCALE, .progressive = true}}) {
        const Bytes file = test::WriteJpeg(picture, options);
        JpegRows rows;
        JpegInfo info;
        ASSERT_EQ(ReadJpegPicture(file, kMaxRasterPixels, &rows, &info), JpegStatus::kOk);
        EXPECT_EQ(info.channels, options.space == JCS_GRAYSCALE ? 1 : 3);
        ExpectRowsLayout(rows, 24);
        ExpectSamePicture(PictureOf(rows), LibjpegDecode(file));
    }
}

// Four channels give 32-bit rows whose colours are the inks taken off
// white: flat colours come back close to the RGB they were made from.
TEST(JpegReader, CmykPicturesGiveColouredRowsOf32Bits) {
    TestPicture picture{32, 16, {}, {}};
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 32; ++x) {
            const test::Rgb c = x < 16 ? test::Rgb{200, 40, 90} : test::Rgb{20, 160, 230};
            picture.samples.insert(picture.samples.end(), c.begin(), c.end());
        }
    }
    const Bytes file = test::WriteJpeg(picture, {.space = JCS_CMYK, .quality = 95});
    JpegRows rows;
    JpegInfo info;
    ASSERT_EQ(ReadJpegPicture(file, kMaxRasterPixels, &rows, &info), JpegStatus::kOk);
    EXPECT_EQ(info.channels, 4);
    ExpectRowsLayout(rows, 32);
    const TestPicture decoded = PictureOf(rows);
    for (const auto& [x, y] : {std::pair{4, 4}, std::pair{27, 11}}) {
        const test::Rgb got = decoded.At(x, y), want = picture.At(x, y);
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(got[c], want[c], 6) << x << "," << y;
    }
}

struct ThumbnailCase {
    const char* name;
    std::vector<test::JpegSegmentToWrite> segments;
    bool jfif;  // libjpeg's own JFIF header before the segments
    JpegThumbnail kind;
    int width, height;
};

std::vector<ThumbnailCase> ThumbnailCases() {
    const TestPicture rgb = ColourPicture(16, 12, 5);
    const TestPicture indexed = IndexedPicture(8, 6);
    const Bytes jpeg20x10 = test::WriteJpeg(ColourPicture(20, 10, 6));
    const Bytes jpeg24x16 = test::WriteJpeg(ColourPicture(24, 16, 7));
    Bytes claimsMore = test::JfifSegment(rgb);
    claimsMore[12] = 40;  // a thumbnail width that needs more bytes than the segment holds
    Bytes exifOutside = test::ExifSegment(jpeg24x16, false);
    exifOutside[6 + 26 + 2 + 12 + 8 + 3] = 0xF0;  // IFD1's thumbnail offset beyond the segment
    Bytes exifNotJpeg = test::ExifSegment(jpeg24x16, false);
    exifNotJpeg[6 + 68 + 1] = 0x00;  // the stream does not start with FF D8
    Bytes exifBroken = test::ExifSegment(Bytes{0xFF, 0xD8, 0xFF, 0xC0, 0, 3, 1, 2, 3, 4}, true);
    return {
        {"JFIF RGB", {{JPEG_APP0, test::JfifSegment(rgb)}}, false, JpegThumbnail::kJfif, 16, 12},
        {"JFXX JPEG", {{JPEG_APP0, test::JfxxJpegSegment(jpeg20x10)}}, true, JpegThumbnail::kJfxxJpeg, 20, 10},
        {"JFXX palette", {{JPEG_APP0, test::JfxxRawSegment(indexed)}}, true, JpegThumbnail::kJfxxPalette, 8, 6},
        {"JFXX RGB", {{JPEG_APP0, test::JfxxRawSegment(rgb)}}, true, JpegThumbnail::kJfxxRgb, 16, 12},
        {"EXIF Intel", {{JPEG_APP0 + 1, test::ExifSegment(jpeg24x16, false)}}, true, JpegThumbnail::kExif, 24, 16},
        {"EXIF Motorola", {{JPEG_APP0 + 1, test::ExifSegment(jpeg24x16, true)}}, true, JpegThumbnail::kExif, 24, 16},
        {"JFIF 0 x 0, then EXIF",
         {{JPEG_APP0, test::JfifSegment(TestPicture{})}, {JPEG_APP0 + 1, test::ExifSegment(jpeg24x16, true)}},
         false,
         JpegThumbnail::kExif,
         24,
         16},
        {"JFIF before EXIF: the first wins",
         {{JPEG_APP0, test::JfifSegment(rgb)}, {JPEG_APP0 + 1, test::ExifSegment(jpeg24x16, false)}},
         false,
         JpegThumbnail::kJfif,
         16,
         12},
        {"EXIF before JFXX: the first wins",
         {{JPEG_APP0 + 1, test::ExifSegment(jpeg24x16, false)}, {JPEG_APP0, test::JfxxRawSegment(indexed)}},
         true,
         JpegThumbnail::kExif,
         24,
         16},
        {"broken EXIF thumbnail, then JFXX",
         {{JPEG_APP0 + 1, exifBroken}, {JPEG_APP0, test::JfxxRawSegment(indexed)}},
         true,
         JpegThumbnail::kJfxxPalette,
         8,
         6},
        {"JFIF claiming more than it holds", {{JPEG_APP0, claimsMore}}, false, JpegThumbnail::kNone, 0, 0},
        {"EXIF offset outside", {{JPEG_APP0 + 1, exifOutside}}, true, JpegThumbnail::kNone, 0, 0},
        {"EXIF thumbnail not a JPEG", {{JPEG_APP0 + 1, exifNotJpeg}}, true, JpegThumbnail::kNone, 0, 0},
        {"EXIF thumbnail that does not decode", {{JPEG_APP0 + 1, exifBroken}}, true, JpegThumbnail::kNone, 0, 0},
    };
}

TEST(JpegReader, EmbeddedThumbnailIsDeliveredInsteadOfThePicture) {
    const TestPicture main = ColourPicture(64, 48, 8);
    for (const ThumbnailCase& c : ThumbnailCases()) {
        SCOPED_TRACE(c.name);
        const Bytes file = test::WriteJpeg(main, {.jfif = c.jfif, .segments = c.segments});
        JpegRows rows;
        JpegInfo delivered;
        ASSERT_EQ(ReadJpegPicture(file, kMaxRasterPixels, &rows, &delivered), JpegStatus::kOk);
        ExpectRowsLayout(rows, 24);
        EXPECT_EQ(delivered.thumbnail, c.kind);
        EXPECT_EQ(delivered.width, 64);
        const int width = c.kind == JpegThumbnail::kNone ? 64 : c.width;
        const int height = c.kind == JpegThumbnail::kNone ? 48 : c.height;
        EXPECT_EQ(rows.header.biWidth, width);
        EXPECT_EQ(rows.header.biHeight, height);
        EXPECT_EQ(delivered.thumbnailWidth, c.width);
        EXPECT_EQ(delivered.thumbnailHeight, c.height);
        // The parameters read alone name the same thumbnail.
        JpegInfo info;
        ASSERT_EQ(ReadJpegInfo(file, &info), JpegStatus::kOk);
        EXPECT_EQ(info.width, 64);
        EXPECT_EQ(info.height, 48);
        EXPECT_EQ(info.thumbnail, c.kind);
        EXPECT_EQ(info.thumbnailWidth, c.width);
        EXPECT_EQ(info.thumbnailHeight, c.height);
    }
}

TEST(JpegReader, ThumbnailPixelsAreTheEmbeddedOnes) {
    const TestPicture rgb = ColourPicture(16, 12, 5);
    const TestPicture indexed = IndexedPicture(8, 6);
    const Bytes thumbnailJpeg = test::WriteJpeg(ColourPicture(20, 10, 6));
    const TestPicture main = ColourPicture(64, 48, 8);
    struct Case {
        Bytes file;
        TestPicture expected;
    };
    const Case cases[] = {
        {test::WriteJpeg(main, {.jfif = false, .segments = {{JPEG_APP0, test::JfifSegment(rgb)}}}), rgb},
        {test::WriteJpeg(main, {.segments = {{JPEG_APP0, test::JfxxRawSegment(rgb)}}}), rgb},
        {test::WriteJpeg(main, {.segments = {{JPEG_APP0, test::JfxxRawSegment(indexed)}}}), indexed},
        {test::WriteJpeg(main, {.segments = {{JPEG_APP0, test::JfxxJpegSegment(thumbnailJpeg)}}}),
         LibjpegDecode(thumbnailJpeg)},
        {test::WriteJpeg(main, {.segments = {{JPEG_APP0 + 1, test::ExifSegment(thumbnailJpeg, true)}}}),
         LibjpegDecode(thumbnailJpeg)},
    };
    for (const Case& c : cases) {
        JpegRows rows;
        ASSERT_EQ(ReadJpegPicture(c.file, kMaxRasterPixels, &rows), JpegStatus::kOk);
        ExpectSamePicture(PictureOf(rows), c.expected);
    }
}

// A SOF marker's height and width (big-endian, after its length and
// precision) set to other values.
Bytes WithFrameSize(Bytes file, unsigned width, unsigned height) {
    for (std::size_t k = 2; k + 8 < file.size(); ++k) {
        if (file[k] == 0xFF && (file[k + 1] == 0xC0 || file[k + 1] == 0xC2)) {
            file[k + 5] = static_cast<std::uint8_t>(height >> 8), file[k + 6] = static_cast<std::uint8_t>(height);
            file[k + 7] = static_cast<std::uint8_t>(width >> 8), file[k + 8] = static_cast<std::uint8_t>(width);
            return file;
        }
    }
    ADD_FAILURE() << "no frame header";
    return file;
}

TEST(JpegReader, FailuresAreReportedByKind) {
    const Bytes good = test::WriteJpeg(ColourPicture(40, 30));
    Bytes garbage = good;
    for (std::size_t k = 200; k < garbage.size() - 2; ++k) garbage[k] = 0xFF;  // markers everywhere
    struct Case {
        const char* name;
        Bytes file;
        JpegStatus status;
        ImageErrors error;
    };
    const Case cases[] = {
        {"empty", {}, JpegStatus::kNotJpeg, IMAGE_NO_MEMORY},
        {"not a JPEG", {0xFF, 0xD9, 0, 0}, JpegStatus::kNotJpeg, IMAGE_UNKNOWN_FORMAT},
        {"only the start", {0xFF, 0xD8}, JpegStatus::kCutShort, IMAGE_READ_FAILED},
        {"cut in the middle of the scan", Bytes(good.begin(), good.begin() + good.size() * 3 / 4),
         JpegStatus::kCutShort, IMAGE_READ_FAILED},
        {"cut before the scan", Bytes(good.begin(), good.begin() + 300), JpegStatus::kCutShort, IMAGE_READ_FAILED},
        {"bad marker data", garbage, JpegStatus::kCorrupt, IMAGE_READ_FAILED},
        {"60000 x 60000", WithFrameSize(good, 60000, 60000), JpegStatus::kTooLarge, IMAGE_NO_MEMORY},
        {"40000 x 1", WithFrameSize(good, 40000, 1), JpegStatus::kTooLarge, IMAGE_NO_MEMORY},
        {"height 0", WithFrameSize(good, 40, 0), JpegStatus::kCorrupt, IMAGE_READ_FAILED},
    };
    for (const Case& c : cases) {
        JpegRows rows;
        EXPECT_EQ(ReadJpegPicture(c.file, kMaxRasterPixels, &rows), c.status) << c.name;
        EXPECT_TRUE(rows.bits.empty()) << c.name;
        RasterPixels raster;
        EXPECT_EQ(DecodeRaster(c.file, &raster), c.error) << c.name;
    }
    JpegRows rows;
    EXPECT_EQ(ReadJpegPicture(good, 40 * 30 - 1, &rows), JpegStatus::kTooLarge);
    EXPECT_EQ(ReadJpegPicture(good, 40 * 30, &rows), JpegStatus::kOk);
}

// Every prefix of a JPEG file that lacks more than its end-of-image marker
// is refused; with a thumbnail, a prefix that holds the thumbnail and the
// markers up to the scan delivers the thumbnail.
TEST(JpegReader, EveryTruncationIsRefusedOrWhole) {
    const Bytes file = test::SampleFile("libjpeg-turbo_testorig.jpg");
    const Bytes progressive = test::WriteJpeg(ColourPicture(33, 17), {.progressive = true});
    for (const Bytes* whole : {&file, &progressive}) {
        for (std::size_t length = 0; length + 2 < whole->size(); ++length) {
            const Bytes prefix(whole->begin(), whole->begin() + length);
            JpegRows rows;
            EXPECT_NE(ReadJpegPicture(prefix, kMaxRasterPixels, &rows), JpegStatus::kOk) << length;
        }
    }
    const Bytes withThumbnail = test::WriteJpeg(
        ColourPicture(64, 48),
        {.segments = {{JPEG_APP0 + 1, test::ExifSegment(test::WriteJpeg(ColourPicture(8, 8)), false)}}});
    for (std::size_t length = 0; length < withThumbnail.size(); ++length) {
        const Bytes prefix(withThumbnail.begin(), withThumbnail.begin() + length);
        JpegRows rows;
        JpegInfo info;
        if (ReadJpegPicture(prefix, kMaxRasterPixels, &rows, &info) == JpegStatus::kOk) {
            EXPECT_EQ(info.thumbnail, JpegThumbnail::kExif) << length;
            ExpectRowsLayout(rows, 24);
        }
    }
}

// A progressive file whose first scan (the DC values, read the same way
// whatever came before) repeats a thousand times would cost a pass over
// the picture per scan; the reader gives up after a bound.
TEST(JpegReader, EndlessScansAreRefused) {
    const Bytes file = test::WriteJpeg(ColourPicture(64, 64), {.progressive = true});
    std::size_t first = 2;
    while (first + 1 < file.size() && !(file[first] == 0xFF && file[first + 1] == 0xDA)) ++first;
    std::size_t end = first + 2;
    while (end + 1 < file.size() && !(file[end] == 0xFF && file[end + 1] != 0 && (file[end + 1] & 0xF8) != 0xD0)) {
        ++end;
    }
    ASSERT_LT(end + 1, file.size());
    Bytes repeated(file.begin(), file.begin() + end);
    for (int k = 0; k < 1000; ++k) repeated.insert(repeated.end(), file.begin() + first, file.begin() + end);
    repeated.insert(repeated.end(), file.begin() + end, file.end());
    JpegRows rows;
    EXPECT_EQ(ReadJpegPicture(repeated, kMaxRasterPixels, &rows), JpegStatus::kCorrupt);
    // The same file with the scan twice decodes.
    Bytes twice(file.begin(), file.begin() + end);
    twice.insert(twice.end(), file.begin() + first, file.end());
    EXPECT_EQ(ReadJpegPicture(twice, kMaxRasterPixels, &rows), JpegStatus::kOk);
}

}  // namespace
}  // namespace qx::gfx
