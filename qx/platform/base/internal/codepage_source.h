// Where the 8-bit code page tables come from: the platform's own converter
// (iconv on POSIX), asked once per code page when its table is first built.
#pragma once

#include <array>

namespace qx::detail {

// Marks a byte that the code page leaves undefined.
inline constexpr char32_t kUndefinedByte = 0xFFFFFFFF;

// The characters of bytes 0x80-0xFF of the 8-bit code page *cp* (every
// supported page agrees with ASCII below). False, with *highHalf* untouched,
// when the platform has no converter for the page.
bool LoadCodePageHighHalf(unsigned cp, std::array<char32_t, 128>& highHalf);

}  // namespace qx::detail
