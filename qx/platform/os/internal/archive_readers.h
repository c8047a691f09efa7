// The two forms behind ArchiveReader::Open.
#pragma once

#include <memory>
#include <string_view>

#include "qx/platform/os/archive_reader.h"

namespace qx::detail {

std::unique_ptr<ArchiveReader> OpenZipReader(std::wstring_view path);
std::unique_ptr<ArchiveReader> OpenCabinetReader(std::wstring_view path);

}  // namespace qx::detail
