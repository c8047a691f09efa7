// The os layer's side of the temporary files (see temporary_files.h):
// creating one in a folder under the common name, locked and listed in the
// process's table. Internal to the os layer: only its *_posix.cpp files use
// it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace qx::detail {

class NativeTemporary {
public:
    // Creates a new temporary file in native folder *folder* with permission
    // bits *mode* (less the umask), open for writing and locked, after
    // removing the leftovers of writers that are gone when this process has
    // not created one there before. Null, with errno set, on failure.
    static std::unique_ptr<NativeTemporary> CreateIn(const std::string& folder, unsigned mode);
    // The same in the folder open as *folderFd*, which must stay open as long
    // as this object has the file.
    static std::unique_ptr<NativeTemporary> CreateAt(int folderFd, unsigned mode);
    // Deletes the file unless it was released, and closes it.
    ~NativeTemporary();
    NativeTemporary(const NativeTemporary&) = delete;
    NativeTemporary& operator=(const NativeTemporary&) = delete;

    // The open file; -1 once it is closed.
    int Fd() const { return fd_; }
    // The file's name in its folder.
    const std::string& Name() const { return name_; }
    // An absolute native path of the file (CreateIn only).
    const std::string& Path() const { return path_; }

    // Closes the file; it stays until the object goes, and its writer's
    // process id alone tells that it is still in use.
    void Close();
    // The file has been renamed into place: closes it and forgets it, so
    // that nothing deletes it.
    void Release();

private:
    NativeTemporary(int folderFd, int fd, std::uint64_t number, std::string name, std::string path)
        : folderFd_(folderFd), fd_(fd), number_(number), name_(std::move(name)), path_(std::move(path)) {}
    static std::unique_ptr<NativeTemporary> Create(int folderFd, std::string folder, unsigned mode);

    int folderFd_;  // AT_FDCWD for a file made by CreateIn
    int fd_;
    std::uint64_t number_;  // the n of its name
    bool released_ = false;
    std::string name_;
    std::string path_;
};

// The table of the process's temporary files that RemoveTemporaryFiles
// empties. A file is listed by the number of its name, and is found as
// *path* relative to *folderFd* (AT_FDCWD for an absolute path), which must
// stay valid until it is unlisted.
void ListTemporary(std::uint64_t number, int folderFd, std::string path);
void UnlistTemporary(std::uint64_t number);
bool IsListedTemporary(std::uint64_t number);

}  // namespace qx::detail
