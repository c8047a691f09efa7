// The platform's "last error": the code of the most recent failure of an os
// layer function, numbered as Windows numbers it (ERROR_FILE_NOT_FOUND = 2,
// ...), because the family's code shows and compares these numbers.
//
// The value is per thread. Functions set it only when they fail; a success
// leaves the previous value in place, as on Windows.
#pragma once

#include "qx/platform/base/export.h"

namespace qx {

inline constexpr unsigned kErrorSuccess = 0;
inline constexpr unsigned kErrorFileNotFound = 2;
inline constexpr unsigned kErrorPathNotFound = 3;  // a folder on the way is missing
inline constexpr unsigned kErrorTooManyOpenFiles = 4;
inline constexpr unsigned kErrorAccessDenied = 5;
inline constexpr unsigned kErrorInvalidHandle = 6;
inline constexpr unsigned kErrorNotEnoughMemory = 8;
inline constexpr unsigned kErrorNotSameDevice = 17;
inline constexpr unsigned kErrorWriteProtect = 19;
inline constexpr unsigned kErrorGenFailure = 31;  // any failure without a closer code
inline constexpr unsigned kErrorSharingViolation = 32;
inline constexpr unsigned kErrorNotSupported = 50;
inline constexpr unsigned kErrorBadNetPath = 53;
inline constexpr unsigned kErrorFileExists = 80;  // creating a file that exists
inline constexpr unsigned kErrorInvalidParameter = 87;
inline constexpr unsigned kErrorDiskFull = 112;
inline constexpr unsigned kErrorInvalidName = 123;
inline constexpr unsigned kErrorDirNotEmpty = 145;
inline constexpr unsigned kErrorAlreadyExists = 183;  // a folder, or a rename target
inline constexpr unsigned kErrorFilenameExcedRange = 206;
inline constexpr unsigned kErrorFileTooLarge = 223;
inline constexpr unsigned kErrorIoDevice = 1117;
inline constexpr unsigned kErrorClipboardNotOpen = 1418;
inline constexpr unsigned kErrorCantResolveFilename = 1921;  // symbolic link loop

QX_API unsigned GetLastError();
QX_API void SetLastError(unsigned code);

// The code for an errno value, without looking at any path:
//
//   ENOENT                     => kErrorFileNotFound
//   ENOTDIR                    => kErrorPathNotFound
//   EACCES, EPERM, EISDIR      => kErrorAccessDenied
//   EEXIST                     => kErrorAlreadyExists
//   ENOTEMPTY                  => kErrorDirNotEmpty
//   ENOSPC, EDQUOT             => kErrorDiskFull
//   EFBIG                      => kErrorFileTooLarge
//   EROFS                      => kErrorWriteProtect
//   EBUSY, ETXTBSY             => kErrorSharingViolation
//   EINVAL                     => kErrorInvalidParameter
//   ENAMETOOLONG               => kErrorFilenameExcedRange
//   EMFILE, ENFILE             => kErrorTooManyOpenFiles
//   EXDEV                      => kErrorNotSameDevice
//   ENOMEM                     => kErrorNotEnoughMemory
//   EBADF                      => kErrorInvalidHandle
//   EIO                        => kErrorIoDevice
//   ELOOP                      => kErrorCantResolveFilename
//   ENOSYS, EOPNOTSUPP         => kErrorNotSupported
//   0                          => kErrorSuccess
//   anything else              => kErrorGenFailure
//
// The file functions refine ENOENT to kErrorPathNotFound when the folder that
// should hold the file is missing, as Windows reports it.
QX_API unsigned ErrorFromErrno(int errnoValue);

}  // namespace qx
