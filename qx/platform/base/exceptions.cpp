#include "qx/platform/base/exceptions.h"

#include <algorithm>
#include <cwchar>

#include "qx/platform/base/checked_length.h"
#include "qx/platform/base/format.h"

CException::~CException() = default;

bool CException::GetErrorMessage(wchar_t* buffer, unsigned maxChars) const {
    CString text = GetMessageText();
    if (buffer && maxChars > 0) {
        size_t n = std::min(static_cast<size_t>(text.GetLength()), static_cast<size_t>(maxChars) - 1);
        std::wmemcpy(buffer, text.GetString(), n);
        buffer[n] = L'\0';
    }
    return !text.IsEmpty();
}

CString CException::GetMessageText() const { return CString(); }

CSimpleException::~CSimpleException() = default;

CFileException::~CFileException() = default;

COleDispatchException::~COleDispatchException() = default;

CString CFileException::GetMessageText() const {
    static const wchar_t* const kCauses[] = {
        L"No error occurred.",
        L"An unspecified error occurred while accessing %s.",
        L"%s was not found.",
        L"%s contains an incorrect path.",
        L"%s could not be opened because there are too many open files.",
        L"Access to %s was denied.",
        L"An incorrect file handle was associated with %s.",
        L"%s could not be removed because it is the current directory.",
        L"%s could not be created because the directory is full.",
        L"Seek failed on %s.",
        L"A hardware I/O error was reported while accessing %s.",
        L"A sharing violation occurred while accessing %s.",
        L"A locking violation occurred while accessing %s.",
        L"Disk full while accessing %s.",
        L"An attempt was made to access %s past its end.",
    };
    int cause = (m_cause >= 0 && m_cause <= endOfFile) ? m_cause : genericException;
    CString name = m_strFileName.IsEmpty() ? CString(L"an unnamed file") : m_strFileName;
    return CString(qx::Format(kCauses[cause], name.GetString()));
}

int CFileException::OsErrorToException(long osError) {
    switch (osError) {
        case 0: return none;
        case 2: return fileNotFound;
        case 3: case 15: case 123: case 161: case 206: return badPath;
        case 4: return tooManyOpenFiles;
        case 5: case 19: case 80: case 183: return accessDenied;
        case 6: return invalidFile;
        case 16: return removeCurrentDir;
        case 18: return directoryFull;
        case 25: case 131: return badSeek;
        case 23: case 29: case 30: case 31: return hardIO;
        case 32: return sharingViolation;
        case 33: return lockViolation;
        case 38: return endOfFile;
        case 39: case 112: return diskFull;
        default: return genericException;
    }
}

namespace qx {

void ThrowLengthTooLarge() { throw CMemoryException(); }

}  // namespace qx
