// BMP files: a 14-byte file header ("BM", size, reserved, offset of the
// pixel rows), a BITMAPINFOHEADER, the palette after it, the rows at the
// offset. Taken are uncompressed 24-bit pictures and uncompressed 8-bit
// pictures of one plane whose header counts 0, 255 or 256 colours (0 and 255
// stand for a full palette); anything else is refused by its kind.
#include "qx/image/internal/raster_rows.h"

namespace qx {
namespace {

constexpr std::uint64_t kFileHeaderSize = 14;
constexpr std::uint64_t kRowsOffsetAt = 10;
constexpr std::uint32_t kUncompressed = 0;

bool FullPalette(std::uint32_t colorsUsed) { return colorsUsed == 0 || colorsUsed == 255 || colorsUsed == 256; }

ImageErrors DecodeInto(const ByteReader& file, RasterPixels* out) {
    if (file.U8(0) != 'B' || file.U8(1) != 'M') return IMAGE_UNKNOWN_FORMAT;
    if (!file.Contains(0, kFileHeaderSize + kDibHeaderSize)) return IMAGE_NO_MEMORY;
    const DibHeader header = ReadDibHeader(file, kFileHeaderSize);
    if (header.size < kDibHeaderSize) return IMAGE_NO_MEMORY;
    if (header.bitCount != 24 && (header.bitCount != 8 || header.planes != 1)) return IMAGE_BAD_DEPTH;
    // Run-length and bit-field bitmaps would be read as raw rows otherwise.
    if (header.compression != kUncompressed) return IMAGE_BAD_DEPTH;
    if (header.bitCount == 8 && !FullPalette(header.colorsUsed)) return IMAGE_BAD_PALETTE_SIZE;
    // The palette follows the info header, whose size the header states (40
    // for the classic header, more for the later versions).
    const std::uint64_t paletteAt = kFileHeaderSize + header.size;
    if (header.bitCount == 8 && paletteAt > file.size()) return IMAGE_SEEK_FAILED;
    if (header.bitCount == 8 && !file.Contains(paletteAt, 256 * 4)) return IMAGE_READ_FAILED;
    if (const ImageErrors rows = ReadDibRows(file, file.U32(kRowsOffsetAt), header, out)) return rows;
    if (header.bitCount == 8) ReadQuadPalette(file, paletteAt, 256, out);
    return IMAGE_OK;
}

}  // namespace

ImageErrors DecodeBmp(std::span<const std::uint8_t> file, RasterPixels* out) {
    RasterPixels made;
    return Deliver(DecodeInto(ByteReader(file), &made), made, out);
}

}  // namespace qx
