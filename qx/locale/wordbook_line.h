// One line of a wordbook: "key <*> translation", with line feeds, carriage
// returns and double quotes escaped so that every entry stays one line.
//
//   "\n" "&n" -> line feed     "\r" "&r" -> carriage return     \" -> "
//   any other "\x" or "&x", and a lone "\" or "&" at the end, stay as written
//
// The line is unescaped first and then split at the first " <*> ", so an
// escaped separator still splits. A line without the separator or with an
// empty translation holds no entry.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "qx/platform/base/export.h"

namespace qx {

struct WordbookEntry {
    std::wstring key;
    std::wstring translation;
};

QX_API std::wstring UnescapeWordbookText(std::wstring_view line);

// Text with its line feeds and carriage returns escaped ("\n", "\r"), so
// that it fits one wordbook line. A backslash or "&" already followed by
// "n" or "r" cannot be told from an escape: such text does not read back.
QX_API std::wstring EscapeWordbookText(std::wstring_view text);

// The entry of wordbook line *line* (as read, still escaped); nullopt when
// the line holds none.
QX_API std::optional<WordbookEntry> ParseWordbookLine(std::wstring_view line);

// Hands every entry of wordbook file *path* to *sink*, in file order. The
// file is text with a byte-order mark or 8-bit in code page 1252. False when
// it cannot be read.
QX_API bool ReadWordbook(const wchar_t* path, const std::function<void(WordbookEntry&&)>& sink);

}  // namespace qx
