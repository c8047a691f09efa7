// The library's temporary files, and what becomes of them when a process
// ends before it could remove them.
//
// Every file the library writes for a while and then renames or deletes (a
// whole-file replacement before it takes its target's name, a copy being
// extracted into the archive cache, a page file of a print job, a PDF being
// printed) is created in its folder under the name ".qx-<pid>-<n>.tmp": the
// writer's process id and a number the process never gives out twice.
//
// - While the process runs, each such file is listed in one process-wide
//   table. RemoveTemporaryFiles deletes what the table lists; it is meant
//   for a process that is being ended by a signal. The library installs no
//   signal handlers itself (it runs inside applications that have their own):
//   a program calls RemoveTemporaryFilesOnTermination once, or calls
//   RemoveTemporaryFiles from a handler of its own.
// - A process killed outright leaves its files behind. The first time a
//   process creates a temporary file in a folder, it first removes the
//   leftovers there: files of the user's own under that name whose writer is
//   gone. A writer is gone when its process id names no running process (or
//   names this process, which does not list the file) and no one holds the
//   file's lock: a writer keeps an exclusive flock on a temporary file while
//   it has it open, so a file that a writer on another machine or in another
//   process id namespace is still writing stays. When the process id has
//   been given to another process meanwhile, the file stays until that one
//   has ended as well.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "qx/platform/base/export.h"

namespace qx {

namespace detail {
class NativeTemporary;
}

// A temporary file kept by its owner until it is no longer needed (a page
// file of a print job): deleted when the object goes, and by
// RemoveTemporaryFiles while it exists.
class QX_API TemporaryFile {
public:
    // Creates a new temporary file in *folder* (a library path ending with a
    // backslash), readable and writable by the user alone, open for writing.
    // Null, with the last error set, when the folder cannot take a new file.
    static std::unique_ptr<TemporaryFile> Create(std::wstring_view folder);
    // Deletes the file.
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // The file as a library path.
    const std::wstring& Path() const { return path_; }
    bool Write(std::string_view bytes);
    // Closes the file; it stays on disk (and in the table) until the object
    // goes. Writing is over then.
    void Close();

private:
    TemporaryFile(std::unique_ptr<detail::NativeTemporary> file, std::wstring path);
    std::unique_ptr<detail::NativeTemporary> file_;
    std::wstring path_;
};

// Removes the leftovers of writers that are gone (see above) from *folder*
// (a library path) now, also when this process has looked there before.
// False, with the last error set, when the folder cannot be read.
QX_API bool SweepTemporaryFiles(std::wstring_view folder);

// Deletes every temporary file this process has, without closing or
// forgetting anything. Async-signal-safe: call it from a handler of a signal
// that ends the process, then end it. Writers that go on afterwards fail.
QX_API void RemoveTemporaryFiles() noexcept;

// Makes SIGHUP, SIGINT and SIGTERM remove the temporary files before they end
// the process as they would have (the process still dies by the signal, so
// its parent sees how it ended). Signals the program ignores or handles
// itself are left as they are. For programs without handlers of their own,
// such as qxtool; call it once, early.
QX_API void RemoveTemporaryFilesOnTermination();

}  // namespace qx
