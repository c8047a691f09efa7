// qxtool install-info: what an application of the family finds of its
// installation, and where each answer comes from.
#include <cstdlib>
#include <string>
#include <vector>

#include "qx/install/install_lookup.h"
#include "qx/install/reg_util.h"
#include "qx/install/region_info.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/native_path.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/process_info.h"
#include "qx/platform/os/registry_file_store.h"
#include "qx/platform/os/xdg_folders.h"
#include "tools/qxtool/command.h"

namespace qxtool {
namespace {

void Line(const wchar_t* what, const std::wstring& answer, const std::wstring& source) {
    PrintUtf8(std::wstring(what) + L": " + answer + L"\n    (" + source + L")\n");
}

void Missing(const wchar_t* what, const std::wstring& reason) { Line(what, L"not found", reason); }

std::wstring Machine(const CString& key, const wchar_t* name) { return L"HKEY_LOCAL_MACHINE\\" + key.str() + L"\\" + name; }

// A folder below the common folder: found, missing, or no common folder.
void BelowCommon(const wchar_t* what, bool found, const CString& answer, const qx::InstallLookup& common,
                 const wchar_t* below) {
    if (!common.found) Missing(what, L"no common folder");
    else if (found) Line(what, answer.str(), L"common folder plus " + std::wstring(below));
    else Missing(what, common.value.str() + below + L" does not exist");
}

void Languages() {
    for (const auto& [what, name] : {std::pair{L"display language", L"Lang"}, std::pair{L"print language", L"PrintLang"}}) {
        const qx::InstallLookup lookup = qx::LookUpLanguage(name);
        if (lookup.found) Line(what, lookup.value.str(), lookup.source);
        else if (std::wstring(name) == L"PrintLang") Line(what, L"de", L"the default: " + lookup.source);
        else Missing(what, lookup.source);
    }
}

void ProjectManagement() {
    for (bool company : {true, false}) {
        CString value;
        const CString key = CRegUtil::getEnvKeyName(company);
        if (CRegUtil::GetProfileStringLMachine(value, key, L"Prv") && !value.IsEmpty()) {
            Line(L"project management", value.str(), Machine(key, L"Prv"));
            return;
        }
    }
    const CString companyKey = CRegUtil::getEnvKeyName(true);
    const CString defaultKey = CRegUtil::getEnvKeyName(false);
    std::wstring reason = L"no value Prv in HKEY_LOCAL_MACHINE\\" + companyKey.str();
    if (companyKey != defaultKey) reason += L" or HKEY_LOCAL_MACHINE\\" + defaultKey.str();
    Missing(L"project management", reason);
}

void ManufacturerFolders() {
    CStringList dirs;
    CRegUtil::getAllHerstellerDirs(dirs, false);
    const CString key = CRegUtil::getEnvKeyName(false);
    const std::wstring sources = Machine(key, L"CommonLib") + L", " + Machine(key, L"CommonLibPlus") +
                                 L" and DataSrc, DataSrc_2 beside the library " + qx::LibraryDirectory() +
                                 L" and its parent folders";
    Line(L"manufacturer data folders", std::to_wstring(dirs.GetCount()), L"folders holding MMD, from " + sources);
    for (POSITION pos = dirs.GetHeadPosition(); pos;) PrintUtf8(L"    " + dirs.GetNext(pos).str() + L"\n");
}

void LocalAppData() {
    CString folder;
    const bool found = CRegUtil::getLocalAppDataPath(folder);
    CString stored;
    CRegUtil::GetProfileStringCurUser(stored, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                                      L"Local AppData");
    if (!found) Missing(L"local application data", L"no registry value and no home folder");
    else if (!stored.IsEmpty()) Line(L"local application data", folder.str(), L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\Local AppData");
    else Line(L"local application data", folder.str(), L"$XDG_DATA_HOME, else ~/.local/share");
}

int InstallInfo(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    std::string company;
    const bool named = TakeOption(args, "--company", company);
    std::string install;
    const bool haveInstall = TakeOption(args, "--install", install);
    RejectUnknownOptions(args);
    if (!args.empty()) throw UsageError("takes no arguments besides its options");
    if (named) setRegCompany(Wide(company).c_str());

    const qx::RegistryFiles files = qx::DefaultRegistryFiles();
    const char* registryDir = std::getenv("QX_REGISTRY_DIR");
    const std::wstring registrySource = registryDir && registryDir[0] ? L"$QX_REGISTRY_DIR" : L"the defaults";
    CRegUtil::getEnvKeyName(true);  // defaults the company name
    Line(L"company", CRegUtil::getRegCompany(), named ? L"--company" : L"the default; give --company for another");
    auto shown = [](const std::wstring& file) {
        const auto native = qx::ToNativePath(file, false);
        return native ? qx::Utf8ToWide(*native) : file;
    };
    Line(L"machine registry", shown(files.system), registrySource);
    Line(L"user registry", files.user.empty() ? L"none (no home folder)" : shown(files.user), registrySource);

    const qx::InstallLookup common = qx::LookUpCommonDir(true);
    if (common.found) Line(L"common folder", common.value.str(), common.source);
    else Missing(L"common folder", common.source + L": " + common.value.str());

    CString path;
    BelowCommon(L"library folder", CRegUtil::getDllPath(path, true), path, common, L"Dll\\");
    const qx::InstallLookup familyCommon = qx::LookUpCommonDir(false);
    const bool haveFamily = CRegUtil::getQuOsysDllPath(path, true);
    if (haveFamily) Line(L"family library folder", path.str(), L"common folder plus quOsysDll\\, else Dll\\");
    else Missing(L"family library folder", familyCommon.found || common.found ? L"neither quOsysDll\\ nor Dll\\ below the common folder" : L"no common folder");

    if (CRegUtil::getOnlineUpdate(path, true))
        Line(L"updater", path.str(), L"Common Files\\Dll\\ above the program, else the library folder");
    else Missing(L"updater", L"no Common Files\\Dll\\qxUpdater.exe above the program's folder, no Dll\\qxUpdater.exe in the common folder");
    if (CRegUtil::getOnlineUpdate2k(path, true)) Line(L"updater 2k8", path.str(), L"family library folder plus qxUpdater\\");
    else Missing(L"updater 2k8", haveFamily ? L"no qxUpdater\\qxupdater2k8.exe in the family library folder" : L"no family library folder");

    const bool haveBook = CRegUtil::getAdrPath20(path, true);
    if (haveBook && !CRegUtil::ReadENVfromCU(L"Adressen20").IsEmpty())
        Line(L"address book", path.str(), L"HKEY_CURRENT_USER\\" + CRegUtil::getEnvKeyName(false).str() + L"\\Adressen20");
    else BelowCommon(L"address book", haveBook, path, qx::LookUpCommonDir(false), L"Adressen\\");

    ProjectManagement();
    Languages();
    ManufacturerFolders();
    LocalAppData();
    if (haveInstall) {
        for (const qx::SettingLine& line : qx::DescribeRegionAndEdition(Wide(install).c_str()))
            Line(line.what.c_str(), line.answer, line.source);
    } else {
        Missing(L"region and edition", L"give --install DIR, the application's installation folder");
    }
    return kExitOk;
}

constexpr Command kCommands[] = {
    {"install-info", "[--company NAME] [--install DIR]", "show what an application finds of the installation",
     "Asks the registry and the file system as an application of the family does on\n"
     "start-up: common folder, library folders, updater, address book, project\n"
     "management, display and print language and the manufacturers' data folders;\n"
     "with --install, the region and edition of the installation in DIR (its\n"
     "Support folder's region maps and data.ppx).\n"
     "Each answer says where it came from, each missing one why.\n\n"
     "The common folder comes from HKEY_LOCAL_MACHINE\\Software\\<company>\\Env, the\n"
     "family's Env key (CommonFiles, else the folder above DllPath), else from the\n"
     "common program files folder $QX_COMMON_FILES (default /opt) plus the company.",
     InstallInfo},
};

const CommandRegistrar registrar(kCommands);

}  // namespace

}  // namespace qxtool
