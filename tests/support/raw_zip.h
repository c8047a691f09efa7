// Zip archives put together byte by byte, for headers no zip writer makes:
// member names with control characters, and zip64 sizes claiming far more
// than the archive holds.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qx::test {

struct RawZipMember {
    std::string name;  // UTF-8, as the headers' flag says
    std::string data;  // stored as it is, no compression
    std::uint32_t crc = 0;
    // The sizes the headers give in a zip64 extra field (their 32-bit fields
    // then hold 0xFFFFFFFF); without it the real size in the 32-bit fields.
    std::optional<std::uint64_t> zip64Size;
};

inline void PutLittleEndian(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Local headers and data, the central directory, the end record.
inline std::string RawZip(const std::vector<RawZipMember>& members) {
    std::string body, directory;
    for (const RawZipMember& m : members) {
        std::string extra;
        if (m.zip64Size) {
            PutLittleEndian(extra, 0x0001, 2);
            PutLittleEndian(extra, 16, 2);
            PutLittleEndian(extra, *m.zip64Size, 8);  // uncompressed
            PutLittleEndian(extra, *m.zip64Size, 8);  // compressed: stored
        }
        const std::uint64_t size32 = m.zip64Size ? 0xFFFFFFFFu : m.data.size();
        // Version, flags, method (stored), time and date, CRC, sizes.
        auto common = [&](std::string& out) {
            PutLittleEndian(out, m.zip64Size ? 45 : 20, 2);
            PutLittleEndian(out, 0x800, 2);  // the name is UTF-8
            PutLittleEndian(out, 0, 2);
            PutLittleEndian(out, (10 << 11) | (20 << 5), 2);
            PutLittleEndian(out, ((2020 - 1980) << 9) | (6 << 5) | 15, 2);
            PutLittleEndian(out, m.crc, 4);
            PutLittleEndian(out, size32, 4);
            PutLittleEndian(out, size32, 4);
            PutLittleEndian(out, m.name.size(), 2);
            PutLittleEndian(out, extra.size(), 2);
        };
        const std::uint64_t offset = body.size();
        PutLittleEndian(body, 0x04034b50, 4);
        common(body);
        body += m.name + extra + m.data;

        PutLittleEndian(directory, 0x02014b50, 4);
        PutLittleEndian(directory, 45, 2);  // made by
        common(directory);
        PutLittleEndian(directory, 0, 2);     // comment length
        PutLittleEndian(directory, 0, 2);     // disk
        PutLittleEndian(directory, 0, 2);     // internal attributes
        PutLittleEndian(directory, 0x20, 4);  // external attributes: archive
        PutLittleEndian(directory, offset, 4);
        directory += m.name + extra;
    }
    std::string zip = body + directory;
    PutLittleEndian(zip, 0x06054b50, 4);
    PutLittleEndian(zip, 0, 4);  // disks
    PutLittleEndian(zip, members.size(), 2);
    PutLittleEndian(zip, members.size(), 2);
    PutLittleEndian(zip, directory.size(), 4);
    PutLittleEndian(zip, body.size(), 4);
    PutLittleEndian(zip, 0, 2);  // comment length
    return zip;
}

}  // namespace qx::test
