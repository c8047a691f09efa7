// Whole layout files turned into their scrambled form (".prx") and back.
//
// The source is read as layout files are (a byte-order mark decides, else
// code page 1252). The result is written in code page 1252 when every one of
// its characters reads back the same from that page, else as UTF-16LE with a
// byte-order mark; lines end in CR LF.
#pragma once

#include <string>

#include "qx/platform/base/export.h"

namespace qx {

enum class ScrambleDirection { kScramble, kUnscramble };

// Writes every line of *from*, scrambled or unscrambled, to *to* (replaced
// atomically). False, with *problem* saying why, when *from* cannot be read,
// a line would come out holding a line end or a zero character (which no
// line can carry), or *to* cannot be written.
QX_API bool ConvertLayoutFile(const std::wstring& from, const std::wstring& to, ScrambleDirection direction,
                              std::wstring& problem);

}  // namespace qx
