#include "qx/install/localized_names.h"

#include <memory>
#include <vector>

#include "qx/message/message_table.h"

namespace {

struct RegionName {
    const wchar_t* code;
    const wchar_t* german;
};

constexpr RegionName kRegions[] = {
    {L"DEU", L"Deutschland"}, {L"INT", L"International"}, {L"XXX", L"Nicht spezifiziert"},
    {L"OES", L"Österreich"}, {L"NED", L"Niederlande"}, {L"FRA", L"Frankreich"},
    {L"ITA", L"Italien"}, {L"ENU", L"England"}, {L"RUS", L"Russland"},
    {L"POL", L"Polen"}, {L"BEL", L"Belgien"}, {L"HUN", L"Ungarn"},
    {L"TUR", L"Türkei"}, {L"GRE", L"Griechenland"}, {L"CZE", L"Tschechien"},
    {L"CHE", L"Schweiz"}, {L"CHD", L"Schweiz (deutsch)"}, {L"CHF", L"Schweiz (französisch)"},
    {L"ISL", L"Island"}, {L"CRO", L"Kroatien"}, {L"ROM", L"Rumänien"},
    {L"LAT", L"Lettland"}, {L"LTU", L"Litauen"}, {L"USA", L"USA"},
    {L"GBR", L"Großbritannien"}, {L"POR", L"Portugal"}, {L"LUX", L"Luxemburg"},
    {L"BIH", L"Bosnien und Herzegowina"}, {L"BGR", L"Bulgarien"}, {L"MDA", L"Moldawien"},
    {L"SRB", L"Serbien"}, {L"UKR", L"Ukraine"}, {L"BLR", L"Weißrussland"},
    {L"SLO", L"Slowenien"}, {L"SLK", L"Slowakei"}, {L"ESP", L"Spanien"},
};

struct LanguageName {
    const wchar_t* abbr;
    const wchar_t* native;
    const wchar_t* german;
};

constexpr LanguageName kLanguages[] = {
    {L"DE", L"Deutsch", L"Deutsch"},          {L"EN", L"English", L"Englisch"},
    {L"IT", L"Italiano", L"Italienisch"},     {L"HR", L"Hrvatski", L"Kroatisch"},
    {L"NL", L"Nederlands", L"Niederländisch"}, {L"FR", L"Français", L"Französisch"},
    {L"DA", L"Dansk", L"Dänisch"},            {L"PL", L"Polski", L"Polnisch"},
    {L"HU", L"Magyar", L"Ungarisch"},         {L"FL", L"Vlaams", L"Flämisch"},
    {L"EL", L"Ελληνικά", L"Griechisch"},      {L"ES", L"Español", L"Spanisch"},
    {L"TR", L"Türkçe", L"Türkisch"},          {L"CZ", L"Česky", L"Tschechisch"},
    {L"RU", L"Русский", L"Russisch"},         {L"UA", L"Українська", L"Ukrainisch"},
    {L"SQ", L"Shqip", L"Albanisch"},          {L"BG", L"Български", L"Bulgarisch"},
    {L"ET", L"Eesti", L"Estnisch"},           {L"FI", L"Suomi", L"Finnisch"},
    {L"LV", L"Latviešu", L"Lettisch"},        {L"LT", L"Lietuvių", L"Litauisch"},
    {L"PT", L"Português", L"Portugiesisch"},  {L"RO", L"Română", L"Rumänisch"},
    {L"SV", L"Svenska", L"Schwedisch"},       {L"SR", L"Српски", L"Serbisch"},
    {L"SK", L"Slovenčina", L"Slowakisch"},    {L"SL", L"Slovenščina", L"Slowenisch"},
    {L"NO", L"Norsk (bokmål)", L"Norwegisch"}, {L"BS", L"Bosansky", L"Bosnisch"},
};

// The language table with its German names translated, built on first use.
struct LanguageEntry {
    CString abbr;
    CString native;
    CString german;  // translated
    CString Combined() const { return native == german ? native : native + L" (" + german + L")"; }
};

class LanguageTable {
public:
    static const std::vector<LanguageEntry>& Entries() {
        std::unique_ptr<std::vector<LanguageEntry>>& table = Slot();
        if (!table) {
            table = std::make_unique<std::vector<LanguageEntry>>();
            for (const LanguageName& language : kLanguages)
                table->push_back({language.abbr, language.native, qx::TranslateMessage(language.german)});
        }
        return *table;
    }
    static void Reset() { Slot().reset(); }

private:
    static std::unique_ptr<std::vector<LanguageEntry>>& Slot() {
        static std::unique_ptr<std::vector<LanguageEntry>> table;
        return table;
    }
};

}  // namespace

namespace LocalizedNames {

CString GetRegionName(const CString& code) {
    for (const RegionName& region : kRegions)
        if (code.CompareNoCase(region.code) == 0) return qx::TranslateMessage(region.german);
    return CString();
}

CString GetLanguageName(const CString& abbr, int combined) {
    CString key = abbr;
    key.MakeUpper();
    for (const LanguageEntry& entry : LanguageTable::Entries())
        if (entry.abbr == key) return combined ? entry.Combined() : entry.native;
    return CString();
}

CString GetLanguageAbbr(const CString& name, int combined) {
    const std::vector<LanguageEntry>& entries = LanguageTable::Entries();
    if (combined) {
        // Whole names first: cutting at the first space would lose native
        // names that hold one ("Norsk (bokmål)").
        for (const LanguageEntry& entry : entries)
            if (entry.Combined() == name || entry.native == name) return entry.abbr;
    }
    const int space = combined ? name.Find(L' ') : -1;
    const CString native = space < 0 ? name : name.Left(space);
    for (const LanguageEntry& entry : entries)
        if (entry.native == native) return entry.abbr;
    return CString();
}

}  // namespace LocalizedNames

namespace qx {

void ResetLocalizedNames() { LanguageTable::Reset(); }

}  // namespace qx
