// Reading the two archive forms the family ships data folders in: zip
// archives and cabinets. A reader lists the members once when it opens and
// copies one member at a time to a sink.
//
// Archives are hostile input: a member's data is checked against what the
// archive says of it (size, and the checksums the form carries), and a
// member that does not match fails instead of delivering a wrong file.
// Member names are delivered as stored; deciding whether a name is safe to
// use as a file name is the caller's business.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/base/export.h"

namespace qx {

struct ArchiveMember {
    std::wstring name;          // as stored, folder parts included
    std::uint16_t dosDate = 0;  // packed DOS date and time, local time
    std::uint16_t dosTime = 0;
    unsigned attributes = 0;    // the Windows attribute bits stored with it
    std::uint64_t size = 0;     // what the archive says the data holds
    // False for a zip member stored with the 64-bit sizes of the zip64 form
    // (as members of 4 GiB and more are): it is listed with its size, but
    // the zip reader beneath cannot read those sizes, so Extract refuses it
    // before reading any of its data.
    bool extractable = true;
};

// Receives a member's data piece by piece; false stops the copy.
using ArchiveSink = std::function<bool(std::string_view bytes)>;

class QX_API ArchiveReader {
public:
    enum class Kind { Zip, Cabinet };

    // Opens the archive at library path *path* and lists its members; null
    // when it cannot be read, is not an archive of that kind, or its list of
    // members cannot be read whole (a zip whose end record or central
    // directory is cut or damaged).
    static std::unique_ptr<ArchiveReader> Open(std::wstring_view path, Kind kind);
    virtual ~ArchiveReader() = default;

    virtual const std::vector<ArchiveMember>& Members() const = 0;
    // Copies member *index* to *sink*. False when the data is damaged or
    // truncated, holds more or fewer bytes than the archive says, fails its
    // checksum, or the sink refuses; the sink may then have seen part of it.
    virtual bool Extract(size_t index, const ArchiveSink& sink) = 0;
};

// Zip members are read and handed on in pieces of this size.
inline constexpr size_t kArchiveChunkSize = 20480;

}  // namespace qx
