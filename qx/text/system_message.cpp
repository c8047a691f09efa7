#include "qx/text/system_message.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "qx/platform/base/format.h"
#include "qx/platform/os/last_error.h"
#include "qx/platform/wnd/message_box.h"

namespace {

struct SystemText {
    unsigned long code;
    const wchar_t* text;
};

// The codes the os layer reports, sorted by code.
constexpr SystemText kSystemTexts[] = {
    {qx::kErrorSuccess, L"The operation completed successfully."},
    {qx::kErrorFileNotFound, L"The system cannot find the file specified."},
    {qx::kErrorPathNotFound, L"The system cannot find the path specified."},
    {qx::kErrorTooManyOpenFiles, L"The system cannot open the file."},
    {qx::kErrorAccessDenied, L"Access is denied."},
    {qx::kErrorInvalidHandle, L"The handle is invalid."},
    {qx::kErrorNotEnoughMemory, L"Not enough memory resources are available to process this command."},
    {qx::kErrorNotSameDevice, L"The system cannot move the file to a different disk drive."},
    {qx::kErrorWriteProtect, L"The media is write protected."},
    {qx::kErrorGenFailure, L"A device attached to the system is not functioning."},
    {qx::kErrorSharingViolation, L"The process cannot access the file because it is being used by another process."},
    {qx::kErrorNotSupported, L"The request is not supported."},
    {qx::kErrorBadNetPath, L"The network path was not found."},
    {qx::kErrorFileExists, L"The file exists."},
    {qx::kErrorInvalidParameter, L"The parameter is incorrect."},
    {qx::kErrorDiskFull, L"There is not enough space on the disk."},
    {qx::kErrorInvalidName, L"The filename, directory name, or volume label syntax is incorrect."},
    {qx::kErrorDirNotEmpty, L"The directory is not empty."},
    {qx::kErrorAlreadyExists, L"Cannot create a file when that file already exists."},
    {qx::kErrorFilenameExcedRange, L"The filename or extension is too long."},
    {qx::kErrorFileTooLarge, L"The file size exceeds the limit allowed and cannot be saved."},
    {qx::kErrorIoDevice, L"The request could not be performed because of an I/O device error."},
    {qx::kErrorClipboardNotOpen, L"Thread does not have a clipboard open."},
    {qx::kErrorCantResolveFilename, L"The name of the file cannot be resolved by the system."},
};

static_assert(std::is_sorted(std::begin(kSystemTexts), std::end(kSystemTexts),
                             [](const SystemText& a, const SystemText& b) { return a.code < b.code; }));

// The framework shows at most this many characters of an exception's message.
constexpr unsigned kMaxExceptionMessage = 128;

}  // namespace

CString FormatMessageW(unsigned long code) {
    auto it = std::lower_bound(std::begin(kSystemTexts), std::end(kSystemTexts), code,
                               [](const SystemText& entry, unsigned long c) { return entry.code < c; });
    if (it == std::end(kSystemTexts) || it->code != code) return CString();
    return CString(it->text);
}

void ReportException(CSimpleException* e, const char* file, int line) {
    std::array<wchar_t, kMaxExceptionMessage + 1> message{};
    if (e) e->GetErrorMessage(message.data(), static_cast<unsigned>(message.size()));
    CString fileName(file ? file : "");
    std::wstring text = qx::Format(L"Error: %s\nFile: %s\nLine: %u", message.data(), fileName.GetString(),
                                   static_cast<unsigned>(line));
    qx::ShowAppMessage(text.c_str(), MB_ICONERROR);
}
