#include "qx/locale/language_module_name.h"

namespace qx {

std::wstring LanguageModuleBase(std::wstring_view fileName) {
    std::wstring_view name = fileName;
    if (name.starts_with(L"lib")) name.remove_prefix(3);
    name = name.substr(0, name.find(L'.'));
    const size_t underscore = name.find(L'_', 1);
    if (underscore != std::wstring_view::npos) name = name.substr(0, underscore);
    for (std::wstring_view suffix : {L"x64d", L"x32d", L"x64", L"x32"}) {
        if (name.ends_with(suffix)) {
            name.remove_suffix(suffix.size());
            break;
        }
    }
    return std::wstring(name);
}

}  // namespace qx
