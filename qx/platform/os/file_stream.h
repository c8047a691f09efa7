// Reading and replacing files piece by piece, for files too large to hold in
// memory at once (encoded data files of several gigabytes).
//
// A FileReplacer writes a temporary file beside its target and renames it
// over the target only on Commit, as WriteFileAtomically does for whole
// buffers: until then the target is untouched, and a replacer dropped without
// Commit removes its temporary file. So a file may also be rewritten from
// itself (reading the old content while writing the new).
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "qx/platform/base/export.h"

namespace qx {

namespace detail {
class NativeTemporary;
}

class QX_API FileReader {
public:
    // Null, with the last error set, when *path* cannot be opened for reading
    // or is a folder.
    static std::unique_ptr<FileReader> Open(std::wstring_view path);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Reads up to *size* bytes into *buffer*: the count read, 0 at the end,
    // nullopt (last error set) on a read error.
    std::optional<size_t> Read(char* buffer, size_t size);

private:
    explicit FileReader(int fd) : fd_(fd) {}
    int fd_;
};

class QX_API FileReplacer {
public:
    // Starts the replacement of *path* (which need not exist). Null, with the
    // last error set, when its folder cannot take a new file or *path* is a
    // folder or read-only. An existing file's permission bits are kept.
    static std::unique_ptr<FileReplacer> Create(std::wstring_view path);
    ~FileReplacer();
    FileReplacer(const FileReplacer&) = delete;
    FileReplacer& operator=(const FileReplacer&) = delete;

    bool Write(std::string_view bytes);
    // Flushes the new content and renames it over the target. Either way the
    // replacer is done: a failed commit removes the temporary file.
    bool Commit();

private:
    FileReplacer(std::unique_ptr<detail::NativeTemporary> temp, std::string target);
    std::unique_ptr<detail::NativeTemporary> temp_;  // null once committed
    std::string target_;                             // native path
};

}  // namespace qx
