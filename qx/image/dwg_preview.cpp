// The preview bitmap of a DWG drawing. The file header gives, at offset 13,
// the position of the preview block; the block's directory gives, at
// offset 31 (the start of its second entry, the bitmap), the position of a
// BITMAPINFOHEADER, followed by its palette and its 8-bit rows. A drawing
// saved without a preview has 0 at either place.
#include <algorithm>
#include <string_view>

#include "qx/image/internal/raster_rows.h"

namespace qx {
namespace {

constexpr std::uint64_t kPreviewAt = 13;
constexpr std::uint64_t kPreviewBlockSize = 2048;
constexpr std::uint64_t kBitmapAtInBlock = 31;

bool HasVersionMark(const ByteReader& file) {
    const std::span<const std::uint8_t> mark = file.Bytes(0, 6);
    if (mark.empty()) return false;
    const std::string_view text(reinterpret_cast<const char*>(mark.data()), mark.size());
    for (std::string_view known : {"AC1014", "AC1015", "AC1018", "AC1021", "AC1012"}) {
        if (text == known) return true;
    }
    return false;
}

ImageErrors DecodeInto(const ByteReader& file, RasterPixels* out) {
    if (!HasVersionMark(file)) return IMAGE_UNKNOWN_FORMAT;
    if (!file.Contains(kPreviewAt, 4)) return IMAGE_NO_MEMORY;
    const std::uint32_t previewAt = file.U32(kPreviewAt);
    if (previewAt == 0) return IMAGE_DWG_NO_PREVIEW;
    if (previewAt >= file.size()) return IMAGE_SEEK_FAILED;
    // The block is read as 2048 bytes, or up to the end of a shorter file:
    // only its directory entry matters, and that must be there.
    const ByteReader block(file.Bytes(previewAt, std::min<std::uint64_t>(kPreviewBlockSize, file.size() - previewAt)));
    if (!block.Contains(kBitmapAtInBlock, 4)) return IMAGE_READ_FAILED;
    const std::uint32_t bitmapAt = block.U32(kBitmapAtInBlock);
    if (bitmapAt == 0) return IMAGE_DWG_NO_PREVIEW;
    if (bitmapAt >= file.size()) return IMAGE_SEEK_FAILED;
    if (!file.Contains(bitmapAt, kDibHeaderSize)) return IMAGE_READ_FAILED;
    const DibHeader header = ReadDibHeader(file, bitmapAt);
    if (header.bitCount != 8 || header.planes != 1 || header.compression != 0) return IMAGE_BAD_DEPTH;
    if (header.colorsUsed > 256) return IMAGE_BAD_PALETTE_SIZE;
    // The palette follows the 40-byte header; the rows follow the palette.
    const int colours = header.colorsUsed == 0 ? 256 : static_cast<int>(header.colorsUsed);
    const std::uint64_t paletteAt = bitmapAt + kDibHeaderSize;
    if (!file.Contains(paletteAt, std::uint64_t{4} * colours)) return IMAGE_READ_FAILED;
    if (const ImageErrors rows = ReadDibRows(file, paletteAt + std::uint64_t{4} * colours, header, out)) return rows;
    ReadQuadPalette(file, paletteAt, colours, out);
    return IMAGE_OK;
}

}  // namespace

ImageErrors DecodeDwgPreview(std::span<const std::uint8_t> file, RasterPixels* out) {
    RasterPixels made;
    return Deliver(DecodeInto(ByteReader(file), &made), made, out);
}

}  // namespace qx
