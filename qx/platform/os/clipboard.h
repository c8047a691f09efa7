// The clipboard, as the library's own process-wide store in memory: there is
// no window system to share it with yet. It keeps the Windows protocol the
// family's code follows (open, empty, set data per format, close) so that a
// system clipboard can take its place later without changing callers.
//
// Payloads are bytes; the family writes text as UTF-16LE with a terminating
// zero. Operations that fail set the last error (kErrorClipboardNotOpen,
// kErrorAccessDenied, kErrorInvalidParameter).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "qx/platform/base/export.h"

namespace qx {

// The id of the format named *name*: the same name (compared ignoring case)
// always gives the same id; new names get ids from 0xC000 upward. 0 for an
// empty name or when all 0x4000 ids are taken.
QX_API unsigned RegisterClipboardFormatName(std::wstring_view name);
// The name a format was registered with; "" for any other id.
QX_API std::wstring ClipboardFormatName(unsigned format);

// False (kErrorAccessDenied) when the clipboard is open already.
QX_API bool OpenClipboard();
QX_API bool CloseClipboard();
// Removes all data. Needs the clipboard open, as do the two below.
QX_API bool EmptyClipboard();
// Stores *bytes* under *format* (any id but 0), replacing earlier data of it.
QX_API bool SetClipboardData(unsigned format, std::string_view bytes);
QX_API std::optional<std::string> GetClipboardData(unsigned format);
// Whether data of *format* is there; works with the clipboard closed.
QX_API bool IsClipboardFormatAvailable(unsigned format);

// Forgets the data, the registered formats and the open state.
QX_API void ResetClipboardForTesting();

}  // namespace qx
