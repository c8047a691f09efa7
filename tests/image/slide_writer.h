// Builds slide files and slide libraries in memory, record by record, in
// either byte order, for the tests.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace qx::test {

enum class ByteOrder { kLittle, kBig };

class SlideWriter {
public:
    SlideWriter(int maxX, int maxY, ByteOrder order = ByteOrder::kLittle) : order_(order) {
        bytes_.append("AutoCAD Slide\r\n\x1a", 16);
        bytes_ += '\0';
        bytes_ += static_cast<char>(86);  // type
        bytes_ += static_cast<char>(2);   // level
        Word(maxX);
        Word(maxY);
        bytes_.append("\x55\x73\xcb\x00", 4);  // aspect ratio 4:3, always low byte first
        Word(2);                               // hardware fill
        Word(0x1234);                          // test number
    }

    SlideWriter& Vector(int fromX, int fromY, int toX, int toY) {
        return Word(fromX).Word(fromY).Word(toX).Word(toY);
    }
    // Offsets from the reference point.
    SlideWriter& OffsetVector(int fromDx, int fromDy, int toDx, int toDy) {
        return Word(0xFB00 | (fromDx & 0xFF)).Byte(fromDy).Byte(toDx).Byte(toDy);
    }
    SlideWriter& CommonEndpoint(int dx, int dy) { return Word(0xFE00 | (dx & 0xFF)).Byte(dy); }
    SlideWriter& SolidFill(int x, int y) { return Word(0xFD00).Word(x).Word(y); }
    SlideWriter& Color(int index) { return Word(0xFF00 | (index & 0xFF)); }
    SlideWriter& End() { return Word(0xFC00); }

    // A 16-bit word in the slide's byte order (a record word of its own).
    SlideWriter& Word(int value) {
        const char low = static_cast<char>(value & 0xFF);
        const char high = static_cast<char>((value >> 8) & 0xFF);
        if (order_ == ByteOrder::kLittle) {
            bytes_ += low;
            bytes_ += high;
        } else {
            bytes_ += high;
            bytes_ += low;
        }
        return *this;
    }
    SlideWriter& Byte(int value) {
        bytes_ += static_cast<char>(value & 0xFF);
        return *this;
    }

    const std::string& Bytes() const { return bytes_; }

private:
    ByteOrder order_;
    std::string bytes_;
};

inline void AppendLittleEndian32(std::string& bytes, std::uint32_t value) {
    for (int k = 0; k < 4; ++k) bytes += static_cast<char>((value >> (8 * k)) & 0xFF);
}

// A library of (name, slide bytes) in that order, its directory ended by an
// entry with an empty name unless *terminated* is false.
inline std::string SlideLibrary(const std::vector<std::pair<std::string, std::string>>& slides,
                                bool terminated = true) {
    std::string bytes("AutoCAD Slide Library 1.0\r\n\x1a", 28);
    bytes.append(4, '\0');
    const std::size_t entries = slides.size() + (terminated ? 1 : 0);
    std::uint32_t offset = static_cast<std::uint32_t>(bytes.size() + 36 * entries);
    for (const auto& [name, slide] : slides) {
        std::string field = name.substr(0, 31);
        field.resize(32, '\0');
        bytes += field;
        AppendLittleEndian32(bytes, offset);
        offset += static_cast<std::uint32_t>(slide.size());
    }
    if (terminated) bytes.append(36, '\0');
    for (const auto& entry : slides) bytes += entry.second;
    return bytes;
}

}  // namespace qx::test
