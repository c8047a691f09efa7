#include "qx/image/raster_decoder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "tests/image/image_references.h"
#include "tests/image/image_writers.h"
#include "tests/image/jpeg_writer.h"

// The largest single allocation made while a test watches (operator new is
// replaced for the whole program; only the watching costs anything).
namespace {
std::atomic<bool> g_watchAllocations{false};
std::atomic<std::size_t> g_largestAllocation{0};
}  // namespace

void* operator new(std::size_t size) {
    if (g_watchAllocations.load(std::memory_order_relaxed)) {
        std::size_t seen = g_largestAllocation.load();
        while (size > seen && !g_largestAllocation.compare_exchange_weak(seen, size)) {
        }
    }
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
// Out of line, so that the compiler does not pair the free with a new it sees.
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace qx {
namespace {

using test::Bytes;
using test::ColourPicture;
using test::IndexedPicture;
using test::PictureOf;
using test::PixbufDecode;
using test::SampleFile;
using test::TestPicture;

ImageErrors Decode(const Bytes& file, RasterPixels* out = nullptr) {
    RasterPixels scratch;
    return DecodeRaster(file, out ? out : &scratch);
}

// The decoded picture as RGB rows, after checking its bitmap layout.
TestPicture Decoded(const Bytes& file) {
    RasterPixels picture;
    EXPECT_EQ(Decode(file, &picture), IMAGE_OK);
    test::ExpectWellFormed(picture);
    return PictureOf(picture);
}

void ExpectSamePicture(const TestPicture& actual, const TestPicture& expected) {
    ASSERT_EQ(actual.width, expected.width);
    ASSERT_EQ(actual.height, expected.height);
    const TestPicture a = actual.AsRgb(), e = expected.AsRgb();
    std::size_t differing = 0;
    for (std::size_t k = 0; k < a.samples.size(); ++k) differing += a.samples[k] != e.samples[k];
    EXPECT_EQ(differing, 0u) << "of " << a.samples.size() << " samples";
}

// A BMP sample whose header counts another palette size, for the samples
// of 252 colours, which the family's rule refuses as they stand.
Bytes WithColoursUsed(Bytes bmp, std::uint32_t count) {
    for (int k = 0; k < 4; ++k) bmp[46 + k] = static_cast<std::uint8_t>(count >> (8 * k));
    return bmp;
}

std::uint64_t Fnv1a(const std::vector<std::uint8_t>& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (std::uint8_t b : bytes) hash = (hash ^ b) * 0x100000001b3ull;
    return hash;
}

// ----- the public sample files

struct SampleCase {
    const char* file;
    ImageErrors expected;
};

TEST(RasterSamples, EachFileGivesItsResult) {
    const SampleCase cases[] = {
        {"bmpsuite_g_rgb24.bmp", IMAGE_OK},
        {"bmpsuite_g_pal8.bmp", IMAGE_BAD_PALETTE_SIZE},  // 252 colours: only 0, 255 and 256 are taken
        {"bmpsuite_g_pal8w126.bmp", IMAGE_BAD_PALETTE_SIZE},
        {"bmpsuite_g_pal8topdown.bmp", IMAGE_BAD_PALETTE_SIZE},
        {"bmpsuite_g_pal4.bmp", IMAGE_BAD_DEPTH},
        {"bmpsuite_g_pal1.bmp", IMAGE_BAD_DEPTH},
        {"bmpsuite_g_pal8rle.bmp", IMAGE_BAD_DEPTH},  // compressed comes before the palette size
        {"bmpsuite_g_rgb32.bmp", IMAGE_BAD_DEPTH},
        {"bmpsuite_b_shortfile.bmp", IMAGE_BAD_DEPTH},  // 1 bit per pixel
        {"libtiff_palette-1c-8b.tiff", IMAGE_TIFF_MOTOROLA},
        {"libtiff_rgb-3c-8b.tiff", IMAGE_TIFF_MOTOROLA},
        {"pillow_hopper.tif", IMAGE_OK},
        {"pillow_hopper_lzw.tif", IMAGE_TIFF_COMPRESSED},
        {"pillow_odd_stride.pcx", IMAGE_OK},
        {"libjpeg-turbo_testorig.jpg", IMAGE_OK},
    };
    for (const SampleCase& c : cases) {
        RasterPixels picture;
        EXPECT_EQ(Decode(SampleFile(c.file), &picture), c.expected) << c.file;
        if (c.expected == IMAGE_OK) {
            test::ExpectWellFormed(picture);
        } else {
            EXPECT_TRUE(picture.bits.empty() && picture.palette.empty()) << c.file;
        }
    }
}

TEST(RasterSamples, DecodedPixelsEqualGdkPixbufs) {
    struct Case {
        const char* file;
        int colours;  // patched into an 8-bit header (0: as it stands)
    };
    for (const Case c :
         {Case{"bmpsuite_g_rgb24.bmp", 0}, Case{"pillow_hopper.tif", 0}, Case{"bmpsuite_g_pal8.bmp", 256},
          Case{"bmpsuite_g_pal8w126.bmp", 256}, Case{"bmpsuite_g_pal8topdown.bmp", 255}}) {
        SCOPED_TRACE(c.file);
        const Bytes file = SampleFile(c.file);
        const TestPicture reference = PixbufDecode(file);
        ASSERT_GT(reference.width, 0);
        ExpectSamePicture(Decoded(c.colours ? WithColoursUsed(file, c.colours) : file), reference);
    }
}

TEST(RasterSamples, TopDownBmpIsDeliveredUpright) {
    const Bytes bottomUp = WithColoursUsed(SampleFile("bmpsuite_g_pal8.bmp"), 256);
    const Bytes topDown = WithColoursUsed(SampleFile("bmpsuite_g_pal8topdown.bmp"), 256);
    ExpectSamePicture(Decoded(topDown), Decoded(bottomUp));
}

// 371 pixels a row, and 371 bytes per line: an odd count, which the format
// does not allow, so that a decoder that rounds it up shifts every row.
TEST(RasterSamples, OddStridePcxDecodesUnshifted) {
    const TestPicture picture = Decoded(SampleFile("pillow_odd_stride.pcx"));
    ASSERT_EQ(picture.width, 371);
    ASSERT_EQ(picture.height, 150);
    EXPECT_EQ(Fnv1a(picture.samples), 0x63b17ce546e8786dull);
    EXPECT_EQ(picture.At(100, 20), (test::Rgb{200, 200, 200}));
    EXPECT_EQ(picture.At(370, 149), (test::Rgb{255, 255, 255}));
}

// The RGB TIFF of libtiff's samples is in Motorola order; its pixels (the
// PPM beside it) written as an Intel TIFF in strips of 17 rows decode to
// the same pixels.
TEST(RasterSamples, LibtiffRgbPixelsAsIntelTiff) {
    const Bytes ppm = SampleFile("libtiff_rgb-3c-8b.ppm");
    const std::string text(ppm.begin(), ppm.begin() + 15);
    ASSERT_EQ(text, "P6\n157 151\n255\n");
    TestPicture reference{157, 151, {}, Bytes(ppm.begin() + 15, ppm.end())};
    ASSERT_EQ(reference.samples.size(), 157u * 151 * 3);
    ExpectSamePicture(Decoded(test::WriteTiff(reference, {.rowsPerStrip = 17})), reference);
}

// ----- generated files of every kind the decoders take

struct GeneratedCase {
    const char* name;
    Bytes file;
    TestPicture expected;
    std::size_t unusedTail = 0;  // bytes at the end that the decoder need not read
};

std::vector<GeneratedCase> GoodFiles() {
    const TestPicture colour = ColourPicture(37, 21, 1);
    const TestPicture indexed = IndexedPicture(37, 21);
    TestPicture grey = IndexedPicture(13, 9);
    for (int k = 0; k < 256; ++k) grey.palette[k] = {std::uint8_t(k), std::uint8_t(k), std::uint8_t(k)};
    TestPicture whiteIsZero = grey;
    for (int k = 0; k < 256; ++k) whiteIsZero.palette[k] = grey.palette[255 - k];
    const TestPicture odd = ColourPicture(5, 3);
    return {
        {"BMP 24", test::WriteBmp(colour), colour},
        {"BMP 24, 1 pixel", test::WriteBmp(ColourPicture(1, 1)), ColourPicture(1, 1)},
        {"BMP 8", test::WriteBmp(indexed), indexed},
        {"BMP 8, 256 colours counted", test::WriteBmp(indexed, {.colorsUsed = 256}), indexed},
        {"BMP 8, 255 colours counted", test::WriteBmp(IndexedPicture(9, 4, 255), {.colorsUsed = 255}),
         IndexedPicture(9, 4, 255)},
        {"BMP 24 top-down", test::WriteBmp(colour, {.topDown = true}), colour},
        {"BMP 8 top-down", test::WriteBmp(indexed, {.topDown = true}), indexed},
        {"PCX 1 plane", test::WritePcx(indexed), indexed},
        {"PCX 3 planes", test::WritePcx(colour), colour},
        {"PCX 3 planes, padded lines", test::WritePcx(odd, {.bytesPerLine = 9}), odd},
        {"PCX 1 plane, odd line length", test::WritePcx(indexed, {.bytesPerLine = 37}), indexed},
        {"PCX 1 plane, padded odd lines", test::WritePcx(indexed, {.bytesPerLine = 41}), indexed},
        {"TIFF RGB, one strip", test::WriteTiff(colour), colour, 4},
        {"TIFF RGB, strips of 4", test::WriteTiff(colour, {.rowsPerStrip = 4}), colour, 4},
        {"TIFF RGB, SHORT strip fields", test::WriteTiff(colour, {.rowsPerStrip = 5, .shortStripFields = true}), colour,
         4},
        {"TIFF RGB, without byte counts", test::WriteTiff(colour, {.rowsPerStrip = 6, .withByteCounts = false}), colour,
         4},
        {"TIFF palette", test::WriteTiff(indexed, {.rowsPerStrip = 8}), indexed, 4},
        {"TIFF grey", test::WriteTiff(grey, {.photometric = 1}), grey, 4},
        {"TIFF white is zero", test::WriteTiff(grey, {.photometric = 0}), whiteIsZero, 4},
        // A drawing goes on after its preview, a TIFF after its directory
        // with the link to a next one.
        {"DWG preview", test::WriteDwg(indexed), indexed, 16},
        {"DWG preview, R2004", test::WriteDwg(indexed, {.version = "AC1018"}), indexed, 16},
        {"DWG preview, 64 colours", test::WriteDwg(IndexedPicture(8, 8, 64), {.colorsUsed = 64}),
         IndexedPicture(8, 8, 64), 16},
    };
}

TEST(RasterGenerated, EachGoodFileDecodesToItsPicture) {
    for (const GeneratedCase& c : GoodFiles()) {
        SCOPED_TRACE(c.name);
        ExpectSamePicture(Decoded(c.file), c.expected);
    }
}

TEST(RasterGenerated, DepthsSizesAndLayoutsOfTheBitmaps) {
    RasterPixels picture;
    ASSERT_EQ(Decode(test::WritePcx(ColourPicture(5, 3), {.bytesPerLine = 9}), &picture), IMAGE_OK);
    EXPECT_EQ(picture.header.biBitCount, 24);
    EXPECT_EQ(picture.header.biSizeImage, 16u * 3);  // 15 bytes a row, padded to 16
    ASSERT_EQ(Decode(test::WriteTiff(IndexedPicture(5, 3)), &picture), IMAGE_OK);
    EXPECT_EQ(picture.header.biBitCount, 8);
    EXPECT_EQ(picture.header.biSizeImage, 8u * 3);
    EXPECT_EQ(picture.header.biClrUsed, 256u);
}

struct RefusedCase {
    const char* name;
    Bytes file;
    ImageErrors expected;
};

Bytes Patched(Bytes file, std::size_t at, std::initializer_list<std::uint8_t> bytes) {
    for (std::uint8_t b : bytes) file.at(at++) = b;
    return file;
}

std::vector<RefusedCase> RefusedFiles() {
    const TestPicture colour = ColourPicture(6, 4);
    const TestPicture indexed = IndexedPicture(6, 4);
    const TestPicture sixteen = IndexedPicture(6, 4, 16);
    const Bytes tiff = test::WriteTiff(colour);
    const std::size_t directory = tiff.size() - 4 - 2 - 12 * 9;  // nine entries, then the next link
    return {
        {"empty", {}, IMAGE_NO_MEMORY},
        {"unknown first bytes", {'G', 'I', 'F', '8', '9', 'a'}, IMAGE_UNKNOWN_FORMAT},
        {"B without M", {'B', 'A', 0, 0}, IMAGE_UNKNOWN_FORMAT},
        {"BMP 4-bit", test::WriteBmp(sixteen, {.bitCount = 4}), IMAGE_BAD_DEPTH},
        {"BMP 1-bit", test::WriteBmp(IndexedPicture(6, 4, 2), {.bitCount = 1}), IMAGE_BAD_DEPTH},
        {"BMP 8-bit, 16 colours", test::WriteBmp(sixteen, {.colorsUsed = 16}), IMAGE_BAD_PALETTE_SIZE},
        {"BMP 8-bit, 257 colours", test::WriteBmp(indexed, {.colorsUsed = 257}), IMAGE_BAD_PALETTE_SIZE},
        {"BMP 8-bit, 2 planes", test::WriteBmp(indexed, {.planes = 2}), IMAGE_BAD_DEPTH},
        {"BMP 8-bit RLE", test::WriteBmp(indexed, {.compression = 1}), IMAGE_BAD_DEPTH},
        {"BMP 24-bit bit fields", test::WriteBmp(colour, {.compression = 3}), IMAGE_BAD_DEPTH},
        {"BMP 32-bit", test::WriteBmp(colour, {.bitCount = 32}), IMAGE_BAD_DEPTH},
        {"BMP header cut", {'B', 'M', 1, 2, 3}, IMAGE_NO_MEMORY},
        {"BMP rows beyond the file", Patched(test::WriteBmp(colour), 10, {0xFF, 0xFF, 0, 0}), IMAGE_SEEK_FAILED},
        {"BMP negative width", test::WriteBmp(colour, {.claimedWidth = -5}), IMAGE_NO_MEMORY},
        {"PCX 4 bits per pixel", test::WritePcx(indexed, {.bitsPerPixel = 4}), IMAGE_BAD_DEPTH},
        {"PCX 2 planes", test::WritePcx(colour, {.planes = 2}), IMAGE_BAD_DEPTH},
        {"PCX 4 planes", test::WritePcx(colour, {.planes = 4}), IMAGE_BAD_DEPTH},
        {"PCX without palette", test::WritePcx(indexed, {.palette = false}), IMAGE_NO_PALETTE},
        {"PCX line shorter than the width", test::WritePcx(colour, {.bytesPerLine = 4}), IMAGE_NO_MEMORY},
        {"PCX xmax before xmin", Patched(test::WritePcx(colour), 4, {9, 0}), IMAGE_NO_MEMORY},
        {"PCX more rows than data", test::WritePcx(colour, {.claimedHeight = 40}), IMAGE_READ_FAILED},
        {"TIFF Motorola", test::MotorolaTiff(), IMAGE_TIFF_MOTOROLA},
        {"TIFF claiming both orders", {'M', 'M', 42, 0, 8, 0, 0, 0}, IMAGE_TIFF_MOTOROLA},
        {"TIFF other order mark", {'I', 'M', 42, 0, 8, 0, 0, 0}, IMAGE_UNKNOWN_FORMAT},
        {"TIFF LZW", test::WriteTiff(colour, {.compression = 5}), IMAGE_TIFF_COMPRESSED},
        {"TIFF 16 bits per sample", test::WriteTiff(colour, {.bitsPerSample = 16}), IMAGE_BAD_DEPTH},
        {"TIFF 4 bits, palette", test::WriteTiff(indexed, {.bitsPerSample = 4}), IMAGE_BAD_DEPTH},
        {"TIFF RGB as CMYK", test::WriteTiff(colour, {.photometric = 5}), IMAGE_BAD_DEPTH},
        {"TIFF directory beyond the file", Patched(tiff, 4, {0xFF, 0xFF, 0xFF, 0}), IMAGE_SEEK_FAILED},
        {"TIFF strip beyond the file", Patched(tiff, directory + 2 + 5 * 12 + 8, {0xFF, 0xFF, 0xFF, 0}),
         IMAGE_SEEK_FAILED},
        {"TIFF width as RATIONAL", Patched(tiff, directory + 2 + 2, {5, 0}), IMAGE_UNKNOWN_FORMAT},
        {"DWG without preview", test::WriteDwg(indexed, {.withPreview = false}), IMAGE_DWG_NO_PREVIEW},
        {"DWG without bitmap", test::WriteDwg(indexed, {.withBitmap = false}), IMAGE_DWG_NO_PREVIEW},
        {"DWG of another version", test::WriteDwg(indexed, {.version = "AC1009"}), IMAGE_UNKNOWN_FORMAT},
        {"DWG preview of 24 bits", test::WriteDwg(colour, {.bitCount = 24}), IMAGE_BAD_DEPTH},
        {"DWG preview block beyond the file", Patched(test::WriteDwg(indexed), 13, {0, 0, 0, 1}), IMAGE_SEEK_FAILED},
    };
}

TEST(RasterGenerated, EachRefusedFileGivesItsError) {
    for (const RefusedCase& c : RefusedFiles()) {
        RasterPixels picture;
        picture.bits.assign(3, 1);  // whatever was there goes
        EXPECT_EQ(Decode(c.file, &picture), c.expected) << c.name;
        if (c.expected != IMAGE_OK) {
            EXPECT_TRUE(picture.bits.empty()) << c.name;
        }
    }
}

TEST(RasterGenerated, PaletteTiffWithoutColourMapHasNoPalette) {
    // The writer adds the colour map for photometric 3; drop its entry by
    // renaming the tag to one the decoder does not read.
    Bytes file = test::WriteTiff(IndexedPicture(6, 4));
    const std::size_t directory = file.size() - 4 - 2 - 12 * 10;
    const std::size_t colourMapEntry = directory + 2 + 9 * 12;
    ASSERT_EQ(file[colourMapEntry] | file[colourMapEntry + 1] << 8, 320);
    file[colourMapEntry] = 0x41;  // tag 321
    EXPECT_EQ(Decode(file), IMAGE_NO_PALETTE);
}

TEST(RasterGenerated, TiffRegionsAreDelivered) {
    const std::vector<ImageRegion> regions = {
        {"Kessel", 1, 20, 2, 10}, {"", 0, 0, 0, 0}, {std::string(255, 'x'), 65535, 65534, 3, 4}};
    RasterPixels picture;
    ASSERT_EQ(Decode(test::WriteTiff(ColourPicture(30, 12), {.regions = regions}), &picture), IMAGE_OK);
    ASSERT_EQ(picture.regions.size(), regions.size());
    for (std::size_t k = 0; k < regions.size(); ++k) {
        EXPECT_EQ(picture.regions[k].name, regions[k].name);
        EXPECT_EQ(picture.regions[k].left, regions[k].left);
        EXPECT_EQ(picture.regions[k].right, regions[k].right);
        EXPECT_EQ(picture.regions[k].top, regions[k].top);
        EXPECT_EQ(picture.regions[k].bottom, regions[k].bottom);
    }
}

TEST(RasterGenerated, RegionListsThatDoNotFitAreRefused) {
    Bytes file = test::WriteTiff(ColourPicture(4, 4), {.regions = {{"a", 1, 2, 3, 4}}});
    const std::size_t regionsAt = 8 + 4 * 4 * 3;
    ASSERT_EQ(file[regionsAt], 1);
    file[regionsAt] = 0xFF;  // 65281 regions claimed, one there
    file[regionsAt + 1] = 0xFF;
    EXPECT_EQ(Decode(file), IMAGE_READ_FAILED);
    file[regionsAt] = 1, file[regionsAt + 1] = 0;
    file[regionsAt + 2] = 200;  // a name running past the end
    EXPECT_EQ(Decode(file), IMAGE_READ_FAILED);
}

// ----- hostile files

// Every strict prefix of a good file is refused, and nothing past the
// prefix is read (the prefix is copied into a buffer of its own size, which
// AddressSanitizer watches in the sanitized builds).
TEST(RasterHostile, EveryTruncationOfAGoodFileIsRefused) {
    std::vector<GeneratedCase> files = GoodFiles();
    files.push_back({"TIFF with regions",
                     test::WriteTiff(IndexedPicture(9, 7), {.rowsPerStrip = 3, .regions = {{"Pumpe", 1, 2, 3, 4}}}),
                     {},
                     4});
    for (const GeneratedCase& c : files) {
        SCOPED_TRACE(c.name);
        for (std::size_t length = 0; length < c.file.size(); ++length) {
            const Bytes prefix(c.file.begin(), c.file.begin() + length);
            RasterPixels picture;
            const ImageErrors result = DecodeRaster(prefix, &picture);
            if (length >= c.file.size() - c.unusedTail) continue;
            EXPECT_NE(result, IMAGE_OK) << "prefix of " << length << " bytes";
            EXPECT_TRUE(picture.bits.empty());
        }
    }
}

TEST(RasterHostile, TruncatedSamplesGiveAnErrorOrAWholePicture) {
    for (const char* name :
         {"pillow_odd_stride.pcx", "pillow_hopper.tif", "bmpsuite_g_rgb24.bmp", "libjpeg-turbo_testorig.jpg"}) {
        SCOPED_TRACE(name);
        const Bytes file = SampleFile(name);
        for (std::size_t length = 0; length < file.size(); length += 7) {
            const Bytes prefix(file.begin(), file.begin() + length);
            RasterPixels picture;
            if (DecodeRaster(prefix, &picture) == IMAGE_OK) {
                test::ExpectWellFormed(picture);
            } else {
                EXPECT_TRUE(picture.bits.empty());
            }
        }
    }
}

// Headers that claim pictures far larger than the bytes behind them are
// refused before the picture's memory is taken.
TEST(RasterHostile, HugeHeadersAreRefusedWithoutAllocating) {
    const TestPicture small = ColourPicture(4, 4);
    const TestPicture indexed = IndexedPicture(4, 4);
    struct Case {
        const char* name;
        Bytes file;
        ImageErrors expected;
    };
    const Case cases[] = {
        {"BMP 8000 x 8000", test::WriteBmp(small, {.claimedWidth = 8000, .claimedHeight = 8000}), IMAGE_READ_FAILED},
        {"BMP 32767 x 32767", test::WriteBmp(small, {.claimedWidth = 32767, .claimedHeight = 32767}), IMAGE_NO_MEMORY},
        {"BMP -2^31 high", test::WriteBmp(small, {.claimedWidth = 4, .claimedHeight = INT32_MIN}), IMAGE_NO_MEMORY},
        {"BMP 40000 wide", test::WriteBmp(small, {.claimedWidth = 40000, .claimedHeight = 1}), IMAGE_NO_MEMORY},
        {"PCX 8000 x 8000", test::WritePcx(small, {.bytesPerLine = 8000, .claimedWidth = 8000, .claimedHeight = 8000}),
         IMAGE_READ_FAILED},
        {"PCX 65535 x 65535",
         test::WritePcx(small, {.bytesPerLine = 65535, .claimedWidth = 65535, .claimedHeight = 65535}),
         IMAGE_NO_MEMORY},
        {"TIFF 8000 x 8000", test::WriteTiff(small, {.claimedWidth = 8000, .claimedHeight = 8000}), IMAGE_READ_FAILED},
        {"TIFF 2^32 - 1 wide", test::WriteTiff(small, {.claimedWidth = -1, .claimedHeight = 2}), IMAGE_NO_MEMORY},
        // Both sides near 2^32: their product does not fit 64 signed bits.
        {"TIFF 3.4e9 x 4.3e9",
         test::WriteTiff(small, {.claimedWidth = static_cast<int>(3368601800u), .claimedHeight = static_cast<int>(4261412855u)}),
         IMAGE_NO_MEMORY},
        {"DWG 8000 x 8000",
         Patched(test::WriteDwg(indexed), 0x80 + 16 + 4 + 1 + 18 + 80 + 4, {0x40, 0x1F, 0, 0, 0x40, 0x1F, 0, 0}),
         IMAGE_READ_FAILED},
    };
    for (const Case& c : cases) {
        g_largestAllocation = 0;
        g_watchAllocations = true;
        RasterPixels picture;
        const ImageErrors result = DecodeRaster(c.file, &picture);
        g_watchAllocations = false;
        EXPECT_EQ(result, c.expected) << c.name;
        EXPECT_LT(g_largestAllocation.load(), std::size_t{1} << 20) << c.name;
    }
}

// Run-length data expand at most 63 times; a PCX that claims more than its
// bytes can hold is refused before the picture is allocated, one that can
// hold it is decoded.
TEST(RasterHostile, PcxRunsBoundWhatAFileCanClaim) {
    TestPicture flat{1000, 1000, {}, Bytes(1000 * 1000 * 3, 7)};
    const Bytes file = test::WritePcx(flat);
    RasterPixels picture;
    ASSERT_EQ(Decode(file, &picture), IMAGE_OK);
    EXPECT_LT(file.size(), 1000u * 1000 * 3 / 30);
    const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(file.size() / 2));
    g_largestAllocation = 0;
    g_watchAllocations = true;
    EXPECT_EQ(Decode(cut), IMAGE_READ_FAILED);
    g_watchAllocations = false;
    EXPECT_LT(g_largestAllocation.load(), std::size_t{1} << 20);
}

// ----- seeds of the fuzz targets

// Writes the seed corpora of the raster fuzz targets into the folder named
// by QX_WRITE_FUZZ_SEEDS (scripts/gen-image-fuzz-seeds.sh runs this).
TEST(RasterFuzzSeeds, Write) {
    const char* folder = std::getenv("QX_WRITE_FUZZ_SEEDS");
    if (!folder) GTEST_SKIP() << "QX_WRITE_FUZZ_SEEDS names no folder";
    const std::filesystem::path root(folder);
    const auto write = [&](const char* target, const char* name, const Bytes& bytes) {
        std::filesystem::create_directories(root / target);
        test::WriteBytes(root / target / name, std::string(bytes.begin(), bytes.end()));
    };
    const TestPicture colour = ColourPicture(12, 9, 2);
    const TestPicture indexed = IndexedPicture(12, 9, 256);
    write("bmp_fuzzer", "8bit", test::WriteBmp(indexed));
    write("bmp_fuzzer", "24bit_top_down", test::WriteBmp(colour, {.topDown = true}));
    write("bmp_fuzzer", "255_colours", test::WriteBmp(IndexedPicture(5, 3, 255), {.colorsUsed = 255}));
    write("pcx_fuzzer", "1_plane", test::WritePcx(indexed));
    write("pcx_fuzzer", "3_planes_odd_line", test::WritePcx(colour, {.bytesPerLine = 13}));
    write("tiff_fuzzer", "rgb_strips", test::WriteTiff(colour, {.rowsPerStrip = 4}));
    write("tiff_fuzzer", "palette_regions",
          test::WriteTiff(indexed, {.rowsPerStrip = 2, .regions = {{"Ventil", 1, 5, 2, 6}, {"Rohr", 0, 11, 0, 8}}}));
    write("tiff_fuzzer", "grey_short_strips",
          test::WriteTiff(indexed, {.rowsPerStrip = 3, .photometric = 1, .shortStripFields = true}));
    write("dwg_preview_fuzzer", "r2000", test::WriteDwg(indexed));
    write("dwg_preview_fuzzer", "r2004_64_colours",
          test::WriteDwg(IndexedPicture(6, 5, 64), {.version = "AC1018", .colorsUsed = 64}));
    const TestPicture thumbnail = ColourPicture(6, 4, 3);
    const Bytes thumbnailJpeg = test::WriteJpeg(thumbnail, {.quality = 50});
    write("jpeg_fuzzer", "baseline", test::WriteJpeg(colour, {.quality = 60}));
    write("jpeg_fuzzer", "progressive_grey", test::WriteJpeg(colour, {.space = JCS_GRAYSCALE, .progressive = true}));
    write("jpeg_fuzzer", "cmyk", test::WriteJpeg(colour, {.space = JCS_CMYK, .quality = 50}));
    write("jpeg_fuzzer", "jfif_thumbnail",
          test::WriteJpeg(colour, {.jfif = false, .segments = {{JPEG_APP0, test::JfifSegment(thumbnail)}}}));
    write("jpeg_fuzzer", "jfxx_thumbnails",
          test::WriteJpeg(colour, {.segments = {{JPEG_APP0, test::JfxxJpegSegment(thumbnailJpeg)},
                                                {JPEG_APP0, test::JfxxRawSegment(IndexedPicture(3, 2))},
                                                {JPEG_APP0, test::JfxxRawSegment(thumbnail)}}}));
    write("jpeg_fuzzer", "exif_big_endian",
          test::WriteJpeg(colour, {.segments = {{JPEG_APP0 + 1, test::ExifSegment(thumbnailJpeg, true)}}}));
    write("jpeg_fuzzer", "exif_little_endian",
          test::WriteJpeg(colour, {.segments = {{JPEG_APP0 + 1, test::ExifSegment(thumbnailJpeg, false)}}}));
}

}  // namespace
}  // namespace qx
