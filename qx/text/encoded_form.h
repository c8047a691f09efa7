// The encoded form of the family's files: every byte of the file, a byte
// order mark included, is stored increased by one fixed offset (modulo 256).
// Tree files, text files and the encoded data files all use this one offset.
#pragma once

#include <string>

#include "qx/platform/base/export.h"

namespace qx {

inline constexpr unsigned char kEncodingOffset = 0x2A;

// Adds the offset to every byte.
QX_API void EncodeBytes(std::string& bytes);
// Subtracts the offset from every byte from *from* on.
QX_API void DecodeBytes(std::string& bytes, size_t from = 0);

}  // namespace qx
