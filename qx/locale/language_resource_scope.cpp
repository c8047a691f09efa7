#include "qx/locale/language_resource_scope.h"

#include <utility>

#include "qx/locale/init_language.h"
#include "qx/message/string_table.h"
#include "qx/platform/wnd/dialog_box.h"

namespace qx {
namespace {

std::shared_ptr<const LanguageModule>& Current() {
    static std::shared_ptr<const LanguageModule> module;
    return module;
}

// The window layer finds the current module's dialogs here.
[[maybe_unused]] const bool g_dialogSourceSet = [] {
    SetModuleDialogTemplateSource([](unsigned id) { return LoadDialogTemplate(std::to_string(id)); });
    return true;
}();

}  // namespace

std::shared_ptr<const LanguageModule> ResourceModule() { return Current(); }

void SetResourceModule(std::shared_ptr<const LanguageModule> module) {
    ReplaceStringTable(module ? module->Strings() : std::unordered_map<unsigned, std::wstring>());
    Current() = std::move(module);
}

const std::string* LoadDialogTemplate(std::string_view id) {
    const std::shared_ptr<const LanguageModule>& module = Current();
    return module ? module->Resource("DIALOG", id) : nullptr;
}

LanguageResourceScope::LanguageResourceScope() : saved_(Current()) {
    if (std::shared_ptr<const LanguageModule> loaded = LoadedLanguageModule()) SetResourceModule(std::move(loaded));
}

LanguageResourceScope::~LanguageResourceScope() {
    std::shared_ptr<const LanguageModule> loaded = LoadedLanguageModule();
    SetResourceModule(!saved_ || saved_ == loaded ? std::move(saved_) : std::move(loaded));
}

}  // namespace qx
