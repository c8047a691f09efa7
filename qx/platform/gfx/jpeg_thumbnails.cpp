#include "qx/platform/gfx/internal/jpeg_thumbnails.h"

#include <cstring>
#include <optional>

#include "qx/platform/base/byte_reader.h"

namespace qx::gfx {
namespace {

constexpr int kApp0 = 0xE0;
constexpr int kApp1 = 0xE1;

// JFIF APP0: identifier, version (2), units (1), densities (2 + 2), then
// the thumbnail's width and height (1 + 1) and its RGB triples.
constexpr std::size_t kJfifHeader = 14;
// JFXX APP0: identifier, extension code (1), then the extension's data.
constexpr std::size_t kJfxxHeader = 6;
constexpr std::uint8_t kJfxxJpeg = 0x10;
constexpr std::uint8_t kJfxxPalette = 0x11;
constexpr std::uint8_t kJfxxRgb = 0x13;
constexpr std::size_t kPaletteBytes = 256 * 3;
// EXIF APP1: identifier (6 bytes), then a TIFF structure.
constexpr std::size_t kExifHeader = 6;
constexpr std::uint16_t kTagThumbnailOffset = 0x0201;
constexpr std::uint16_t kTagThumbnailLength = 0x0202;
constexpr std::uint16_t kTypeShort = 3;
constexpr std::size_t kIfdEntry = 12;

bool StartsWith(std::span<const std::uint8_t> data, const char* prefix, std::size_t length) {
    return data.size() >= length && std::memcmp(data.data(), prefix, length) == 0;
}

bool IsJpegStream(std::span<const std::uint8_t> data) { return data.size() >= 2 && data[0] == 0xFF && data[1] == 0xD8; }

// A raw thumbnail of width x height pixels of pixelBytes bytes each, at
// offset of the segment, when all its bytes are there.
std::optional<ThumbnailSource> RawThumbnail(JpegThumbnail kind, const ByteReader& segment, std::size_t sizeAt,
                                            std::size_t pixelsAt, std::size_t pixelBytes) {
    ThumbnailSource found;
    found.kind = kind;
    found.width = segment.U8(sizeAt);
    found.height = segment.U8(sizeAt + 1);
    if (found.width == 0 || found.height == 0) return std::nullopt;
    found.pixels = segment.Bytes(pixelsAt, std::uint64_t{pixelBytes} * found.width * found.height);
    if (found.pixels.empty()) return std::nullopt;
    return found;
}

std::optional<ThumbnailSource> FromApp0(std::span<const std::uint8_t> data) {
    const ByteReader segment(data);
    if (StartsWith(data, "JFIF\0", 5)) {
        if (!segment.Contains(0, kJfifHeader)) return std::nullopt;
        return RawThumbnail(JpegThumbnail::kJfif, segment, kJfifHeader - 2, kJfifHeader, 3);
    }
    if (!StartsWith(data, "JFXX\0", 5) || data.size() < kJfxxHeader) return std::nullopt;
    switch (data[kJfxxHeader - 1]) {
        case kJfxxJpeg: {
            ThumbnailSource found;
            found.kind = JpegThumbnail::kJfxxJpeg;
            found.stream = segment.Rest(kJfxxHeader);
            if (!IsJpegStream(found.stream)) return std::nullopt;
            return found;
        }
        case kJfxxPalette: {
            auto found =
                RawThumbnail(JpegThumbnail::kJfxxPalette, segment, kJfxxHeader, kJfxxHeader + 2 + kPaletteBytes, 1);
            if (found) found->palette = segment.Bytes(kJfxxHeader + 2, kPaletteBytes);
            return found;
        }
        case kJfxxRgb: return RawThumbnail(JpegThumbnail::kJfxxRgb, segment, kJfxxHeader, kJfxxHeader + 2, 3);
        default: return std::nullopt;
    }
}

// The JPEG stream that IFD1 of an EXIF block points at. Both byte orders of
// the TIFF header occur; every offset is relative to that header and is
// checked against the segment.
std::optional<ThumbnailSource> FromApp1(std::span<const std::uint8_t> data) {
    if (!StartsWith(data, "Exif\0\0", kExifHeader)) return std::nullopt;
    const std::span<const std::uint8_t> tiff = data.subspan(kExifHeader);
    bool bigEndian = false;
    if (StartsWith(tiff, "MM\0*", 4)) {
        bigEndian = true;
    } else if (!StartsWith(tiff, "II*\0", 4)) {
        return std::nullopt;
    }
    const ByteReader exif(tiff, bigEndian);
    const std::uint32_t ifd0 = exif.U32(4);
    if (!exif.Contains(ifd0, 2)) return std::nullopt;
    const std::uint64_t ifd0Entries = exif.U16(ifd0);
    const std::uint64_t next = ifd0 + 2 + ifd0Entries * kIfdEntry;
    if (!exif.Contains(next, 4)) return std::nullopt;
    const std::uint32_t ifd1 = exif.U32(next);
    if (ifd1 == 0 || !exif.Contains(ifd1, 2)) return std::nullopt;
    const std::uint64_t ifd1Entries = exif.U16(ifd1);
    if (!exif.Contains(ifd1 + 2, ifd1Entries * kIfdEntry)) return std::nullopt;
    std::optional<std::uint32_t> offset, length;
    for (std::uint64_t k = 0; k < ifd1Entries; ++k) {
        const std::uint64_t entry = ifd1 + 2 + k * kIfdEntry;
        const std::uint16_t tag = exif.U16(entry);
        const std::uint32_t value = exif.U16(entry + 2) == kTypeShort ? exif.U16(entry + 8) : exif.U32(entry + 8);
        if (tag == kTagThumbnailOffset) offset = value;
        if (tag == kTagThumbnailLength) length = value;
    }
    if (!offset || !length) return std::nullopt;
    ThumbnailSource found;
    found.kind = JpegThumbnail::kExif;
    found.stream = exif.Bytes(*offset, *length);
    if (!IsJpegStream(found.stream)) return std::nullopt;
    return found;
}

}  // namespace

std::vector<ThumbnailSource> FindThumbnails(std::span<const JpegSegment> segments) {
    std::vector<ThumbnailSource> found;
    for (const JpegSegment& segment : segments) {
        std::optional<ThumbnailSource> thumbnail;
        if (segment.marker == kApp0) thumbnail = FromApp0(segment.data);
        if (segment.marker == kApp1) thumbnail = FromApp1(segment.data);
        if (thumbnail) found.push_back(*thumbnail);
    }
    return found;
}

}  // namespace qx::gfx
