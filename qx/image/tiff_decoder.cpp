// TIFF files in Intel byte order ("II", 42), uncompressed, one sample of 8
// bits (grey or a colour map) or three samples of 8 bits (RGB), stored in
// strips; only the first directory is read. A private tag gives the file
// position of the picture's named regions. Motorola-order files ("MM") are
// refused with their own error, compressed ones with theirs.
#include <algorithm>
#include <cstring>
#include <optional>

#include "qx/image/internal/raster_rows.h"

namespace qx {
namespace {

constexpr std::uint64_t kHeaderSize = 8;
constexpr std::uint64_t kEntrySize = 12;

enum Tag : std::uint16_t {
    kWidth = 256,
    kHeight = 257,
    kBitsPerSample = 258,
    kCompression = 259,
    kPhotometric = 262,
    kStripOffsets = 273,
    kSamplesPerPixel = 277,
    kRowsPerStrip = 278,
    kStripByteCounts = 279,
    kPlanarConfiguration = 284,
    kColorMap = 320,
    kRegions = 0xFFD6,
};

enum Photometric : std::uint32_t { kWhiteIsZero = 0, kBlackIsZero = 1, kRgb = 2, kPalette = 3 };
constexpr std::uint32_t kUncompressed = 1;
constexpr std::uint32_t kChunky = 1;  // samples of a pixel side by side

// One directory entry: a type, a count of values, and the values inline
// (up to 4 bytes) or at the offset the entry holds.
class Field {
public:
    Field() = default;
    Field(const ByteReader& file, std::uint64_t entry)
        : file_(&file), type_(file.U16(entry + 2)), count_(file.U32(entry + 4)) {
        const std::uint64_t bytes = std::uint64_t{count_} * ValueSize();
        valuesAt_ = bytes <= 4 ? entry + 8 : file.U32(entry + 8);
    }

    bool present() const { return file_ != nullptr; }
    std::uint32_t count() const { return count_; }
    bool isShort() const { return type_ == 3; }

    // Whether the values can be read: a known type, all inside the file.
    ImageErrors Check() const {
        if (ValueSize() == 0) return IMAGE_UNKNOWN_FORMAT;
        if (valuesAt_ > file_->size()) return IMAGE_SEEK_FAILED;
        if (!file_->Contains(valuesAt_, std::uint64_t{count_} * ValueSize())) return IMAGE_READ_FAILED;
        return IMAGE_OK;
    }

    // Value k (after Check); fallback when the field is absent or shorter.
    std::uint32_t Value(std::uint64_t k = 0, std::uint32_t fallback = 0) const {
        if (!present() || k >= count_) return fallback;
        const std::uint64_t at = valuesAt_ + k * ValueSize();
        switch (type_) {
            case 1: return file_->U8(at);
            case 3: return file_->U16(at);
            case 4: return file_->U32(at);
            default: return fallback;
        }
    }

private:
    // BYTE, SHORT and LONG are the types the tags read here take.
    std::uint64_t ValueSize() const {
        switch (type_) {
            case 1: return 1;
            case 3: return 2;
            case 4: return 4;
            default: return 0;
        }
    }

    const ByteReader* file_ = nullptr;
    std::uint16_t type_ = 0;
    std::uint32_t count_ = 0;
    std::uint64_t valuesAt_ = 0;
};

struct Directory {
    Field width, height, bitsPerSample, compression, photometric, stripOffsets, samplesPerPixel, rowsPerStrip,
        stripByteCounts, planarConfiguration, colorMap, regions;

    Field* Slot(std::uint16_t tag) {
        switch (tag) {
            case kWidth: return &width;
            case kHeight: return &height;
            case kBitsPerSample: return &bitsPerSample;
            case kCompression: return &compression;
            case kPhotometric: return &photometric;
            case kStripOffsets: return &stripOffsets;
            case kSamplesPerPixel: return &samplesPerPixel;
            case kRowsPerStrip: return &rowsPerStrip;
            case kStripByteCounts: return &stripByteCounts;
            case kPlanarConfiguration: return &planarConfiguration;
            case kColorMap: return &colorMap;
            case kRegions: return &regions;
            default: return nullptr;
        }
    }
};

// The fields of the first directory that this decoder reads, each checked.
ImageErrors ReadDirectory(const ByteReader& file, Directory* directory) {
    const std::uint64_t at = file.U32(4);
    if (at >= file.size()) return IMAGE_SEEK_FAILED;
    if (!file.Contains(at, 2)) return IMAGE_READ_FAILED;
    const std::uint64_t entries = file.U16(at);
    if (!file.Contains(at + 2, entries * kEntrySize)) return IMAGE_READ_FAILED;
    for (std::uint64_t k = 0; k < entries; ++k) {
        const std::uint64_t entry = at + 2 + k * kEntrySize;
        Field* slot = directory->Slot(file.U16(entry));
        if (!slot) continue;
        *slot = Field(file, entry);
        if (const ImageErrors checked = slot->Check()) return checked;
    }
    return IMAGE_OK;
}

// The named regions at the position the private tag gives: a 16-bit count,
// then per region a name (1 byte length, the bytes) and four 16-bit values.
ImageErrors ReadRegions(const ByteReader& file, std::uint64_t at, std::vector<ImageRegion>* regions) {
    constexpr std::uint64_t kSmallestRegion = 1 + 4 * 2;
    if (at >= file.size()) return IMAGE_SEEK_FAILED;
    if (!file.Contains(at, 2)) return IMAGE_READ_FAILED;
    const std::uint64_t count = file.U16(at);
    if (!file.Contains(at + 2, count * kSmallestRegion)) return IMAGE_READ_FAILED;
    regions->reserve(count);
    std::uint64_t next = at + 2;
    for (std::uint64_t k = 0; k < count; ++k) {
        const std::uint64_t nameLength = file.U8(next);
        const std::span<const std::uint8_t> region = file.Bytes(next, 1 + nameLength + 8);
        if (region.empty()) return IMAGE_READ_FAILED;
        ImageRegion& made = regions->emplace_back();
        made.name.assign(reinterpret_cast<const char*>(region.data()) + 1, nameLength);
        const std::uint64_t values = next + 1 + nameLength;
        made.left = file.U16(values);
        made.right = file.U16(values + 2);
        made.top = file.U16(values + 4);
        made.bottom = file.U16(values + 6);
        next += region.size();
    }
    return IMAGE_OK;
}

constexpr std::uint64_t kColours = 256;

// Whether the colour map holds 3 x 256 16-bit values.
bool HasColorMap(const Directory& directory) {
    return directory.colorMap.present() && directory.colorMap.isShort() && directory.colorMap.count() >= 3 * kColours;
}

// The palette of a one-sample picture: the colour map's values (red, green,
// blue; the high byte is the colour), or a grey ramp.
void FillPalette(const Directory& directory, std::uint32_t photometric, RasterPixels* out) {
    for (std::uint64_t k = 0; k < kColours; ++k) {
        RGBQUAD& entry = out->palette[k];
        if (photometric == kPalette) {
            entry.rgbRed = static_cast<std::uint8_t>(directory.colorMap.Value(k) >> 8);
            entry.rgbGreen = static_cast<std::uint8_t>(directory.colorMap.Value(kColours + k) >> 8);
            entry.rgbBlue = static_cast<std::uint8_t>(directory.colorMap.Value(2 * kColours + k) >> 8);
        } else {
            const auto grey = static_cast<std::uint8_t>(photometric == kWhiteIsZero ? 255 - k : k);
            entry = RGBQUAD{grey, grey, grey, 0};
        }
    }
}

// RGB triples to the bitmap's BGR. The rows never overlap; saying so lets
// the compiler move several pixels at a time.
void SwapRedAndBlue(const std::uint8_t* __restrict rgb, std::uint8_t* __restrict bgr, std::size_t pixels) {
    for (std::size_t k = 0; k < 3 * pixels; k += 3) {
        bgr[k] = rgb[k + 2];
        bgr[k + 1] = rgb[k + 1];
        bgr[k + 2] = rgb[k];
    }
}

ImageErrors DecodeInto(const ByteReader& file, RasterPixels* out) {
    using namespace std::string_view_literals;
    const std::span<const std::uint8_t> signature = file.Bytes(0, 4);
    if (signature.empty()) return IMAGE_UNKNOWN_FORMAT;
    const std::string_view mark(reinterpret_cast<const char*>(signature.data()), 4);
    if (mark.substr(0, 2) == "MM"sv && (mark.substr(2) == "\0*"sv || mark.substr(2) == "*\0"sv)) {
        return IMAGE_TIFF_MOTOROLA;
    }
    if (mark != "II*\0"sv) return IMAGE_UNKNOWN_FORMAT;
    if (!file.Contains(0, kHeaderSize)) return IMAGE_NO_MEMORY;

    Directory directory;
    if (const ImageErrors read = ReadDirectory(file, &directory)) return read;
    if (!directory.width.present() || !directory.height.present() || !directory.stripOffsets.present()) {
        return IMAGE_NO_MEMORY;
    }
    if (directory.compression.Value(0, kUncompressed) != kUncompressed) return IMAGE_TIFF_COMPRESSED;
    const std::uint32_t samples = directory.samplesPerPixel.Value(0, 1);
    if (samples != 1 && samples != 3) return IMAGE_BAD_DEPTH;
    for (std::uint32_t k = 0; k < samples; ++k) {
        const std::uint32_t first = directory.bitsPerSample.Value(0, 1);
        if (directory.bitsPerSample.Value(k, first) != 8) return IMAGE_BAD_DEPTH;
    }
    const std::uint32_t photometric = directory.photometric.Value(0, samples == 3 ? kRgb : kBlackIsZero);
    if (samples == 3 && (photometric != kRgb || directory.planarConfiguration.Value(0, kChunky) != kChunky)) {
        return IMAGE_BAD_DEPTH;
    }
    if (samples == 1 && photometric != kWhiteIsZero && photometric != kBlackIsZero && photometric != kPalette) {
        return IMAGE_BAD_DEPTH;
    }
    if (samples == 1 && photometric == kPalette && !HasColorMap(directory)) return IMAGE_NO_PALETTE;

    const std::int64_t width = directory.width.Value();
    const std::int64_t height = directory.height.Value();
    if (!RasterSizeAllowed(width, height)) return IMAGE_NO_MEMORY;
    const std::uint64_t rowsPerStrip = std::min<std::uint64_t>(directory.rowsPerStrip.Value(0, UINT32_MAX), height);
    if (rowsPerStrip == 0) return IMAGE_NO_MEMORY;
    const std::uint64_t rowBytes = static_cast<std::uint64_t>(width) * samples;
    const std::uint64_t strips = (height + rowsPerStrip - 1) / rowsPerStrip;
    if (directory.stripOffsets.count() < strips) return IMAGE_READ_FAILED;
    if (directory.stripByteCounts.present() && directory.stripByteCounts.count() < strips) return IMAGE_READ_FAILED;
    // Every strip holds its rows before anything is allocated.
    for (std::uint64_t strip = 0; strip < strips; ++strip) {
        const std::uint64_t rows = std::min<std::uint64_t>(rowsPerStrip, height - strip * rowsPerStrip);
        const std::uint64_t at = directory.stripOffsets.Value(strip);
        if (at >= file.size()) return IMAGE_SEEK_FAILED;
        const std::uint64_t needed = rows * rowBytes;
        if (directory.stripByteCounts.Value(strip, UINT32_MAX) < needed || !file.Contains(at, needed)) {
            return IMAGE_READ_FAILED;
        }
    }
    std::vector<ImageRegion> regions;
    if (directory.regions.present()) {
        if (const ImageErrors read = ReadRegions(file, directory.regions.Value(), &regions)) return read;
    }

    if (const ImageErrors started = StartRaster(width, height, samples == 3 ? 24 : 8, out)) return started;
    if (samples == 1) FillPalette(directory, photometric, out);
    for (int y = 0; y < static_cast<int>(height); ++y) {
        const std::uint64_t strip = y / rowsPerStrip;
        const std::uint64_t at = directory.stripOffsets.Value(strip) + (y - strip * rowsPerStrip) * rowBytes;
        const std::uint8_t* source = file.Bytes(at, rowBytes).data();
        std::uint8_t* row = RasterRow(*out, y);
        if (samples == 1) {
            std::memcpy(row, source, static_cast<std::size_t>(rowBytes));
            continue;
        }
        SwapRedAndBlue(source, row, static_cast<std::size_t>(width));
    }
    out->regions = std::move(regions);
    return IMAGE_OK;
}

}  // namespace

ImageErrors DecodeTiff(std::span<const std::uint8_t> file, RasterPixels* out) {
    RasterPixels made;
    return Deliver(DecodeInto(ByteReader(file), &made), made, out);
}

}  // namespace qx
