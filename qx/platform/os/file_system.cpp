#include "qx/platform/os/file_system.h"

namespace qx {

unsigned FileAttributes(std::wstring_view path) {
    const auto status = GetFileStatus(path);
    return status ? status->attributes : kInvalidFileAttributes;
}

std::optional<std::uint64_t> GetFileSize(std::wstring_view path) {
    const auto status = GetFileStatus(path);
    if (!status) return std::nullopt;
    return status->size;
}

bool FileExists(std::wstring_view path) {
    const auto status = GetFileStatus(path);
    return status && !(status->attributes & kFileAttributeDirectory);
}

bool DirectoryExists(std::wstring_view path) {
    const auto status = GetFileStatus(path);
    return status && (status->attributes & kFileAttributeDirectory);
}

}  // namespace qx
