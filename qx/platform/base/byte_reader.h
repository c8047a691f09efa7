// Numbers and byte ranges read out of a file held in memory, at offsets the
// file itself gives. Nothing is ever read past the end: a caller first asks
// whether a range is there (the answer picks its error), and a number asked
// for outside the bytes reads as 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace qx {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes, bool bigEndian = false)
        : bytes_(bytes), bigEndian_(bigEndian) {}

    std::size_t size() const { return bytes_.size(); }
    bool bigEndian() const { return bigEndian_; }

    // Whether count bytes from offset lie inside (no overflow for any values).
    bool Contains(std::uint64_t offset, std::uint64_t count) const {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }

    // The count bytes from offset, or an empty span when they are not all there.
    std::span<const std::uint8_t> Bytes(std::uint64_t offset, std::uint64_t count) const {
        if (!Contains(offset, count)) return {};
        return bytes_.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(count));
    }

    // The bytes from offset to the end (empty past the end).
    std::span<const std::uint8_t> Rest(std::uint64_t offset) const {
        if (offset >= bytes_.size()) return {};
        return bytes_.subspan(static_cast<std::size_t>(offset));
    }

    std::uint8_t U8(std::uint64_t offset) const {
        return offset < bytes_.size() ? bytes_[static_cast<std::size_t>(offset)] : 0;
    }
    std::uint16_t U16(std::uint64_t offset) const { return static_cast<std::uint16_t>(Number(offset, 2)); }
    std::uint32_t U32(std::uint64_t offset) const { return Number(offset, 4); }
    std::int16_t S16(std::uint64_t offset) const { return static_cast<std::int16_t>(U16(offset)); }
    std::int32_t S32(std::uint64_t offset) const { return static_cast<std::int32_t>(U32(offset)); }

private:
    std::uint32_t Number(std::uint64_t offset, int width) const {
        if (!Contains(offset, static_cast<std::uint64_t>(width))) return 0;
        const std::uint8_t* p = bytes_.data() + offset;
        std::uint32_t value = 0;
        for (int k = 0; k < width; ++k) {
            const int shift = bigEndian_ ? 8 * (width - 1 - k) : 8 * k;
            value |= static_cast<std::uint32_t>(p[k]) << shift;
        }
        return value;
    }

    std::span<const std::uint8_t> bytes_;
    bool bigEndian_;
};

}  // namespace qx
