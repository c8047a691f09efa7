#include "qx/locale/language_codes.h"

#include <algorithm>
#include <iterator>

namespace qx {
namespace {

struct LanguageId {
    unsigned short id;
    const wchar_t* abbr;
};

constexpr LanguageId kLanguageIds[] = {
    {1026, L"bg"}, {1029, L"cz"}, {1030, L"da"}, {1031, L"de"}, {1032, L"el"}, {1033, L"en"},
    {1034, L"es"}, {1035, L"fi"}, {1036, L"fr"}, {1038, L"hu"}, {1040, L"it"}, {1043, L"nl"},
    {1045, L"pl"}, {1048, L"ro"}, {1049, L"ru"}, {1050, L"hr"}, {1051, L"sk"}, {1052, L"sq"},
    {1053, L"sv"}, {1055, L"tr"}, {1060, L"sl"}, {1061, L"et"}, {1062, L"lv"}, {1063, L"lt"},
    {2067, L"fl"}, {2068, L"no"}, {2070, L"pt"}, {2074, L"sr"}, {3098, L"sr"},
};

struct LanguageCodePageEntry {
    const wchar_t* abbr;
    int codePage;
};

// Slovak and Slovenian are Central European languages: their letters
// (č, ľ, ť, ŕ, ...) exist in 1250 only, so reading them as 1252 would
// garble their texts.
constexpr LanguageCodePageEntry kCodePages[] = {
    {L"sq", 1250}, {L"hr", 1250}, {L"pl", 1250}, {L"ro", 1250}, {L"cz", 1250}, {L"hu", 1250},
    {L"sk", 1250}, {L"sl", 1250},
    {L"bg", 1251}, {L"ru", 1251}, {L"sr", 1251},
    {L"de", 1252}, {L"da", 1252}, {L"en", 1252}, {L"uk", 1252}, {L"fi", 1252}, {L"fr", 1252},
    {L"it", 1252}, {L"nl", 1252}, {L"fl", 1252}, {L"no", 1252}, {L"pt", 1252}, {L"sv", 1252},
    {L"es", 1252},
    {L"el", 1253},
    {L"tr", 1254},
    {L"et", 1257}, {L"lv", 1257}, {L"lt", 1257},
};

}  // namespace

bool LanguageAbbreviation(unsigned short langId, CString& abbr) {
    auto it = std::find_if(std::begin(kLanguageIds), std::end(kLanguageIds),
                           [langId](const LanguageId& entry) { return entry.id == langId; });
    if (it == std::end(kLanguageIds)) {
        abbr.Empty();
        return false;
    }
    abbr = it->abbr;
    return true;
}

int LanguageCodePage(const CString& abbr) {
    auto it = std::find_if(std::begin(kCodePages), std::end(kCodePages),
                           [&abbr](const LanguageCodePageEntry& entry) { return abbr.CompareNoCase(entry.abbr) == 0; });
    return it == std::end(kCodePages) ? -1 : it->codePage;
}

}  // namespace qx
