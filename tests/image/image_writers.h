// Writers of the picture files the raster decoders read, for tests, seeds
// of the fuzz targets and benchmarks: BMP, PCX, TIFF and DWG previews made
// from the published layouts of these formats, with switches for the
// variants a decoder must refuse, and the APP0/APP1 segments that carry a
// JPEG file's thumbnails. Everything is little-endian unless said.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "qx/image/raster_decoder.h"

namespace qx::test {

using Bytes = std::vector<std::uint8_t>;
using Rgb = std::array<std::uint8_t, 3>;

// A picture in rows from the top: RGB triples, or (with a palette) one
// palette index per pixel.
struct TestPicture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> palette;  // empty: RGB samples
    std::vector<std::uint8_t> samples;

    bool indexed() const { return !palette.empty(); }
    int channels() const { return indexed() ? 1 : 3; }
    Rgb At(int x, int y) const {
        const std::size_t at = (static_cast<std::size_t>(y) * width + x) * channels();
        if (indexed()) return palette[samples[at]];
        return {samples[at], samples[at + 1], samples[at + 2]};
    }
    // The same picture as RGB triples.
    TestPicture AsRgb() const {
        TestPicture rgb{width, height, {}, {}};
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const Rgb c = At(x, y);
                rgb.samples.insert(rgb.samples.end(), c.begin(), c.end());
            }
        }
        return rgb;
    }
};

// Colours that change along both axes, with flat bands that run-length
// coding shortens (as in drawings) and a seed that makes pictures differ.
inline TestPicture ColourPicture(int width, int height, int seed = 0) {
    TestPicture picture{width, height, {}, {}};
    picture.samples.reserve(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool band = (y / 8 + seed) % 3 == 0;
            picture.samples.push_back(static_cast<std::uint8_t>(band ? 250 : (x * 7 + seed) & 0xFF));
            picture.samples.push_back(static_cast<std::uint8_t>(band ? 250 : (y * 5 + x / 4) & 0xFF));
            picture.samples.push_back(static_cast<std::uint8_t>(band ? 240 : (x + y + 3 * seed) & 0xFF));
        }
    }
    return picture;
}

// Indexes into a palette of `colours` entries (at most 256), in runs.
inline TestPicture IndexedPicture(int width, int height, int colours = 256) {
    TestPicture picture{width, height, {}, {}};
    for (int k = 0; k < colours; ++k) {
        picture.palette.push_back({static_cast<std::uint8_t>(k), static_cast<std::uint8_t>(255 - k),
                                   static_cast<std::uint8_t>((k * 37) & 0xFF)});
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int index = (y / 4) % 5 == 0 ? 200 % colours : (x / 3 + y * 11) % colours;
            picture.samples.push_back(static_cast<std::uint8_t>(index));
        }
    }
    return picture;
}

// A decoded picture as RGB rows from the top, whatever its depth.
inline TestPicture PictureOf(const RasterPixels& raster) {
    const int width = raster.header.biWidth;
    const int height = raster.header.biHeight;
    const int bytes = raster.header.biBitCount / 8;
    const std::size_t stride = (static_cast<std::size_t>(width) * raster.header.biBitCount + 31) / 32 * 4;
    TestPicture picture{width, height, {}, {}};
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = raster.bits.data() + static_cast<std::size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = row + static_cast<std::size_t>(x) * bytes;
            if (bytes == 1) {
                const RGBQUAD& q = raster.palette[*p];
                picture.samples.insert(picture.samples.end(), {q.rgbRed, q.rgbGreen, q.rgbBlue});
            } else {
                picture.samples.insert(picture.samples.end(), {p[2], p[1], p[0]});
            }
        }
    }
    return picture;
}

// Bytes appended in either byte order, with back-patching of offsets.
class ByteWriter {
public:
    explicit ByteWriter(bool bigEndian = false) : bigEndian_(bigEndian) {
        bytes_.reserve(4096);  // also keeps GCC's -O3 from warning about writes into an empty vector
    }

    ByteWriter& U8(unsigned value) {
        bytes_.push_back(static_cast<std::uint8_t>(value));
        return *this;
    }
    ByteWriter& U16(unsigned value) { return Number(value, 2); }
    ByteWriter& U32(std::uint32_t value) { return Number(value, 4); }
    ByteWriter& Text(const std::string& text) {
        bytes_.insert(bytes_.end(), text.begin(), text.end());
        return *this;
    }
    ByteWriter& Append(std::span<const std::uint8_t> more) {
        bytes_.insert(bytes_.end(), more.begin(), more.end());
        return *this;
    }
    ByteWriter& Fill(std::size_t count, std::uint8_t value = 0) {
        bytes_.insert(bytes_.end(), count, value);
        return *this;
    }
    void Patch32(std::size_t at, std::uint32_t value) {
        ByteWriter number(bigEndian_);
        number.U32(value);
        std::memcpy(bytes_.data() + at, number.bytes_.data(), 4);
    }
    std::size_t size() const { return bytes_.size(); }
    const Bytes& bytes() const { return bytes_; }

private:
    ByteWriter& Number(std::uint32_t value, int width) {
        for (int k = 0; k < width; ++k) {
            const int shift = bigEndian_ ? 8 * (width - 1 - k) : 8 * k;
            bytes_.push_back(static_cast<std::uint8_t>(value >> shift));
        }
        return *this;
    }

    bool bigEndian_;
    Bytes bytes_;
};

// The 40-byte BITMAPINFOHEADER.
inline void PutDibHeader(ByteWriter& out, int width, int height, int planes, int bitCount, std::uint32_t compression,
                         std::uint32_t imageSize, std::uint32_t colorsUsed) {
    out.U32(40).U32(static_cast<std::uint32_t>(width)).U32(static_cast<std::uint32_t>(height));
    out.U16(planes).U16(bitCount).U32(compression).U32(imageSize);
    out.U32(2835).U32(2835).U32(colorsUsed).U32(0);
}

// Rows of a device-independent bitmap: 1, 4 or 8 bits of palette index, or
// 24 or 32 bits of colour; padded to 4 bytes, bottom-up unless topDown.
inline Bytes DibRows(const TestPicture& picture, int bitCount, bool topDown = false) {
    const std::size_t stride = (static_cast<std::size_t>(picture.width) * bitCount + 31) / 32 * 4;
    Bytes rows(stride * picture.height, 0);
    for (int y = 0; y < picture.height; ++y) {
        std::uint8_t* row = rows.data() + stride * (topDown ? y : picture.height - 1 - y);
        for (int x = 0; x < picture.width; ++x) {
            if (bitCount <= 8) {
                const unsigned index = picture.samples[static_cast<std::size_t>(y) * picture.width + x];
                const int bit = x * bitCount;
                const int shift = 8 - bitCount - bit % 8;
                row[bit / 8] |= static_cast<std::uint8_t>((index & ((1u << bitCount) - 1)) << shift);
            } else {
                const Rgb c = picture.At(x, y);
                std::uint8_t* p = row + static_cast<std::size_t>(x) * (bitCount / 8);
                p[0] = c[2], p[1] = c[1], p[2] = c[0];
            }
        }
    }
    return rows;
}

inline void PutQuadPalette(ByteWriter& out, const TestPicture& picture, int entries) {
    for (int k = 0; k < entries; ++k) {
        const Rgb c = k < static_cast<int>(picture.palette.size()) ? picture.palette[k] : Rgb{};
        out.U8(c[2]).U8(c[1]).U8(c[0]).U8(0);
    }
}

struct BmpOptions {
    int bitCount = 0;     // 0: 8 for an indexed picture, else 24
    int colorsUsed = -1;  // the header's count; -1: 2^bitCount below 8 bits, else 0
    int planes = 1;
    std::uint32_t compression = 0;
    bool topDown = false;
    int claimedWidth = 0;  // a header that claims another size than the rows hold
    int claimedHeight = 0;
};

inline Bytes WriteBmp(const TestPicture& picture, const BmpOptions& options = {}) {
    const int bitCount = options.bitCount ? options.bitCount : picture.indexed() ? 8 : 24;
    const int colorsUsed = options.colorsUsed >= 0 ? options.colorsUsed : bitCount < 8 ? 1 << bitCount : 0;
    const int entries = bitCount > 8 ? 0 : colorsUsed == 0 ? 1 << bitCount : colorsUsed;
    const Bytes rows = DibRows(picture, bitCount, options.topDown);
    const std::uint32_t rowsAt = 14 + 40 + 4 * entries;
    ByteWriter out;
    out.Text("BM").U32(static_cast<std::uint32_t>(rowsAt + rows.size())).U32(0).U32(rowsAt);
    const int width = options.claimedWidth ? options.claimedWidth : picture.width;
    const int height = options.claimedHeight ? options.claimedHeight : picture.height;
    PutDibHeader(out, width, options.topDown ? -height : height, options.planes, bitCount, options.compression,
                 static_cast<std::uint32_t>(rows.size()), static_cast<std::uint32_t>(colorsUsed));
    PutQuadPalette(out, picture, entries);
    out.Append(rows);
    return out.bytes();
}

// Run-length codes one row of a PCX scanline: runs of up to 63 equal bytes,
// and single bytes with both top bits set as runs of one.
inline void PutPcxRuns(ByteWriter& out, const std::uint8_t* row, int length) {
    for (int x = 0; x < length;) {
        int run = 1;
        while (x + run < length && run < 63 && row[x + run] == row[x]) ++run;
        if (run > 1 || row[x] >= 0xC0) out.U8(0xC0 | run);
        out.U8(row[x]);
        x += run;
    }
}

struct PcxOptions {
    int planes = 0;        // 0: 1 for an indexed picture, 3 for RGB
    int bytesPerLine = 0;  // 0: the width rounded up to even, as the format asks
    int bitsPerPixel = 8;
    bool palette = true;  // the 256-colour palette at the end (one plane)
    int claimedWidth = 0;
    int claimedHeight = 0;
};

inline Bytes WritePcx(const TestPicture& picture, const PcxOptions& options = {}) {
    const int planes = options.planes ? options.planes : picture.indexed() ? 1 : 3;
    const int bytesPerLine = options.bytesPerLine ? options.bytesPerLine : (picture.width + 1) / 2 * 2;
    const int width = options.claimedWidth ? options.claimedWidth : picture.width;
    const int height = options.claimedHeight ? options.claimedHeight : picture.height;
    ByteWriter out;
    out.U8(10).U8(5).U8(1).U8(options.bitsPerPixel);
    out.U16(0).U16(0).U16(width - 1).U16(height - 1).U16(72).U16(72);
    out.Fill(48);  // the 16-colour palette of older versions
    out.U8(0).U8(planes).U16(bytesPerLine).U16(1).U16(0).U16(0);
    out.Fill(128 - out.size());
    std::vector<std::uint8_t> line(bytesPerLine);
    for (int y = 0; y < picture.height; ++y) {
        for (int plane = 0; plane < planes; ++plane) {
            std::fill(line.begin(), line.end(), 0);
            for (int x = 0; x < picture.width && x < bytesPerLine; ++x) {
                // Planes past the third (a file the decoder must refuse) hold zeros.
                line[x] = planes == 1 ? picture.samples[static_cast<std::size_t>(y) * picture.width + x]
                          : plane < 3 ? picture.At(x, y)[static_cast<std::size_t>(plane)]
                                      : 0;
            }
            PutPcxRuns(out, line.data(), bytesPerLine);
        }
    }
    if (planes == 1 && options.palette) {
        out.U8(12);
        for (int k = 0; k < 256; ++k) {
            const Rgb c = k < static_cast<int>(picture.palette.size()) ? picture.palette[k] : Rgb{};
            out.U8(c[0]).U8(c[1]).U8(c[2]);
        }
    }
    return out.bytes();
}

struct TiffOptions {
    int rowsPerStrip = 0;  // 0: all rows in one strip
    unsigned compression = 1;
    int photometric = -1;  // -1: 2 for RGB, 3 (colour map) for an indexed picture
    int bitsPerSample = 8;
    bool shortStripFields = false;  // strip offsets and counts as SHORT (else LONG)
    bool withByteCounts = true;
    std::vector<ImageRegion> regions = {};  // written with the private tag 0xFFD6
    int claimedWidth = 0;
    int claimedHeight = 0;
};

// An Intel-order TIFF: header, strips, colour map, region list, then the
// directory at the end (so that every byte of the file is needed).
inline Bytes WriteTiff(const TestPicture& picture, const TiffOptions& options = {}) {
    const int samples = picture.channels();
    const int rowsPerStrip = options.rowsPerStrip ? options.rowsPerStrip : picture.height;
    const int strips = (picture.height + rowsPerStrip - 1) / rowsPerStrip;
    const int photometric = options.photometric >= 0 ? options.photometric : samples == 3 ? 2 : 3;
    ByteWriter out;
    out.Text("II").U16(42).U32(0);
    std::vector<std::uint32_t> stripAt, stripBytes;
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * samples;
    for (int strip = 0; strip < strips; ++strip) {
        const int first = strip * rowsPerStrip;
        const int rows = std::min(rowsPerStrip, picture.height - first);
        stripAt.push_back(static_cast<std::uint32_t>(out.size()));
        stripBytes.push_back(static_cast<std::uint32_t>(rows * rowBytes));
        out.Append(std::span(picture.samples).subspan(first * rowBytes, rows * rowBytes));
    }
    std::uint32_t colourMapAt = 0;
    if (photometric == 3) {
        colourMapAt = static_cast<std::uint32_t>(out.size());
        for (int channel = 0; channel < 3; ++channel) {
            for (int k = 0; k < 256; ++k) {
                const Rgb c = k < static_cast<int>(picture.palette.size()) ? picture.palette[k] : Rgb{};
                out.U16(c[channel] * 257u);
            }
        }
    }
    std::uint32_t regionsAt = 0;
    if (!options.regions.empty()) {
        regionsAt = static_cast<std::uint32_t>(out.size());
        out.U16(static_cast<unsigned>(options.regions.size()));
        for (const ImageRegion& region : options.regions) {
            out.U8(static_cast<unsigned>(region.name.size())).Text(region.name);
            out.U16(region.left).U16(region.right).U16(region.top).U16(region.bottom);
        }
    }
    // Arrays of more than 4 bytes go before the directory.
    const unsigned stripType = options.shortStripFields ? 3 : 4;
    auto putArray = [&](const std::vector<std::uint32_t>& values) {
        const std::uint32_t at = static_cast<std::uint32_t>(out.size());
        for (std::uint32_t v : values) stripType == 3 ? out.U16(v) : out.U32(v);
        return at;
    };
    const bool inlineStrips = strips == 1;
    const std::uint32_t offsetsAt = inlineStrips ? 0 : putArray(stripAt);
    const std::uint32_t countsAt = inlineStrips ? 0 : putArray(stripBytes);
    std::uint32_t bitsAt = 0;
    if (samples == 3) {
        bitsAt = static_cast<std::uint32_t>(out.size());
        out.U16(options.bitsPerSample).U16(options.bitsPerSample).U16(options.bitsPerSample);
    }
    if (out.size() % 2) out.U8(0);

    struct Entry {
        unsigned tag, type;
        std::uint32_t count, value;
    };
    std::vector<Entry> entries = {
        {256, 4, 1, static_cast<std::uint32_t>(options.claimedWidth ? options.claimedWidth : picture.width)},
        {257, 4, 1, static_cast<std::uint32_t>(options.claimedHeight ? options.claimedHeight : picture.height)},
        {258, 3, static_cast<std::uint32_t>(samples),
         samples == 3 ? bitsAt : static_cast<std::uint32_t>(options.bitsPerSample)},
        {259, 3, 1, options.compression},
        {262, 3, 1, static_cast<std::uint32_t>(photometric)},
        {273, stripType, static_cast<std::uint32_t>(strips), inlineStrips ? stripAt[0] : offsetsAt},
        {277, 3, 1, static_cast<std::uint32_t>(samples)},
        {278, 4, 1, static_cast<std::uint32_t>(rowsPerStrip)},
    };
    if (options.withByteCounts) {
        entries.push_back(
            {279, stripType, static_cast<std::uint32_t>(strips), inlineStrips ? stripBytes[0] : countsAt});
    }
    if (colourMapAt) entries.push_back({320, 3, 3 * 256, colourMapAt});
    if (regionsAt) entries.push_back({0xFFD6, 4, 1, regionsAt});

    const std::uint32_t directoryAt = static_cast<std::uint32_t>(out.size());
    out.Patch32(4, directoryAt);
    out.U16(static_cast<unsigned>(entries.size()));
    for (const Entry& e : entries) {
        out.U16(e.tag).U16(e.type).U32(e.count);
        if (e.type == 3 && e.count == 1) {
            out.U16(e.value).U16(0);  // a SHORT sits in the first two bytes of the field
        } else {
            out.U32(e.value);
        }
    }
    out.U32(0);  // no further directory
    return out.bytes();
}

// The start of a TIFF in Motorola byte order: header and an empty directory.
inline Bytes MotorolaTiff() {
    ByteWriter out(true);
    out.Text("MM").U16(42).U32(8).U16(0).U32(0);
    return out.bytes();
}

struct DwgOptions {
    std::string version = "AC1015";
    bool withPreview = true;  // false: the header's preview position is 0
    bool withBitmap = true;   // false: the block's bitmap position is 0
    int colorsUsed = 0;
    int bitCount = 8;
};

// A drawing's header with the position of its preview block at offset 13;
// the block (sentinel, size, entry count, then entries of code, start and
// size) whose second entry, at offset 30, is the bitmap: a BITMAPINFOHEADER,
// its palette and its 8-bit rows. An indexed picture only.
inline Bytes WriteDwg(const TestPicture& preview, const DwgOptions& options = {}) {
    ByteWriter out;
    out.Text(options.version).Fill(7);  // version mark, then maintenance bytes
    out.U32(0);                         // offset 13: the preview block
    out.Fill(0x80 - out.size());        // the rest of the header
    const std::uint32_t blockAt = static_cast<std::uint32_t>(out.size());
    if (options.withPreview) out.Patch32(13, blockAt);
    const int entries = options.colorsUsed == 0 ? 256 : options.colorsUsed;
    const Bytes rows = DibRows(preview, options.bitCount);
    const std::uint32_t headerDataAt = blockAt + 16 + 4 + 1 + 2 * 9;
    const std::uint32_t headerDataSize = 80;
    const std::uint32_t bitmapAt = headerDataAt + headerDataSize;
    const std::uint32_t bitmapSize = static_cast<std::uint32_t>(40 + 4 * entries + rows.size());
    for (int k = 0; k < 16; ++k) out.U8(0x1F + k);  // the block's sentinel
    out.U32(1 + 2 * 9 + headerDataSize + bitmapSize).U8(2);
    out.U8(1).U32(headerDataAt).U32(headerDataSize);
    out.U8(2).U32(options.withBitmap ? bitmapAt : 0).U32(bitmapSize);
    out.Fill(headerDataSize, 0x55);
    PutDibHeader(out, preview.width, preview.height, 1, options.bitCount, 0, static_cast<std::uint32_t>(rows.size()),
                 static_cast<std::uint32_t>(options.colorsUsed));
    PutQuadPalette(out, preview, entries);
    out.Append(rows);
    for (int k = 0; k < 16; ++k) out.U8(0xE0 - k);  // the sentinel that closes the block
    return out.bytes();
}

// APP0 and APP1 segment data (after the length) carrying thumbnails.

// JFIF header (its numbers big-endian) with an RGB thumbnail (0 x 0: none).
inline Bytes JfifSegment(const TestPicture& thumbnail) {
    ByteWriter out(true);
    out.Text(std::string("JFIF\0", 5)).U8(1).U8(2).U8(0).U16(1).U16(1).U8(thumbnail.width).U8(thumbnail.height);
    out.Append(thumbnail.AsRgb().samples);
    return out.bytes();
}

// JFXX extension: 0x10 with a JPEG stream, 0x11 with a palette of 256 RGB
// triples and indexes, 0x13 with RGB triples.
inline Bytes JfxxJpegSegment(std::span<const std::uint8_t> jpeg) {
    ByteWriter out;
    out.Text(std::string("JFXX\0", 5)).U8(0x10).Append(jpeg);
    return out.bytes();
}

inline Bytes JfxxRawSegment(const TestPicture& thumbnail) {
    ByteWriter out;
    out.Text(std::string("JFXX\0", 5)).U8(thumbnail.indexed() ? 0x11 : 0x13).U8(thumbnail.width).U8(thumbnail.height);
    if (thumbnail.indexed()) {
        for (int k = 0; k < 256; ++k) {
            const Rgb c = k < static_cast<int>(thumbnail.palette.size()) ? thumbnail.palette[k] : Rgb{};
            out.U8(c[0]).U8(c[1]).U8(c[2]);
        }
    }
    out.Append(thumbnail.samples);
    return out.bytes();
}

// EXIF block: a TIFF structure whose IFD0 holds one entry (the picture's
// orientation) and whose IFD1 points at a JPEG thumbnail.
inline Bytes ExifSegment(std::span<const std::uint8_t> jpeg, bool bigEndian) {
    ByteWriter out(bigEndian);
    out.Text(std::string("Exif\0\0", 6));
    out.Text(bigEndian ? "MM" : "II").U16(42).U32(8);
    out.U16(1).U16(0x0112).U16(3).U32(1).U16(1).U16(0);  // IFD0 at 8: orientation
    out.U32(8 + 2 + 12 + 4);                             // next: IFD1
    const std::uint32_t thumbnailAt = 26 + 2 + 3 * 12 + 4;
    out.U16(3);
    out.U16(0x0103).U16(3).U32(1).U16(6).U16(0);  // compression: JPEG
    out.U16(0x0201).U16(4).U32(1).U32(thumbnailAt);
    out.U16(0x0202).U16(4).U32(1).U32(static_cast<std::uint32_t>(jpeg.size()));
    out.U32(0);
    out.Append(jpeg);
    return out.bytes();
}

}  // namespace qx::test
