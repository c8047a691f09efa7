#include "qx/platform/gfx/jpeg_reader.h"

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <algorithm>
#include <csetjmp>
#include <new>
#include <optional>

#include "qx/platform/gfx/dib_rows.h"
#include "qx/platform/gfx/internal/jpeg_thumbnails.h"

namespace qx::gfx {
namespace {

// What libjpeg may allocate for one picture beyond its output rows (a
// progressive file keeps all its coefficients): more fails the decode
// instead of growing without bound.
constexpr long kMaxLibjpegMemory = 512L << 20;
// A progressive file may repeat scans over the whole picture; real files
// have a dozen or so, a hostile one thousands, each costing a full pass.
constexpr int kMaxScans = 500;
// Rows handed to libjpeg per call.
constexpr int kRowsPerCall = 8;

// libjpeg reports a fatal error by calling error_exit, which must not
// return: it jumps back to the setjmp of Guarded below. Warnings are
// silenced, except that an end of data before the picture is whole is noted.
struct ErrorManager {
    jpeg_error_mgr pub;  // first, so that libjpeg's pointer is ours
    std::jmp_buf jump;
    bool cutShort;
    bool tooManyScans;
};

ErrorManager& Errors(j_common_ptr cinfo) { return *reinterpret_cast<ErrorManager*>(cinfo->err); }

[[noreturn]] void OnError(j_common_ptr cinfo) { std::longjmp(Errors(cinfo).jump, 1); }

void OnMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;  // trace messages
    const int code = cinfo->err->msg_code;
    if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER) Errors(cinfo).cutShort = true;
    ++cinfo->err->num_warnings;
}

void OnOutput(j_common_ptr) {}

void OnProgress(j_common_ptr cinfo) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (decompress->input_scan_number > kMaxScans) {
        Errors(cinfo).tooManyScans = true;
        std::longjmp(Errors(cinfo).jump, 1);
    }
}

// Runs one libjpeg step; false when libjpeg gave up on it. A jump out of
// the step passes only libjpeg's frames and the step's, which hold nothing
// with a destructor: callers keep every C++ object outside the step.
template <class Step>
bool Guarded(ErrorManager& errors, Step&& step) {
    if (setjmp(errors.jump) != 0) return false;
    step();
    return true;
}

// Cyan, magenta, yellow and black to blue, green, red. Files with Adobe's
// marker store the inks inverted (0 = full ink), as Adobe's programs write
// them; others store them plain.
void CmykToBgr(const std::uint8_t* cmyk, std::uint8_t* out, int width, int outBytes, bool inverted) {
    for (int x = 0; x < width; ++x, cmyk += 4, out += outBytes) {
        int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        const std::uint8_t blue = static_cast<std::uint8_t>((y * k + 127) / 255);
        const std::uint8_t green = static_cast<std::uint8_t>((m * k + 127) / 255);
        const std::uint8_t red = static_cast<std::uint8_t>((c * k + 127) / 255);
        out[0] = blue, out[1] = green, out[2] = red;
        if (outBytes == 4) out[3] = 0;
    }
}

// One decompression of one JPEG stream in memory.
class Session {
public:
    explicit Session(std::span<const std::uint8_t> data) : data_(data) {
        cinfo_.err = jpeg_std_error(&errors_.pub);
        errors_.pub.error_exit = OnError;
        errors_.pub.emit_message = OnMessage;
        errors_.pub.output_message = OnOutput;
        progress_.progress_monitor = OnProgress;
    }
    ~Session() { jpeg_destroy_decompress(&cinfo_); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Reads the markers up to the first scan; with keepSegments the APP0
    // and APP1 segments are kept for Thumbnails.
    JpegStatus ReadHeader(bool keepSegments) {
        if (data_.size() < 2 || data_[0] != 0xFF || data_[1] != 0xD8) return JpegStatus::kNotJpeg;
        const bool read = Guarded(errors_, [&] {
            jpeg_create_decompress(&cinfo_);
            cinfo_.mem->max_memory_to_use = kMaxLibjpegMemory;
            cinfo_.progress = &progress_;
            jpeg_mem_src(&cinfo_, data_.data(), static_cast<unsigned long>(data_.size()));
            if (keepSegments) {
                jpeg_save_markers(&cinfo_, JPEG_APP0, 0xFFFF);
                jpeg_save_markers(&cinfo_, JPEG_APP0 + 1, 0xFFFF);
            }
            jpeg_read_header(&cinfo_, TRUE);
        });
        return read ? JpegStatus::kOk : Failure();
    }

    JpegInfo Info() const {
        JpegInfo info;
        info.width = static_cast<int>(cinfo_.image_width);
        info.height = static_cast<int>(cinfo_.image_height);
        info.channels = cinfo_.num_components;
        return info;
    }

    std::vector<ThumbnailSource> Thumbnails() const {
        std::vector<JpegSegment> segments;
        for (jpeg_saved_marker_ptr m = cinfo_.marker_list; m; m = m->next) {
            segments.push_back({m->marker, std::span<const std::uint8_t>(m->data, m->data_length)});
        }
        return FindThumbnails(segments);
    }

    // Decodes the whole picture (after ReadHeader) into 24-bit rows, or for
    // CMYK pictures into 32-bit rows unless only 24 bits are allowed.
    JpegStatus Decode(bool allow32, std::int64_t maxPixels, JpegRows* out) {
        const bool cmyk = cinfo_.jpeg_color_space == JCS_CMYK || cinfo_.jpeg_color_space == JCS_YCCK;
        const bool colour = cinfo_.jpeg_color_space == JCS_GRAYSCALE || cinfo_.jpeg_color_space == JCS_YCbCr ||
                            cinfo_.jpeg_color_space == JCS_RGB;
        if (!cmyk && !colour) return JpegStatus::kUnsupported;
        const int bitCount = cmyk && allow32 ? 32 : 24;
        BITMAPINFOHEADER header;
        if (!MakeDibHeader(cinfo_.image_width, cinfo_.image_height, bitCount, maxPixels, &header)) {
            return JpegStatus::kTooLarge;
        }
        const int width = header.biWidth;
        const int height = header.biHeight;
        const std::size_t stride = DibStride(width, bitCount);
        std::vector<std::uint8_t> bits, cmykRow;
        try {
            bits.resize(header.biSizeImage);
            if (cmyk && bitCount == 24) cmykRow.resize(static_cast<std::size_t>(width) * 4);
        } catch (const std::bad_alloc&) {
            return JpegStatus::kNoMemory;
        }
        cinfo_.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
        const bool inverted = cinfo_.saw_Adobe_marker;
        std::uint8_t* const bottom = bits.data();
        std::uint8_t* const spare = cmykRow.data();
        // Picture row r (from the top) is bitmap row height - 1 - r.
        const auto bitmapRow = [height](JDIMENSION r) {
            return static_cast<std::size_t>(height - 1 - static_cast<int>(r));
        };
        const bool decoded = Guarded(errors_, [&] {
            jpeg_start_decompress(&cinfo_);
            if (cinfo_.output_width != static_cast<JDIMENSION>(width) ||
                cinfo_.output_height != static_cast<JDIMENSION>(height)) {
                ERREXIT(&cinfo_, JERR_IMAGE_TOO_BIG);
            }
            JSAMPROW rows[kRowsPerCall];
            while (cinfo_.output_scanline < cinfo_.output_height) {
                const JDIMENSION first = cinfo_.output_scanline;
                const JDIMENSION wanted =
                    std::min<JDIMENSION>(kRowsPerCall, cinfo_.output_height - cinfo_.output_scanline);
                for (JDIMENSION k = 0; k < wanted; ++k) {
                    rows[k] = spare ? spare : bottom + bitmapRow(first + k) * stride;
                }
                const JDIMENSION got = jpeg_read_scanlines(&cinfo_, rows, spare ? 1 : wanted);
                for (JDIMENSION k = 0; cmyk && k < got; ++k) {
                    std::uint8_t* row = bottom + bitmapRow(first + k) * stride;
                    CmykToBgr(spare ? spare : row, row, width, bitCount / 8, inverted);
                }
                if (errors_.cutShort) return;
            }
        });
        if (!decoded || errors_.cutShort) return Failure();
        out->header = header;
        out->bits = std::move(bits);
        return JpegStatus::kOk;
    }

private:
    JpegStatus Failure() const {
        if (errors_.cutShort) return JpegStatus::kCutShort;
        if (errors_.tooManyScans) return JpegStatus::kCorrupt;
        switch (errors_.pub.msg_code) {
            case JERR_NO_SOI: return JpegStatus::kNotJpeg;
            case JERR_OUT_OF_MEMORY:
            case JERR_NO_BACKING_STORE: return JpegStatus::kNoMemory;
            default: return JpegStatus::kCorrupt;
        }
    }

    std::span<const std::uint8_t> data_;
    ErrorManager errors_{};
    jpeg_progress_mgr progress_{};
    jpeg_decompress_struct cinfo_{};
};

// A raw thumbnail (RGB triples or palette indexes) as 24-bit rows.
JpegStatus RawRows(const ThumbnailSource& thumbnail, std::int64_t maxPixels, JpegRows* out) {
    BITMAPINFOHEADER header;
    if (!MakeDibHeader(thumbnail.width, thumbnail.height, 24, maxPixels, &header)) return JpegStatus::kTooLarge;
    const std::size_t stride = DibStride(thumbnail.width, 24);
    std::vector<std::uint8_t> bits(header.biSizeImage);
    const bool indexed = !thumbnail.palette.empty();
    const std::uint8_t* source = thumbnail.pixels.data();
    for (int y = 0; y < thumbnail.height; ++y) {
        std::uint8_t* row = bits.data() + static_cast<std::size_t>(thumbnail.height - 1 - y) * stride;
        for (int x = 0; x < thumbnail.width; ++x, row += 3) {
            const std::uint8_t* rgb = indexed ? thumbnail.palette.data() + 3 * *source++ : (source += 3) - 3;
            row[0] = rgb[2], row[1] = rgb[1], row[2] = rgb[0];
        }
    }
    out->header = header;
    out->bits = std::move(bits);
    return JpegStatus::kOk;
}

// The size of a thumbnail: a raw one knows it, a JPEG one reads its header.
std::optional<JpegInfo> ThumbnailSize(const ThumbnailSource& thumbnail) {
    JpegInfo size;
    if (thumbnail.stream.empty()) {
        size.width = thumbnail.width, size.height = thumbnail.height;
        return size;
    }
    Session session(thumbnail.stream);
    if (session.ReadHeader(false) != JpegStatus::kOk) return std::nullopt;
    size = session.Info();
    if (size.width == 0 || size.height == 0) return std::nullopt;
    return size;
}

JpegStatus DecodeThumbnail(const ThumbnailSource& thumbnail, std::int64_t maxPixels, JpegRows* out) {
    if (thumbnail.stream.empty()) return RawRows(thumbnail, maxPixels, out);
    Session session(thumbnail.stream);
    const JpegStatus read = session.ReadHeader(false);
    return read == JpegStatus::kOk ? session.Decode(false, maxPixels, out) : read;
}

void NoteThumbnail(const ThumbnailSource& thumbnail, int width, int height, JpegInfo* info) {
    info->thumbnail = thumbnail.kind;
    info->thumbnailWidth = width;
    info->thumbnailHeight = height;
}

}  // namespace

JpegStatus ReadJpegInfo(std::span<const std::uint8_t> file, JpegInfo* info) {
    Session session(file);
    const JpegStatus read = session.ReadHeader(true);
    if (read != JpegStatus::kOk) return read;
    *info = session.Info();
    for (const ThumbnailSource& thumbnail : session.Thumbnails()) {
        if (const std::optional<JpegInfo> size = ThumbnailSize(thumbnail)) {
            NoteThumbnail(thumbnail, size->width, size->height, info);
            break;
        }
    }
    return JpegStatus::kOk;
}

JpegStatus ReadJpegPicture(std::span<const std::uint8_t> file, std::int64_t maxPixels, JpegRows* out, JpegInfo* info) {
    Session session(file);
    const JpegStatus read = session.ReadHeader(true);
    if (read != JpegStatus::kOk) return read;
    JpegInfo delivered = session.Info();
    JpegStatus status = JpegStatus::kUnsupported;
    for (const ThumbnailSource& thumbnail : session.Thumbnails()) {
        if (DecodeThumbnail(thumbnail, maxPixels, out) == JpegStatus::kOk) {
            NoteThumbnail(thumbnail, out->header.biWidth, out->header.biHeight, &delivered);
            status = JpegStatus::kOk;
            break;
        }
    }
    if (status != JpegStatus::kOk) status = session.Decode(true, maxPixels, out);
    if (info) *info = delivered;
    return status;
}

}  // namespace qx::gfx
