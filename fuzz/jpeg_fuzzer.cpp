// JPEG files through libjpeg-turbo: the markers up to the first scan, the
// APP0 and APP1 segments searched for thumbnails (JFIF, JFXX, EXIF in both
// byte orders), and the decode of the thumbnail or the whole picture.
//
// Input: the file's bytes, copied into a buffer of their own size. The
// picture bound is lowered to a million pixels, so that a run spends its
// time on the parsing instead of on decoding large pictures.
//
// What holds: libjpeg's errors come back as a status (never an exit), no
// byte past the file is read, the rows delivered are a well-formed bitmap
// of 24 bits (32 for four channels without a thumbnail), and the reader of
// parameters agrees with the picture about the size of a picture without a
// thumbnail.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "qx/platform/gfx/jpeg_reader.h"

namespace {

constexpr std::int64_t kFuzzMaxPixels = 1 << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qx::gfx;
    const std::vector<std::uint8_t> file(data, data + size);
    JpegInfo info;
    const JpegStatus read = ReadJpegInfo(file, &info);
    JpegRows rows;
    JpegInfo delivered;
    const JpegStatus decoded = ReadJpegPicture(file, kFuzzMaxPixels, &rows, &delivered);
    if (decoded != JpegStatus::kOk) {
        if (!rows.bits.empty()) std::abort();
        return 0;
    }
    if (read != JpegStatus::kOk) std::abort();  // a decodable file has readable parameters
    const BITMAPINFOHEADER& h = rows.header;
    if (h.biWidth <= 0 || h.biHeight <= 0 || static_cast<std::int64_t>(h.biWidth) * h.biHeight > kFuzzMaxPixels) {
        std::abort();
    }
    if (h.biBitCount != 24 && !(h.biBitCount == 32 && delivered.thumbnail == JpegThumbnail::kNone)) std::abort();
    const std::uint64_t stride = (static_cast<std::uint64_t>(h.biWidth) * h.biBitCount + 31) / 32 * 4;
    if (h.biSizeImage != stride * h.biHeight || rows.bits.size() != h.biSizeImage) std::abort();
    if (delivered.thumbnail == JpegThumbnail::kNone && (h.biWidth != info.width || h.biHeight != info.height)) {
        std::abort();
    }
    return 0;
}
