// PCX files: a 128-byte header, then the scanlines run-length coded, each
// scanline holding every plane's row of bytes-per-line bytes in turn. A byte
// with both top bits set repeats the next byte (its low six bits count the
// repeats); any other byte stands for itself. Taken are 8 bits per pixel in
// one plane (256 colours, the palette's 768 bytes after a marker byte 12
// that stands 769 bytes before the end of the file) or in three planes (red,
// green and blue rows, a 24-bit picture).
#include <algorithm>
#include <cstring>
#include <vector>

#include "qx/image/internal/raster_rows.h"

namespace qx {
namespace {

constexpr std::uint64_t kHeaderSize = 128;
constexpr std::uint8_t kSignature = 10;
constexpr std::uint64_t kBitsPerPixelAt = 3;
constexpr std::uint64_t kWindowAt = 4;  // xmin, ymin, xmax, ymax
constexpr std::uint64_t kPlanesAt = 65;
constexpr std::uint64_t kBytesPerLineAt = 66;
constexpr std::uint64_t kPaletteTail = 769;  // marker byte and 256 RGB triples
constexpr std::uint8_t kPaletteMarker = 12;
constexpr std::uint8_t kRunFlags = 0xC0;
constexpr int kMaxRun = 0x3F;

// Expands run-length coded bytes into scanlines; a run may go on into the
// next scanline.
class RunDecoder {
public:
    explicit RunDecoder(std::span<const std::uint8_t> data) : next_(data.data()), end_(data.data() + data.size()) {}

    // Fills `line` with `length` bytes; false when the data end first.
    bool Fill(std::uint8_t* line, std::size_t length) {
        std::uint8_t* const stop = line + length;
        while (line < stop) {
            if (repeats_ > 0) {
                const std::size_t n = std::min<std::size_t>(repeats_, static_cast<std::size_t>(stop - line));
                std::memset(line, value_, n);
                line += n;
                repeats_ -= n;
                continue;
            }
            if (next_ == end_) return false;
            const std::uint8_t byte = *next_++;
            if ((byte & kRunFlags) != kRunFlags) {
                *line++ = byte;
                continue;
            }
            if (next_ == end_) return false;
            repeats_ = byte & kMaxRun;
            value_ = *next_++;
        }
        return true;
    }

private:
    const std::uint8_t* next_;
    const std::uint8_t* end_;
    std::size_t repeats_ = 0;
    std::uint8_t value_ = 0;
};

ImageErrors DecodeInto(const ByteReader& file, RasterPixels* out) {
    if (file.U8(0) != kSignature) return IMAGE_UNKNOWN_FORMAT;
    if (!file.Contains(0, kHeaderSize)) return IMAGE_NO_MEMORY;
    if (file.U8(kBitsPerPixelAt) != 8) return IMAGE_BAD_DEPTH;
    const int planes = file.U8(kPlanesAt);
    if (planes != 1 && planes != 3) return IMAGE_BAD_DEPTH;
    const std::int64_t width = std::int64_t{file.U16(kWindowAt + 4)} - file.U16(kWindowAt) + 1;
    const std::int64_t height = std::int64_t{file.U16(kWindowAt + 6)} - file.U16(kWindowAt + 2) + 1;
    const std::uint64_t bytesPerLine = file.U16(kBytesPerLineAt);
    if (!RasterSizeAllowed(width, height) || bytesPerLine < static_cast<std::uint64_t>(width)) return IMAGE_NO_MEMORY;

    // The pixel data end where a palette begins.
    std::uint64_t dataEnd = file.size();
    if (planes == 1) {
        if (file.size() < kHeaderSize + kPaletteTail || file.U8(file.size() - kPaletteTail) != kPaletteMarker) {
            return IMAGE_NO_PALETTE;
        }
        dataEnd = file.size() - kPaletteTail;
    }
    // Two bytes of data give at most 63 bytes of scanline: data too short
    // for the picture are refused before its memory is taken.
    const std::uint64_t lineBytes = bytesPerLine * planes;
    const std::uint64_t dataBytes = dataEnd - kHeaderSize;
    if (dataBytes / 2 * kMaxRun + dataBytes % 2 < lineBytes * static_cast<std::uint64_t>(height)) {
        return IMAGE_READ_FAILED;
    }

    if (const ImageErrors started = StartRaster(width, height, planes == 1 ? 8 : 24, out)) return started;
    std::vector<std::uint8_t> line(lineBytes);
    RunDecoder runs(file.Bytes(kHeaderSize, dataBytes));
    const auto columns = static_cast<std::size_t>(width);
    for (int y = 0; y < static_cast<int>(height); ++y) {
        if (!runs.Fill(line.data(), line.size())) return IMAGE_READ_FAILED;
        std::uint8_t* row = RasterRow(*out, y);
        if (planes == 1) {
            std::memcpy(row, line.data(), columns);
            continue;
        }
        const std::uint8_t* red = line.data();
        const std::uint8_t* green = red + bytesPerLine;
        const std::uint8_t* blue = green + bytesPerLine;
        for (std::size_t x = 0; x < columns; ++x, row += 3) {
            row[0] = blue[x];
            row[1] = green[x];
            row[2] = red[x];
        }
    }
    if (planes == 1) {
        const std::uint8_t* rgb = file.Bytes(dataEnd + 1, kPaletteTail - 1).data();
        for (RGBQUAD& entry : out->palette) {
            entry.rgbRed = rgb[0];
            entry.rgbGreen = rgb[1];
            entry.rgbBlue = rgb[2];
            rgb += 3;
        }
    }
    return IMAGE_OK;
}

}  // namespace

ImageErrors DecodePcx(std::span<const std::uint8_t> file, RasterPixels* out) {
    RasterPixels made;
    return Deliver(DecodeInto(ByteReader(file), &made), made, out);
}

}  // namespace qx
