#include "qx/platform/sheet/internal/last_error_text.h"

#include "qx/platform/os/last_error.h"

namespace qx::sheet::detail {

std::string LastErrorText() {
    switch (const unsigned code = GetLastError()) {
        case kErrorFileNotFound: return "the file does not exist";
        case kErrorPathNotFound: return "its folder does not exist";
        case kErrorAccessDenied: return "access is denied";
        case kErrorSharingViolation: return "another program is using it";
        case kErrorDiskFull: return "the disk is full";
        case kErrorWriteProtect: return "the medium is write-protected";
        case kErrorInvalidName: return "the name is not valid";
        case kErrorFileTooLarge: return "the file is too large";
        case kErrorNotEnoughMemory: return "there is not enough memory";
        default: return "system error " + std::to_string(code);
    }
}

}  // namespace qx::sheet::detail
