#include "qx/platform/os/archive_reader.h"

#include "qx/platform/os/internal/archive_readers.h"

namespace qx {

std::unique_ptr<ArchiveReader> ArchiveReader::Open(std::wstring_view path, Kind kind) {
    return kind == Kind::Zip ? detail::OpenZipReader(path) : detail::OpenCabinetReader(path);
}

}  // namespace qx
