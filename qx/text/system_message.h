// System and exception messages as the family shows them.
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/exceptions.h"
#include "qx/platform/base/export.h"

// The system's text for error *code* (Windows numbering, as the os layer
// reports it in qx/platform/os/last_error.h), in English as Windows words
// it, without a line end: 2 gives "The system cannot find the file
// specified.". "" for a code the library has no text for.
QX_API CString FormatMessageW(unsigned long code);

// Shows the exception in a message box with the error icon, captioned with
// the application's title:
//
//   Error: <the exception's message, at most 128 characters>
//   File: <file>
//   Line: <line>
//
// *file* is 8-bit text in the default code page, as __FILE__ gives it. A
// null exception or file counts as an empty message or name.
QX_API void ReportException(CSimpleException* e, const char* file, int line);
