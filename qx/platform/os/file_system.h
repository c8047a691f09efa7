// Files and folders by library path (see native_path.h for the mapping).
//
// The functions are high level and absorb the common failures: each returns
// false, nullopt or an invalid value when it fails and then sets the
// platform's last error (last_error.h); none throws.
//
// Windows rules the family relies on hold here too: a file with the read-only
// attribute cannot be written, replaced or deleted (clear the attribute
// first), and a rename does not replace an existing file unless asked to.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "qx/platform/base/export.h"
#include "qx/platform/os/file_time.h"

namespace qx {

// Attribute bits, with the values of Windows. A folder has kFileAttributeDirectory,
// every other entry kFileAttributeArchive (the system keeps no archive flag,
// and files on Windows normally carry it); kFileAttributeNormal is never
// reported. Hidden means the name starts with '.'; read-only means the owner
// has no write permission.
inline constexpr unsigned kFileAttributeReadOnly = 0x1;
inline constexpr unsigned kFileAttributeHidden = 0x2;
inline constexpr unsigned kFileAttributeDirectory = 0x10;
inline constexpr unsigned kFileAttributeArchive = 0x20;
inline constexpr unsigned kFileAttributeNormal = 0x80;
inline constexpr unsigned kInvalidFileAttributes = 0xFFFFFFFF;

struct FileStatus {
    unsigned attributes = 0;
    std::uint64_t size = 0;  // 0 for a folder
    // The birth time where the file system records it, else the time of
    // the last status change.
    FileTime creationTime;
    FileTime lastAccessTime;
    FileTime lastWriteTime;
};

// What the file system knows of *path*, following symbolic links.
QX_API std::optional<FileStatus> GetFileStatus(std::wstring_view path);
// The attribute bits, or kInvalidFileAttributes.
QX_API unsigned FileAttributes(std::wstring_view path);
// Applies kFileAttributeReadOnly of *attributes* (the other bits cannot be
// set here and are ignored): set, it removes every write permission; clear,
// it gives the owner write permission. Files and folders only.
QX_API bool ChangeFileAttributes(std::wstring_view path, unsigned attributes);
QX_API std::optional<std::uint64_t> GetFileSize(std::wstring_view path);
// Sets the times that are given. The system cannot set a creation time, so
// *creation* is accepted and ignored.
QX_API bool SetFileTimes(std::wstring_view path, std::optional<FileTime> creation,
                         std::optional<FileTime> lastAccess, std::optional<FileTime> lastWrite);

// True for an existing entry that is not a folder.
QX_API bool FileExists(std::wstring_view path);
QX_API bool DirectoryExists(std::wstring_view path);
// True for an existing entry that is neither a regular file nor a folder: a
// device, a FIFO or a socket. The library reads and replaces regular files
// only, and refuses such entries with kErrorAccessDenied.
QX_API bool IsSpecialFile(std::wstring_view path);
// Whether the calling process may read or write *path*. A file with the
// read-only attribute is not writable, whoever asks.
QX_API bool IsReadable(std::wstring_view path);
QX_API bool IsWritable(std::wstring_view path);

// The whole content of a regular file (a FIFO or device is refused, never
// waited on).
QX_API std::optional<std::string> ReadWholeFile(std::wstring_view path);
// The same for a reader that gives way to writers: fails with
// kErrorSharingViolation while another open file holds *path* exclusively
// (a LockedAppendFile, the registry store, a program that keeps the file to
// itself), and with kErrorFileTooLarge for a file larger than *maxBytes*.
QX_API std::optional<std::string> ReadWholeFileShared(std::wstring_view path, std::uint64_t maxBytes);

// Replaces (or creates) *path* with *bytes* so that it holds either the old
// or the new content whatever happens: the bytes go to a temporary file in
// the same folder, which is flushed to disk and renamed over the target. A
// replaced file keeps its permission bits (and its owner where the process
// may set it); a symbolic link is followed and the file it names replaced,
// except a link that others may have planted (in a folder they may write,
// not the user's own). Only a regular file is replaced: a device, FIFO or
// socket at *path* fails with kErrorAccessDenied.
QX_API bool WriteFileAtomically(std::wstring_view path, std::string_view bytes);

// Creates one folder; fails with kErrorAlreadyExists when it exists.
QX_API bool MakeDirectory(std::wstring_view path);
// Creates the folder and every missing folder above it; true when it exists
// already.
QX_API bool CreateDirectories(std::wstring_view path);
// Deletes a file (not a folder).
QX_API bool RemoveFile(std::wstring_view path);
// Deletes an empty folder.
QX_API bool RemoveEmptyDirectory(std::wstring_view path);
// Renames or moves a file or folder. An existing target is an error
// (kErrorAlreadyExists) unless *replaceExisting*; a change of letter case
// only ("a.txt" to "A.TXT") renames the file. A file moves between file
// systems by copy and delete. A device, FIFO or socket is never replaced
// (kErrorAccessDenied).
QX_API bool RenameFile(std::wstring_view from, std::wstring_view to, bool replaceExisting = false);
// Copies a regular file with its permission bits and its access and write
// times; the target is replaced atomically, and refused, as by
// WriteFileAtomically. With *failIfExists* an existing target is an error
// (kErrorFileExists).
QX_API bool CopyFileAtomically(std::wstring_view from, std::wstring_view to, bool failIfExists);

// The folder for temporary files: $TMPDIR, else /tmp, as a library path that
// ends with a backslash.
QX_API std::wstring TempDirectory();
// The current folder as a library path, without a final backslash (except for
// a root).
QX_API std::wstring CurrentDirectory();

}  // namespace qx
