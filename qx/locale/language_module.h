// A language module: the translated resources of this library for one
// language, in a file beside it (see language_module_name.h for its name
// and docs/language-modules.md for the container).
//
// The container is a zip archive whose members are named by resource type
// and identifier:
//
//   TEXTE/1       the message table (texte_table.h), either form
//   STRING/<id>   one string-table entry, UTF-8 (a leading mark is skipped)
//   DIALOG/<id>   one dialog template, bytes as the window layer stores them
//
// Types compare without regard to case; other members are ignored. A module
// carries data only, never code.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "qx/locale/texte_table.h"
#include "qx/message/message_table.h"
#include "qx/platform/base/export.h"

namespace qx {

class QX_API LanguageModule {
public:
    // The module in file *path*; nullopt when it cannot be read or is not a
    // well-formed container.
    static std::optional<LanguageModule> Open(std::wstring_view path);
    // The module held in *bytes*.
    static std::optional<LanguageModule> FromBytes(std::string_view bytes);

    // The bytes of resource *type* / *id*; null when the module has none.
    const std::string* Resource(std::string_view type, std::string_view id) const;
    // The identifiers of the resources of *type*, in byte order.
    std::vector<std::string> ResourceIds(std::string_view type) const;

    // The message table as the library holds it, with 8-bit translations
    // read in the code page of *language*: one translation per key, the last
    // the module has for it. Empty when the module has none.
    MessageTable Texts(std::wstring_view language) const;
    // The entries of the message table in their stored order, handed to
    // *onEntry* one at a time, repeated keys included.
    void ForEachText(std::wstring_view language, const TexteEntrySink& onEntry) const;
    // The string-table entries by number.
    std::unordered_map<unsigned, std::wstring> Strings() const;

private:
    // By upper-cased type, then identifier as stored.
    std::map<std::string, std::map<std::string, std::string, std::less<>>, std::less<>> resources_;
};

// Writes a module whose message table holds the entries of wordbook
// *wordbook* (in its order, the first translation of a key winning) in the
// UTF-16 form. False when the wordbook cannot be read or the module cannot
// be written; an existing *module* is then left as it was.
QX_API bool BuildLanguageModule(const wchar_t* wordbook, const wchar_t* module);

}  // namespace qx
