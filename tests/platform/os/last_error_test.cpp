#include "qx/platform/os/last_error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <thread>

namespace qx {
namespace {

TEST(LastErrorTest, MapsErrnoToWindowsCodes) {
    struct Case {
        int err;
        unsigned code;
    };
    const Case cases[] = {
        {0, kErrorSuccess},
        {ENOENT, kErrorFileNotFound},
        {ENOTDIR, kErrorPathNotFound},
        {EACCES, kErrorAccessDenied},
        {EPERM, kErrorAccessDenied},
        {EISDIR, kErrorAccessDenied},
        {EEXIST, kErrorAlreadyExists},
        {ENOTEMPTY, kErrorDirNotEmpty},
        {ENOSPC, kErrorDiskFull},
        {EFBIG, kErrorFileTooLarge},
        {EROFS, kErrorWriteProtect},
        {EBUSY, kErrorSharingViolation},
        {EINVAL, kErrorInvalidParameter},
        {ENAMETOOLONG, kErrorFilenameExcedRange},
        {EMFILE, kErrorTooManyOpenFiles},
        {EXDEV, kErrorNotSameDevice},
        {ELOOP, kErrorCantResolveFilename},
        {EDOM, kErrorGenFailure},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.err);
        EXPECT_EQ(ErrorFromErrno(c.err), c.code);
    }
    EXPECT_EQ(kErrorFileNotFound, 2u);
    EXPECT_EQ(kErrorPathNotFound, 3u);
    EXPECT_EQ(kErrorAccessDenied, 5u);
    EXPECT_EQ(kErrorFileExists, 80u);
    EXPECT_EQ(kErrorAlreadyExists, 183u);
}

TEST(LastErrorTest, IsKeptPerThread) {
    SetLastError(kErrorAccessDenied);
    unsigned seenByOther = 1;
    std::thread other([&] {
        seenByOther = GetLastError();
        SetLastError(kErrorDiskFull);
    });
    other.join();
    EXPECT_EQ(seenByOther, kErrorSuccess);
    EXPECT_EQ(GetLastError(), kErrorAccessDenied);
}

}  // namespace
}  // namespace qx
