// Files named by a caller: opening them only when they are regular files,
// and telling entries that someone else may have planted. Internal to the os
// layer: only its *_posix.cpp files (and the readers that open through
// stdio) call these.
//
// Reading a FIFO waits for a writer, a terminal for a line, a device for
// whatever it delivers: a name that leads to one of them must fail at once
// rather than block the caller forever. So the file is opened without
// waiting (O_NONBLOCK), looked at, and given back only when it is a regular
// file, in blocking mode again.
#pragma once

#include <cstdio>
#include <string>

struct stat;

namespace qx::detail {

// Opens *name* (relative to folder descriptor *folder*, or AT_FDCWD) with
// *flags* (O_RDONLY, O_WRONLY | O_APPEND, ...; not O_CREAT) and close-on-exec.
// The descriptor, with *status* filled in when given; -1 with errno set when
// the open fails, and with EISDIR for a folder or EACCES for anything else
// that is not a regular file.
int OpenRegularFile(int folder, const char* name, int flags, struct ::stat* status = nullptr);

// The same for reading through stdio, for the libraries that read so; null
// with errno and the last error set.
std::FILE* OpenRegularFileStream(const std::string& nativePath);

// True when *entry* lies in *folder*, a folder that others may write (its
// group or everyone), and is not plainly the user's own: it belongs to
// someone else, or it is one of several links to its file. Whoever put such
// an entry there may have meant to redirect what the user writes.
bool MayBePlanted(const struct ::stat& entry, const struct ::stat& folder);

}  // namespace qx::detail
