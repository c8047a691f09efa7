// Slide files and slide libraries, read front to back through a small
// buffer. All reading state (the open file, the byte order, the last end
// point, the reference point) belongs to one read, so slides can be read
// anywhere at any time.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "qx/image/internal/slide_file.h"
#include "qx/image/slide_image.h"
#include "qx/message/message_table.h"
#include "qx/platform/base/codepage.h"
#include "qx/platform/base/cstring.h"
#include "qx/platform/os/file_stream.h"
#include "qx/platform/wnd/message_box.h"

namespace {

constexpr std::string_view kLibraryMark = "AutoCAD Slide Library";
constexpr std::string_view kSlideMark = "AutoCAD Slide";
constexpr std::size_t kLibraryHeaderSize = 32;
constexpr std::size_t kSlideHeaderSize = 31;
constexpr std::size_t kEntryNameSize = 32;
constexpr std::uint16_t kNativeTestNumber = 0x1234;

// A file read front to back. Memory is the buffer, whatever the file says;
// going back to an earlier position opens the file again.
class ByteSource {
public:
    explicit ByteSource(std::wstring_view path) : path_(path), file_(qx::FileReader::Open(path_)) {}

    bool IsOpen() const { return file_ != nullptr; }

    // Exactly *size* bytes into *out*; false when the file ends first.
    bool Read(void* out, std::size_t size) {
        auto* to = static_cast<char*>(out);
        while (size > 0) {
            if (begin_ == end_ && !Fill()) return false;
            const std::size_t n = std::min(size, end_ - begin_);
            std::memcpy(to, buffer_.data() + begin_, n);
            Consume(n);
            to += n;
            size -= n;
        }
        return true;
    }

    // False when the file is shorter than *offset* bytes.
    bool SeekTo(std::uint64_t offset) {
        if (offset < position_) {
            file_ = qx::FileReader::Open(path_);
            begin_ = end_ = 0;
            position_ = 0;
        }
        while (position_ < offset) {
            if (begin_ == end_ && !Fill()) return false;
            Consume(static_cast<std::size_t>(std::min<std::uint64_t>(offset - position_, end_ - begin_)));
        }
        return true;
    }

private:
    bool Fill() {
        if (!file_) return false;
        const std::optional<std::size_t> count = file_->Read(buffer_.data(), buffer_.size());
        if (!count || *count == 0) return false;
        begin_ = 0;
        end_ = *count;
        return true;
    }

    void Consume(std::size_t n) {
        begin_ += n;
        position_ += n;
    }

    std::wstring path_;
    std::unique_ptr<qx::FileReader> file_;
    std::array<char, 4096> buffer_{};
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::uint64_t position_ = 0;  // of buffer_[begin_] in the file
};

bool StartsWith(const char* bytes, std::string_view mark) { return std::string_view(bytes, mark.size()) == mark; }

std::uint16_t LittleEndian16(const unsigned char* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

std::uint32_t LittleEndian32(const unsigned char* bytes) {
    return LittleEndian16(bytes) | (static_cast<std::uint32_t>(LittleEndian16(bytes + 2)) << 16);
}

std::uint16_t Swapped(std::uint16_t word) { return static_cast<std::uint16_t>((word >> 8) | (word << 8)); }

// Calls *visit* with each directory entry of the library in *source* until
// it returns true, the entry with an empty name or the end of the file.
// False when the file does not begin with the library header.
bool VisitDirectory(ByteSource& source, const std::function<bool(const qx::SlideEntry&)>& visit) {
    char header[kLibraryHeaderSize];
    if (!source.Read(header, sizeof header) || !StartsWith(header, kLibraryMark)) return false;
    unsigned char entry[kEntryNameSize + 4];
    while (source.Read(entry, sizeof entry)) {
        const auto* name = reinterpret_cast<const char*>(entry);
        const qx::SlideEntry found{std::string(name, strnlen(name, kEntryNameSize)),
                                   LittleEndian32(entry + kEntryNameSize)};
        if (found.name.empty() || visit(found)) break;
    }
    return true;
}

// A name as 8-bit text in the system's code page and back, so that two names
// compare as their bytes' letters do.
CString AsCodePageText(std::wstring_view name) {
    return CString(qx::CodePageToWide(qx::WideToCodePage(name, qx::kCpAcp), qx::kCpAcp));
}

// Moves *source* to the slide *slideName* of the library it holds.
bool SeekToLibrarySlide(ByteSource& source, const wchar_t* slideName) {
    const CString wanted = AsCodePageText(slideName);
    std::optional<std::uint32_t> offset;
    const bool library = VisitDirectory(source, [&](const qx::SlideEntry& entry) {
        if (CString(qx::CodePageToWide(entry.name, qx::kCpAcp)).CompareNoCase(wanted) != 0) return false;
        offset = entry.offset;
        return true;
    });
    return library && offset && source.SeekTo(*offset);
}

std::int32_t Offset(std::int32_t base, int offset) {
    constexpr std::int64_t kLow = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kHigh = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(std::int64_t{base} + offset, kLow, kHigh));
}

// The records of one slide turned into points.
class RecordReader {
public:
    RecordReader(ByteSource& source, bool swapped, std::vector<SlidePoint>& points)
        : source_(source), swapped_(swapped), points_(points) {}

    // Reads records up to the end record or the end of the file.
    void ReadAll() {
        std::uint16_t word = 0;
        while (Word(&word)) {
            const int kind = word >> 8;
            const int low = word & 0xFF;
            if (kind <= 0x7F) {
                std::uint16_t fromY = 0, toX = 0, toY = 0;
                if (!Word(&fromY) || !Word(&toX) || !Word(&toY)) return;
                const Point from{static_cast<std::int16_t>(word), static_cast<std::int16_t>(fromY)};
                Stroke(from, {static_cast<std::int16_t>(toX), static_cast<std::int16_t>(toY)});
                reference_ = from;
            } else if (kind == 0xFB) {
                std::int8_t offsets[3];
                if (!source_.Read(offsets, sizeof offsets)) return;
                const Point from = Relative(static_cast<std::int8_t>(low), offsets[0]);
                Stroke(from, Relative(offsets[1], offsets[2]));
                reference_ = from;
            } else if (kind == 0xFC) {
                if (low == 0) return;
                WarnOnce();
            } else if (kind == 0xFD) {
                std::uint16_t x = 0, y = 0;
                if (!Word(&x) || !Word(&y)) return;
                fillSinceStroke_ = true;
            } else if (kind == 0xFE) {
                std::int8_t dy = 0;
                if (!source_.Read(&dy, 1)) return;
                const Point to = Relative(static_cast<std::int8_t>(low), dy);
                Stroke(reference_, to);
                reference_ = to;
            } else if (kind == 0xFF) {
                color_ = static_cast<std::uint16_t>(low);
            }
            // 0x80 to 0xFA: no content of their own, ignored.
        }
    }

private:
    struct Point {
        std::int32_t x = 0;
        std::int32_t y = 0;
        friend bool operator==(const Point&, const Point&) = default;
    };

    bool Word(std::uint16_t* word) {
        unsigned char bytes[2];
        if (!source_.Read(bytes, 2)) return false;
        *word = swapped_ ? Swapped(LittleEndian16(bytes)) : LittleEndian16(bytes);
        return true;
    }

    Point Relative(int dx, int dy) const { return {Offset(reference_.x, dx), Offset(reference_.y, dy)}; }

    // A stroke starts with a move unless it continues the last one.
    void Stroke(const Point& from, const Point& to) {
        if (!lastEnd_ || !(*lastEnd_ == from) || fillSinceStroke_) points_.push_back({from.x, from.y, 0});
        points_.push_back({to.x, to.y, color_});
        lastEnd_ = to;
        fillSinceStroke_ = false;
    }

    // A damaged file may hold such words by the thousand: one box tells.
    void WarnOnce() {
        if (warned_) return;
        warned_ = true;
        qx::ShowAppMessage(qx::TranslateMessage("ENDOFSLD erreicht..."), MB_OK | MB_ICONSTOP);
    }

    ByteSource& source_;
    const bool swapped_;
    std::vector<SlidePoint>& points_;
    std::uint16_t color_ = 7;
    Point reference_;
    std::optional<Point> lastEnd_;
    bool fillSinceStroke_ = false;
    bool warned_ = false;
};

}  // namespace

bool qx::detail::ReadSlide(std::wstring_view path, const wchar_t* slideName, SlideContents* out) {
    ByteSource source(path);
    if (!source.IsOpen()) return false;
    if (slideName && !SeekToLibrarySlide(source, slideName)) return false;
    unsigned char header[kSlideHeaderSize];
    if (!source.Read(header, sizeof header) || !StartsWith(reinterpret_cast<const char*>(header), kSlideMark)) {
        return false;
    }
    const bool swapped = LittleEndian16(header + 29) != kNativeTestNumber;
    const auto word = [&](std::size_t at) {
        return swapped ? Swapped(LittleEndian16(header + at)) : LittleEndian16(header + at);
    };
    SlideContents contents;
    contents.maxX = word(19);
    contents.maxY = word(21);
    RecordReader(source, swapped, contents.points).ReadAll();
    *out = std::move(contents);
    return true;
}

bool qx::ReadSlideDirectory(const CString& library, std::vector<SlideEntry>* entries) {
    entries->clear();
    ByteSource source(library.str());
    std::vector<SlideEntry> found;
    const bool isLibrary = source.IsOpen() && VisitDirectory(source, [&](const SlideEntry& entry) {
                               found.push_back(entry);
                               return false;
                           });
    if (isLibrary) *entries = std::move(found);
    return isLibrary;
}
