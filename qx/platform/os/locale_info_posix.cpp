#include <cstdlib>

#include "qx/platform/os/locale_info.h"

namespace qx {

unsigned short SystemDefaultLanguageId() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return LanguageIdOfLocale(value);
    }
    return 0;
}

std::string TimeLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return value;
    }
    return "C";
}

}  // namespace qx
