// Lengths and counts handed to the family's int- and unsigned-sized
// interfaces (CString lengths, array and map counts, text lengths of tree
// items, lengths handed to Cairo and Pango). A value the type cannot hold
// raises CMemoryException, the framework's answer to a text too large to
// hold, instead of being cut to a smaller one that a caller would size its
// buffer by.
#pragma once

#include <cstddef>
#include <limits>

#include "qx/platform/base/export.h"

namespace qx {

// Throws CMemoryException. Out of line so that this header, which CString
// itself includes, does not need the exception classes that are built on
// CString.
[[noreturn]] QX_API void ThrowLengthTooLarge();

template <typename Count>
Count CheckedLength(size_t length) {
    if (length > static_cast<size_t>(std::numeric_limits<Count>::max())) ThrowLengthTooLarge();
    return static_cast<Count>(length);
}

}  // namespace qx
