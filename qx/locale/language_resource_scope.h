// Where this library loads its resources (dialog templates, numbered
// strings) from, and the scope that switches that to the language module.
//
// The resource module is this library itself (null: on Linux it carries no
// resources) or a language module. initLanguage makes the newly loaded
// module the resource module; a LanguageResourceScope makes the loaded
// module the resource module for its lifetime, for code that creates
// windows while someone else may have switched the source. The string table
// (string_table.h) always holds the resource module's strings.
//
// The library's own outermost scope is implicit and lasts as long as the
// library, so the cache of converted 8-bit messages lives until unload and
// texts handed out from it stay valid. Single-threaded.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "qx/locale/language_module.h"
#include "qx/platform/base/export.h"

namespace qx {

QX_API std::shared_ptr<const LanguageModule> ResourceModule();
// Makes *module* (null: this library) the resource module and refills the
// string table from it.
QX_API void SetResourceModule(std::shared_ptr<const LanguageModule> module);

// The dialog template *id* of the resource module; null when it has none.
// The bytes stay valid until the resource module changes.
QX_API const std::string* LoadDialogTemplate(std::string_view id);

class QX_API LanguageResourceScope {
public:
    LanguageResourceScope();
    // Restores the resource module found at the start. If that module has
    // since been replaced by another initLanguage, the loaded one stays: a
    // released module must not become the source again.
    ~LanguageResourceScope();
    LanguageResourceScope(const LanguageResourceScope&) = delete;
    LanguageResourceScope& operator=(const LanguageResourceScope&) = delete;

private:
    std::shared_ptr<const LanguageModule> saved_;
};

}  // namespace qx
