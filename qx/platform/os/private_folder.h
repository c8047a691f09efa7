// A folder that belongs to the current user alone, for the copies the library
// makes on the user's behalf (the archive cache in the temporary folder).
//
// On a temporary folder that all users share, anyone may create an entry of
// the expected name first, as a folder of their own or as a symbolic link to
// a place of their choosing. So the folder is created for the user alone
// (mode 0700), an existing one is used only when it is a real folder of the
// same user, and every path below it is walked component by component
// without following symbolic links: nothing written through this class can
// land outside the folder.
//
// Paths below the folder are relative library paths ("share\\data\\a.txt"):
// parts separated by backslashes, none of them empty, "." or "..". A path
// that breaks this rule fails with kErrorInvalidName.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/base/export.h"
#include "qx/platform/os/file_time.h"

namespace qx {

class PrivateFileWriter;
namespace detail {
class NativeTemporary;
}

class QX_API PrivateFolder {
public:
    // Opens folder *path*, creating it when it is missing (its parent must
    // exist). Null, with the last error set, when it is a symbolic link or
    // no folder (kErrorAccessDenied), belongs to another user
    // (kErrorAccessDenied) or cannot be created. A folder of the user that
    // others may enter is made private first.
    static std::unique_ptr<PrivateFolder> Open(std::wstring_view path);
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    // True for a regular file the user may read.
    bool IsFile(std::wstring_view relative) const;
    // Creates the folder *relative* and the missing ones above it (mode
    // 0700), appending each one created to *created* (top first).
    bool CreateFolders(std::wstring_view relative, std::vector<std::wstring>* created = nullptr);
    // Starts file *relative* in an existing folder. It is written under a
    // temporary name beside it and takes its own name (replacing whatever
    // entry had it) only when the writer commits it, so that no one, this
    // process after a crash included, ever finds a partial file there.
    std::unique_ptr<PrivateFileWriter> CreateFile(std::wstring_view relative);
    bool RemoveFile(std::wstring_view relative);
    // Removes folder *relative* when it is empty.
    bool RemoveEmptyFolder(std::wstring_view relative);

    // Deletes folder *path* with everything in it, without following
    // symbolic links inside it; a *path* that is a link or a folder of
    // another user is left alone (false). True when nothing is left.
    static bool RemoveTree(std::wstring_view path);

private:
    explicit PrivateFolder(int fd) : fd_(fd) {}
    int fd_;
};

// Writes one new file below a PrivateFolder. The temporary file is removed
// again when the writer goes without Commit, so a failed copy leaves nothing
// behind.
class QX_API PrivateFileWriter {
public:
    ~PrivateFileWriter();
    PrivateFileWriter(const PrivateFileWriter&) = delete;
    PrivateFileWriter& operator=(const PrivateFileWriter&) = delete;

    bool Write(std::string_view bytes);
    // Sets the given times, closes the file and gives it its name. False
    // (and the file is removed) when a time cannot be set or a step fails;
    // either way the writer is done.
    bool Commit(std::optional<FileTime> lastAccess, std::optional<FileTime> lastWrite);

private:
    friend class PrivateFolder;
    PrivateFileWriter(int folderFd, std::string name, std::unique_ptr<detail::NativeTemporary> temp);
    int folderFd_;
    std::string name_;                               // native name in the folder
    std::unique_ptr<detail::NativeTemporary> temp_;  // null once committed
};

}  // namespace qx
