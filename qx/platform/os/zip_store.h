// Zip archives held in memory: the members of an archive's bytes, and an
// archive made of members. Language modules use it as their container.
//
// Reading treats the bytes as hostile: an archive that is damaged, holds a
// member that fails its check sum, or would unpack to more than the limits
// below is refused as a whole rather than read in part.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/base/export.h"

namespace qx {

struct ZipMember {
    std::string name;  // as stored (UTF-8 by convention), '/' between folders
    std::string data;
};

inline constexpr std::size_t kZipMaxMembers = 65536;
inline constexpr std::size_t kZipMaxUnpackedBytes = 256u << 20;  // all members together

// What reading may unpack; an archive beyond any of them is refused.
struct ZipLimits {
    std::size_t members = kZipMaxMembers;
    std::size_t totalBytes = kZipMaxUnpackedBytes;  // all members together
    std::size_t memberBytes = kZipMaxUnpackedBytes;  // any one member
};

// The members of archive *bytes* in their stored order, folders left out;
// nullopt when the bytes are not a readable archive within the limits.
QX_API std::optional<std::vector<ZipMember>> ReadZipMembers(std::string_view bytes, const ZipLimits& limits = {});

// An archive of *members*, deflated at zlib's *level* (1 fastest to 9
// smallest, -1 its default); nullopt when the zip writer fails.
QX_API std::optional<std::string> WriteZipMembers(const std::vector<ZipMember>& members, int level = -1);

}  // namespace qx
