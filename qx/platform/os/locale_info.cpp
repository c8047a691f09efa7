#include "qx/platform/os/locale_info.h"

#include <algorithm>
#include <iterator>

namespace qx {
namespace {

struct LocaleId {
    std::string_view language;
    std::string_view territory;  // "": the language's main identifier
    std::string_view modifier;
    unsigned short id;
};

// The identifiers Windows gives these locales. Territories not listed get
// the language's main identifier.
constexpr LocaleId kLocaleIds[] = {
    {"ar", "", "", 0x0401},      {"bg", "", "", 0x0402},      {"ca", "", "", 0x0403},
    {"cs", "", "", 0x0405},      {"da", "", "", 0x0406},      {"de", "", "", 0x0407},
    {"de", "AT", "", 0x0C07},    {"de", "CH", "", 0x0807},    {"de", "LI", "", 0x1407},
    {"de", "LU", "", 0x1007},    {"el", "", "", 0x0408},      {"en", "", "", 0x0409},
    {"en", "AU", "", 0x0C09},    {"en", "CA", "", 0x1009},    {"en", "GB", "", 0x0809},
    {"en", "IE", "", 0x1809},    {"en", "NZ", "", 0x1409},    {"en", "ZA", "", 0x1C09},
    {"es", "", "", 0x0C0A},      {"es", "MX", "", 0x080A},    {"et", "", "", 0x0425},
    {"fi", "", "", 0x040B},      {"fr", "", "", 0x040C},      {"fr", "BE", "", 0x080C},
    {"fr", "CA", "", 0x0C0C},    {"fr", "CH", "", 0x100C},    {"fr", "LU", "", 0x140C},
    {"he", "", "", 0x040D},      {"hr", "", "", 0x041A},      {"hu", "", "", 0x040E},
    {"is", "", "", 0x040F},      {"it", "", "", 0x0410},      {"it", "CH", "", 0x0810},
    {"ja", "", "", 0x0411},      {"ko", "", "", 0x0412},      {"lt", "", "", 0x0427},
    {"lv", "", "", 0x0426},      {"nb", "", "", 0x0414},      {"nl", "", "", 0x0413},
    {"nl", "BE", "", 0x0813},    {"nn", "", "", 0x0814},      {"no", "", "", 0x0414},
    {"pl", "", "", 0x0415},      {"pt", "", "", 0x0416},      {"pt", "PT", "", 0x0816},
    {"ro", "", "", 0x0418},      {"ru", "", "", 0x0419},      {"sk", "", "", 0x041B},
    {"sl", "", "", 0x0424},      {"sq", "", "", 0x041C},      {"sr", "", "", 0x0C1A},
    {"sr", "", "latin", 0x081A}, {"sr", "ME", "", 0x301A},    {"sr", "ME", "latin", 0x2C1A},
    {"sr", "RS", "", 0x281A},    {"sr", "RS", "latin", 0x241A}, {"sv", "", "", 0x041D},
    {"sv", "FI", "", 0x081D},    {"tr", "", "", 0x041F},      {"uk", "", "", 0x0422},
    {"zh", "", "", 0x0804},      {"zh", "TW", "", 0x0404},
};

const LocaleId* Find(std::string_view language, std::string_view territory, std::string_view modifier) {
    auto it = std::find_if(std::begin(kLocaleIds), std::end(kLocaleIds), [&](const LocaleId& entry) {
        return entry.language == language && entry.territory == territory && entry.modifier == modifier;
    });
    return it == std::end(kLocaleIds) ? nullptr : it;
}

}  // namespace

unsigned short LanguageIdOfLocale(std::string_view locale) {
    // language[_territory][.codeset][@modifier]
    const size_t at = locale.find('@');
    const std::string_view modifier = at == std::string_view::npos ? std::string_view() : locale.substr(at + 1);
    const std::string_view name = locale.substr(0, std::min(locale.find('.'), at));
    const size_t underscore = name.find('_');
    const std::string_view language = name.substr(0, underscore);
    const std::string_view territory =
        underscore == std::string_view::npos ? std::string_view() : name.substr(underscore + 1);
    for (const LocaleId* entry : {Find(language, territory, modifier), Find(language, territory, ""),
                                  Find(language, "", modifier), Find(language, "", "")}) {
        if (entry) return entry->id;
    }
    return 0;
}

}  // namespace qx
