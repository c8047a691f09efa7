#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "qx/platform/os/internal/errno_error.h"
#include "qx/platform/os/internal/native_entries.h"
#include "qx/platform/os/last_error.h"

namespace qx {

unsigned ErrorFromErrno(int errnoValue) {
    switch (errnoValue) {
    case 0: return kErrorSuccess;
    case ENOENT: return kErrorFileNotFound;
    case ENOTDIR: return kErrorPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR: return kErrorAccessDenied;
    case EEXIST: return kErrorAlreadyExists;
    case ENOTEMPTY: return kErrorDirNotEmpty;
    case ENOSPC:
    case EDQUOT: return kErrorDiskFull;
    case EFBIG: return kErrorFileTooLarge;
    case EROFS: return kErrorWriteProtect;
    case EBUSY:
    case ETXTBSY: return kErrorSharingViolation;
    case EINVAL: return kErrorInvalidParameter;
    case ENAMETOOLONG: return kErrorFilenameExcedRange;
    case EMFILE:
    case ENFILE: return kErrorTooManyOpenFiles;
    case EXDEV: return kErrorNotSameDevice;
    case ENOMEM: return kErrorNotEnoughMemory;
    case EBADF: return kErrorInvalidHandle;
    case EIO: return kErrorIoDevice;
    case ELOOP: return kErrorCantResolveFilename;
    case ENOSYS:
    case EOPNOTSUPP: return kErrorNotSupported;
    default: return kErrorGenFailure;
    }
}

namespace detail {

namespace {

bool ParentFolderExists(std::string_view nativePath) {
    struct stat st {};
    return ::stat(NativeParentFolder(nativePath).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

bool FailWithErrno(int err, std::string_view nativePath) {
    unsigned code = ErrorFromErrno(err);
    if (err == ENOENT && !ParentFolderExists(nativePath)) code = kErrorPathNotFound;
    SetLastError(code);
    return false;
}

bool FailWith(unsigned code) {
    SetLastError(code);
    return false;
}

}  // namespace detail
}  // namespace qx
