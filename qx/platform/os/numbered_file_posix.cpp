#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "qx/platform/os/internal/fd_io.h"
#include "qx/platform/os/internal/errno_error.h"
#include "qx/platform/os/native_path.h"
#include "qx/platform/os/numbered_file.h"

namespace qx {

std::unique_ptr<NumberedFile> NumberedFile::Create(std::wstring_view folder, std::wstring_view prefix,
                                                   std::wstring_view suffix, std::uint64_t& number) {
    const auto nativeFolder = ToNativePath(folder);
    if (!nativeFolder) return nullptr;
    // Every attempt either claims a name or finds an entry that already has
    // it, so the loop ends after at most as many attempts as the folder has
    // entries.
    for (;;) {
        std::wstring name(prefix);
        name += std::to_wstring(number);
        name += suffix;
        const auto nativeName = ToNativePath(name, false);
        if (!nativeName) return nullptr;
        std::string native = *nativeFolder;
        if (!native.empty() && native.back() != '/') native += '/';
        native += *nativeName;
        const int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd >= 0) {
            ++number;
            std::wstring path(folder);
            path += name;
            return std::unique_ptr<NumberedFile>(new NumberedFile(fd, std::move(path)));
        }
        if (errno != EEXIST) {
            detail::FailWithErrno(errno, native);
            return nullptr;
        }
        ++number;
    }
}

NumberedFile::~NumberedFile() { ::close(fd_); }

bool NumberedFile::Write(std::string_view bytes) {
    return detail::WriteAll(fd_, bytes) || detail::FailWithErrno(errno, "");
}

}  // namespace qx
