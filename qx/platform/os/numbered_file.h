// A new file under a numbered name that no other entry has, for scratch files
// in a shared folder (the print engine's page files).
//
// The name is claimed by exclusive creation, so two writers (in this process
// or another) never share a file, and a name that is taken is skipped rather
// than replaced. Numbers are 64-bit: a job never runs out of them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "qx/platform/base/export.h"

namespace qx {

class QX_API NumberedFile {
public:
    // Creates *folder* + *prefix* + n + *suffix* for the first n from
    // *number* on whose name is free (folder ends with a backslash), readable
    // and writable by the user alone, and opens it for writing; *number*
    // becomes n + 1. Null, with the last error set, when the folder cannot
    // take a new file.
    static std::unique_ptr<NumberedFile> Create(std::wstring_view folder, std::wstring_view prefix,
                                                std::wstring_view suffix, std::uint64_t& number);
    // Closes the file; it stays on disk.
    ~NumberedFile();
    NumberedFile(const NumberedFile&) = delete;
    NumberedFile& operator=(const NumberedFile&) = delete;

    // The file as a library path.
    const std::wstring& Path() const { return path_; }
    bool Write(std::string_view bytes);

private:
    NumberedFile(int fd, std::wstring path) : fd_(fd), path_(std::move(path)) {}
    int fd_;
    std::wstring path_;
};

}  // namespace qx
