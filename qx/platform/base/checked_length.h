// Lengths and counts handed to the family's int- and unsigned-sized
// interfaces (CString lengths, text lengths of tree items). A value the type
// cannot hold raises CMemoryException, the framework's answer to a text too
// large to hold, instead of being cut to a smaller one that a caller would
// size its buffer by.
#pragma once

#include <cstddef>
#include <limits>

#include "qx/platform/base/exceptions.h"

namespace qx {

template <typename Count>
Count CheckedLength(size_t length) {
    if (length > static_cast<size_t>(std::numeric_limits<Count>::max())) throw CMemoryException();
    return static_cast<Count>(length);
}

}  // namespace qx
