// CRegUtil: the names, the environment keys, the languages and the plain
// registry accessors. The folder getters are in reg_util_folders.cpp, the
// program lookups in reg_util_programs.cpp.
#include "qx/install/reg_util.h"

#include <optional>
#include <string>

#include "qx/install/install_lookup.h"
#include "qx/install/internal/reg_message.h"
#include "qx/locale/language_codes.h"
#include "qx/install/reg_functions.h"
#include "qx/platform/base/format.h"
#include "qx/platform/base/number_parse.h"
#include "qx/platform/os/file_search.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/registry_store.h"

namespace {

constexpr wchar_t kDefaultCompany[] = L"quOrix GmbH";
constexpr wchar_t kDefaultEnvKey[] = L"Software\\quOrix GmbH\\Env";

// The one owner of the process-wide names.
class RegNames {
public:
    static RegNames& Instance() {
        static RegNames names;
        return names;
    }

    std::optional<std::wstring> company;
    std::optional<std::wstring> application;
};

const wchar_t* OrNull(const std::optional<std::wstring>& name) { return name ? name->c_str() : nullptr; }

// A text value with the reading rules of the profile getters.
bool ReadProfileString(qx::RegRoot root, CString& out, const wchar_t* key, const wchar_t* name) {
    const auto value = qx::Registry().GetValue(root, key ? key : L"", name ? name : L"");
    if (!value) {
        out.Empty();
        return false;
    }
    if (const auto number = value->AsNumber()) out = qx::Format(L"%d", static_cast<int>(*number));
    else if (const auto text = value->AsText()) out = *text;
    return true;
}

CString CompanySectionKey(const wchar_t* section) {
    CRegUtil::getEnvKeyName(true);  // defaults the company name
    return CString(L"software\\") + CRegUtil::getRegCompany() + L"\\" + section;
}

}  // namespace

void CRegUtil::setRegistryKey(const wchar_t* company, const wchar_t* application) {
    RegNames& names = RegNames::Instance();
    names.company = company ? std::optional<std::wstring>(company) : std::nullopt;
    if (application) names.application = application;
}

void setRegCompany(const wchar_t* company) { CRegUtil::setRegistryKey(company, nullptr); }

const wchar_t* CRegUtil::getRegCompany() { return OrNull(RegNames::Instance().company); }
const wchar_t* CRegUtil::getRegApplikation() { return OrNull(RegNames::Instance().application); }

CString CRegUtil::getEnvKeyName(bool company) {
    RegNames& names = RegNames::Instance();
    if (!names.company) names.company = kDefaultCompany;
    if (!company) return kDefaultEnvKey;
    return CString(L"Software\\") + names.company->c_str() + L"\\Env";
}

namespace qx {

InstallLookup LookUpLanguage(const wchar_t* valueName) {
    InstallLookup result;
    for (bool company : {true, false}) {
        const CString key = CRegUtil::getEnvKeyName(company);
        if (RegQueryValueW(HKEY_CURRENT_USER, key, valueName, result.value) && !result.value.IsEmpty()) {
            result.found = true;
            result.source = L"HKEY_CURRENT_USER\\" + key.str() + L"\\" + valueName;
            return result;
        }
    }
    result.value.Empty();
    const CString companyKey = CRegUtil::getEnvKeyName(true);
    const CString defaultKey = CRegUtil::getEnvKeyName(false);
    result.source = std::wstring(L"no value ") + valueName + L" in HKEY_CURRENT_USER\\" + companyKey.str();
    if (companyKey != defaultKey) result.source += L" or HKEY_CURRENT_USER\\" + defaultKey.str();
    return result;
}

}  // namespace qx

namespace {

bool ReadLanguage(const wchar_t* name, CString& lang) {
    const qx::InstallLookup lookup = qx::LookUpLanguage(name);
    if (lookup.found) lang = lookup.value;
    return lookup.found;
}

}  // namespace

bool CRegUtil::getLanguage(CString& lang, bool silent) {
    if (ReadLanguage(L"Lang", lang)) return true;
    if (!silent) qx::detail::ShowRegMessage(qx::detail::kMsgLanguage, getRegCompany());
    return false;
}

bool CRegUtil::getPrintLanguage(CString& lang, bool silent) {
    if (ReadLanguage(L"PrintLang", lang)) return true;
    lang = L"de";
    if (!silent) qx::detail::ShowRegMessage(qx::detail::kMsgPrintLanguage, getRegCompany());
    return false;
}

bool CRegUtil::setLanguage(CString lang) { return RegSetValueW(HKEY_CURRENT_USER, getEnvKeyName(true), L"Lang", lang); }

bool CRegUtil::setPrintLanguage(CString lang) {
    return RegSetValueW(HKEY_CURRENT_USER, getEnvKeyName(true), L"PrintLang", lang);
}

int CRegUtil::enumPrintLanguages(CString file, CStringList& names, CStringList& codes) {
    const int dot = file.ReverseFind(L'.');
    if (dot <= 0) return 0;
    CString base = file.Left(dot);
    const CString extension = file.Mid(dot + 1);
    // Mask_de.txt and Mask.txt name the same set of variants.
    if (base.GetLength() >= 3 && base[base.GetLength() - 3] == L'_') base = base.Left(base.GetLength() - 3);

    int count = 0;
    auto add = [&](const CString& code) {
        names.AddTail(CString());
        codes.AddTail(code);
        ++count;
    };
    if (auto search = qx::FileSearch::Start(qx::Format(L"%s_??.%s", base.GetString(), extension.GetString()))) {
        while (const qx::FoundEntry* entry = search->Next()) {
            if (entry->folder) continue;
            const CString name(entry->name);
            add(name.Mid(name.ReverseFind(L'_') + 1, 2));
        }
    }
    if (count == 0 && qx::FileExists(qx::Format(L"%s.%s", base.GetString(), extension.GetString()))) {
        CString lang;
        if (!getLanguage(lang, true)) lang = L"de";
        add(lang);
    }
    return count;
}

bool CRegUtil::getLanguageKuerzel(unsigned short langId, CString& abbr) { return qx::LanguageAbbreviation(langId, abbr); }

int CRegUtil::getLanguageCodepage(const CString& abbr) { return qx::LanguageCodePage(abbr); }

bool CRegUtil::GetProfileStringLMachine(CString& out, const wchar_t* key, const wchar_t* name) {
    return ReadProfileString(qx::RegRoot::LocalMachine, out, key, name);
}

bool CRegUtil::GetProfileStringCurUser(CString& out, const wchar_t* key, const wchar_t* name) {
    return ReadProfileString(qx::RegRoot::CurrentUser, out, key, name);
}

bool CRegUtil::GetProfileIntCurUser(int& out, const wchar_t* key, const wchar_t* name) {
    CString text;
    const bool found = GetProfileStringCurUser(text, key, name);
    out = qx::ParseInt(text);
    return found;
}

bool CRegUtil::WriteProfileStringCurUser(const wchar_t* value, const wchar_t* key, const wchar_t* name) {
    return RegSetValueW(HKEY_CURRENT_USER, key, name, value ? value : L"");
}

CString CRegUtil::ReadENVfromCU(CString name) {
    CString value;
    RegQueryValueW(HKEY_CURRENT_USER, getEnvKeyName(false), name, value);
    return value;
}

bool CRegUtil::WriteENVtoCU(CString name, CString value) {
    return RegSetValueW(HKEY_CURRENT_USER, getEnvKeyName(false), name, value.GetString());
}

CString CRegUtil::getRegCompanyProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* def) {
    CString value;
    if (section && RegQueryValueW(HKEY_CURRENT_USER, CompanySectionKey(section), entry, value)) return value;
    return def;
}

int CRegUtil::setRegCompanyProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* value) {
    if (!section) return 0;
    const CString key = CompanySectionKey(section);
    if (!entry) return qx::Registry().DeleteKey(qx::RegRoot::CurrentUser, key.str());
    if (!value) return RegDeleteValueW(HKEY_CURRENT_USER, key, entry);
    return RegSetValueW(HKEY_CURRENT_USER, key, entry, value);
}

namespace qx {

void ResetRegUtilNames() {
    RegNames& names = RegNames::Instance();
    names.company.reset();
    names.application.reset();
}

}  // namespace qx
