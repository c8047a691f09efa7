// CtrString: translation of interface texts through wordbooks.
//
// A wordbook is a text file "base.xx" (xx the language code) of lines
// "German key <*> translation" (see wordbook_line.h). scanMiniWordBooks
// registers the wordbooks of a base or folder; setLanguage makes a language
// current and reads its wordbooks on first use, so languages that never
// become current are never read. translate gives the current language's
// text for a key, or the key's own text by the "@context@text" convention:
//
//   no translation:  "@Button@OK" -> "OK"   "Abbrechen" -> "Abbrechen"
//                    "@Kontext" -> ""
//
// The tables are process-wide and guarded by one lock. Texts returned point
// into the tables (or into the key) and stay valid until the tables are
// reset; they are not protected once translate has returned.
#pragma once

#include <string>

#include "qx/platform/base/export.h"

class QX_API CtrString {
public:
    // Registers the wordbooks at *path*: a folder ending with a backslash
    // (every "*.xx" in it) or a file base without extension (every
    // "base.xx", else the "wordbook.xx" files beside it). A path is scanned
    // once; later calls with it do nothing.
    static void scanMiniWordBooks(const wchar_t* path);
    // Makes *lang* the current language (an unknown one: no translation)
    // and remembers the one before, for resetLanguage.
    static void setLanguage(const wchar_t* lang);
    // Returns to the language that was current before the last setLanguage.
    static void resetLanguage();
    static const wchar_t* translate(const wchar_t* key);
    // *key* in code page 1252. Its conversion is cached under its address
    // and checked against its bytes, so a reused buffer is converted again.
    static const wchar_t* translate(const char* key);
};

namespace qx {

// Forgets every wordbook, language, scanned path and cached conversion, as
// unloading the library does. For tests and tools.
QX_API void ResetWordbooks();

// The code of the current wordbook language ("xx" when no translation is
// in force); "" before the first wordbook is registered.
QX_API std::wstring CurrentWordbookLanguage();

}  // namespace qx
