// The framework exceptions the family's code catches: CException and its
// simple, file, invalid-argument, memory and automation kinds. Thrown by
// value, caught by reference (or pointer-free: the family's "e->Delete()" has
// no counterpart).
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

class QX_API CException {
public:
    virtual ~CException();
    // The message, at most *maxChars* - 1 characters with a terminating zero
    // (nothing when *maxChars* is 0); false when the exception has none.
    virtual bool GetErrorMessage(wchar_t* buffer, unsigned maxChars) const;
    // The message as a string ("" when there is none).
    virtual CString GetMessageText() const;
};

class QX_API CSimpleException : public CException {
public:
    explicit CSimpleException(const wchar_t* message = nullptr) : m_message(message) {}
    ~CSimpleException() override;
    CString GetMessageText() const override { return m_message; }

protected:
    CString m_message;
};

class QX_API CInvalidArgException : public CSimpleException {
public:
    CInvalidArgException() : CSimpleException(L"Invalid argument.") {}
};

class QX_API CMemoryException : public CSimpleException {
public:
    CMemoryException() : CSimpleException(L"Out of memory.") {}
};

// A failed file operation: *m_cause* in the framework's numbering, the
// platform's last error and the file's name.
class QX_API CFileException : public CException {
public:
    enum Cause {
        none = 0,
        genericException = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14,
    };

    CFileException(int cause = none, long osError = -1, const wchar_t* fileName = nullptr)
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}
    ~CFileException() override;
    CString GetMessageText() const override;

    // The framework's cause for a platform error number (Windows numbering).
    static int OsErrorToException(long osError);

    int m_cause;
    long m_lOsError;
    CString m_strFileName;
};

// An automation call that failed: the automated application's description
// of the fault, its status code and where it came from.
class QX_API COleDispatchException : public CException {
public:
    explicit COleDispatchException(const wchar_t* description, unsigned helpContext = 0, unsigned short code = 0)
        : m_wCode(code), m_strDescription(description), m_dwHelpContext(helpContext) {}
    ~COleDispatchException() override;
    CString GetMessageText() const override { return m_strDescription; }

    unsigned short m_wCode;
    long m_scError = 0;
    CString m_strSource;
    CString m_strDescription;
    CString m_strHelpFile;
    unsigned m_dwHelpContext;
};
