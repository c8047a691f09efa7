// CRegUtil: the installation's folders and helper programs.
#include <functional>

#include "qx/install/install_lookup.h"
#include "qx/install/internal/reg_message.h"
#include "qx/install/reg_util.h"
#include "qx/platform/os/file_search.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/native_path.h"
#include "qx/platform/os/path_split.h"
#include "qx/platform/os/process_info.h"
#include "qx/platform/os/system_folders.h"

namespace {

CString WithBackslash(CString folder) {
    if (folder.IsEmpty() || folder[folder.GetLength() - 1] != L'\\') folder += L'\\';
    return folder;
}

// Calls *visit* with *folder* (no final backslash) and each folder above it
// up to the drive or root, nearest first, until *visit* returns true. An
// empty *folder* (a path the system could not tell) has none.
bool ForEachAncestor(CString folder, const std::function<bool(const CString&)>& visit) {
    if (folder.IsEmpty()) return false;
    std::wstring_view rest = folder.str();
    while (true) {
        while (!rest.empty() && qx::IsPathSeparator(rest.back())) rest.remove_suffix(1);
        if (visit(CString(std::wstring(rest)))) return true;
        const size_t separator = qx::LastPathSeparator(rest);
        if (separator == std::wstring_view::npos) return false;
        rest = rest.substr(0, separator);
    }
}

// The folder of a file path, with its final backslash.
CString FolderOf(const CString& path) { return CString(std::wstring(qx::FolderPart(path.str()))); }

// "DllPath" names the library folder; the folder above it is the common one.
bool CommonFromDllPath(const CString& envKey, CString& candidate) {
    CString dllPath;
    if (!CRegUtil::GetProfileStringLMachine(dllPath, envKey, L"DllPath") || dllPath.IsEmpty()) return false;
    if (!qx::DirectoryExists(dllPath.str())) return false;
    candidate = CString(std::wstring(qx::ParentFolder(dllPath.str())));
    return !candidate.IsEmpty();
}

bool CommonFilesValue(const CString& envKey, CString& candidate) {
    CString value;
    if (!CRegUtil::GetProfileStringLMachine(value, envKey, L"CommonFiles") || value.IsEmpty()) return false;
    candidate = WithBackslash(value);
    return true;
}

// Appends the manufacturer folders (holding "MMD") found in *folder* (ending
// with a backslash) and, at depth 0, one level further down.
void ScanManufacturers(const CString& folder, int depth, bool skipReadOnly, CStringList& dirs) {
    auto search = qx::FileSearch::Start((folder + L"*.").str());
    if (!search) return;
    while (const qx::FoundEntry* entry = search->Next()) {
        if (!entry->folder || entry->name == L"." || entry->name == L"..") continue;
        if (skipReadOnly) {
            const auto status = search->StatusOf(*entry);
            if (status && (status->attributes & qx::kFileAttributeReadOnly)) continue;
        }
        const CString sub = folder + entry->name.c_str() + L"\\";
        if (qx::DirectoryExists((sub + L"MMD\\").str())) dirs.AddTail(sub);
        else if (depth == 0) ScanManufacturers(sub, 1, skipReadOnly, dirs);
    }
}

void ShowDllMessage(bool silent, const CString& tried) {
    if (!silent) qx::detail::ShowRegMessage(qx::detail::kMsgDllDir, tried);
}

}  // namespace

namespace qx {

InstallLookup LookUpCommonDir(bool company) {
    const bool named = CRegUtil::getRegCompany() != nullptr;
    const CString companyKey = CRegUtil::getEnvKeyName(true);
    const CString defaultKey = CRegUtil::getEnvKeyName(false);
    InstallLookup result;
    CString candidate;
    auto tryCandidate = [&](bool found, std::wstring source) {
        if (!found) return false;
        result.value = candidate;
        result.source = std::move(source);
        result.found = DirectoryExists(candidate.str());
        return result.found;
    };
    const std::wstring machine = L"HKEY_LOCAL_MACHINE\\";
    if (company && named &&
        tryCandidate(CommonFilesValue(companyKey, candidate), machine + companyKey.str() + L"\\CommonFiles"))
        return result;
    if (tryCandidate(CommonFilesValue(defaultKey, candidate), machine + defaultKey.str() + L"\\CommonFiles"))
        return result;
    for (const CString& key : {companyKey, defaultKey})
        if (tryCandidate(CommonFromDllPath(key, candidate), L"the folder above " + machine + key.str() + L"\\DllPath"))
            return result;
    bool fromVariable = false;
    candidate = CString(CommonProgramFilesFolder(&fromVariable)) + L"\\" +
                (company && named ? CRegUtil::getRegCompany() : L"quOrix GmbH") + L"\\";
    if (tryCandidate(true, std::wstring(fromVariable ? L"$QX_COMMON_FILES" : L"the default /opt") +
                               L" plus the company's folder"))
        return result;
    result.source = L"no candidate exists; the last one tried came from " + result.source;
    return result;
}

}  // namespace qx

bool CRegUtil::getCommonDir(CString& dir, bool company, bool silent) {
    const qx::InstallLookup lookup = qx::LookUpCommonDir(company);
    dir = lookup.value;
    if (!lookup.found && !silent) qx::detail::ShowRegMessage(qx::detail::kMsgCommonDir);
    return lookup.found;
}

bool CRegUtil::getDllPath(CString& dir, bool silent) {
    CString common;
    if (!getCommonDir(common, true, silent)) return false;
    const CString dll = common + L"Dll\\";
    if (qx::DirectoryExists(dll.str())) {
        dir = dll;
        return true;
    }
    ShowDllMessage(silent, dll);
    return false;
}

bool CRegUtil::getQuOsysDllPath(CString& dir, bool silent) {
    CString common;
    if (!getCommonDir(common, false, true) && !getCommonDir(common, true, silent)) return false;
    for (const wchar_t* sub : {L"quOsysDll\\", L"Dll\\"}) {
        if (qx::DirectoryExists((common + sub).str())) {
            dir = common + sub;
            return true;
        }
    }
    ShowDllMessage(silent, common + L"Dll\\");
    return false;
}

bool CRegUtil::getProjektverwaltung(CString& path, bool silent) {
    for (bool company : {true, false}) {
        CString value;
        if (GetProfileStringLMachine(value, getEnvKeyName(company), L"Prv") && !value.IsEmpty()) {
            path = value;
            return true;
        }
    }
    if (!silent) qx::detail::ShowRegMessage(qx::detail::kMsgProjectManagement);
    return false;
}

bool CRegUtil::getOnlineUpdate(CString& path, bool silent) {
    CString tried;
    const bool found = ForEachAncestor(FolderOf(qx::ProgramPath()), [&](const CString& folder) {
        tried = folder + L"\\Common Files\\Dll\\qxUpdater.exe";
        return qx::FileExists(tried.str());
    });
    CString common;
    if (found || (getCommonDir(common, true, true) && qx::FileExists((tried = common + L"Dll\\qxUpdater.exe").str()))) {
        path = tried;
        return true;
    }
    if (!silent) qx::detail::ShowRegMessage(qx::detail::kMsgUpdater, tried);
    return false;
}

bool CRegUtil::getOnlineUpdate2k(CString& path, bool silent) {
    // The library folder's own message names the folder it missed, so a
    // silent call stays silent there too.
    CString dll;
    const bool haveDll = getQuOsysDllPath(dll, silent);
    const CString updater = dll + L"qxUpdater\\qxupdater2k8.exe";
    if (haveDll && qx::FileExists(updater.str())) {
        path = updater;
        return true;
    }
    if (!silent) qx::detail::ShowRegMessage(qx::detail::kMsgUpdater, updater);
    return false;
}

bool CRegUtil::getAdrPath20(CString& dir, bool silent) {
    const CString stored = ReadENVfromCU(L"Adressen20");
    if (!stored.IsEmpty()) {
        dir = stored;
        return true;
    }
    CString common;
    if (!getCommonDir(common, false, silent)) return false;
    const CString book = common + L"Adressen\\";
    if (qx::DirectoryExists(book.str())) {
        dir = book;
        return true;
    }
    if (!silent) qx::detail::ShowRegMessage(qx::detail::kMsgAddressBook, book);
    return false;
}

bool CRegUtil::getAllHerstellerDirs(CStringList& dirs, bool skipReadOnly) {
    const CString envKey = getEnvKeyName(false);
    CString lib;
    if (GetProfileStringLMachine(lib, envKey, L"CommonLib") && !lib.IsEmpty() && qx::DirectoryExists(lib.str()))
        ScanManufacturers(WithBackslash(lib), 0, skipReadOnly, dirs);
    CString plus;
    if (GetProfileStringLMachine(plus, envKey, L"CommonLibPlus")) {
        int start = 0;
        while (start <= plus.GetLength()) {
            const int semicolon = plus.Find(L';', start);
            const CString entry = plus.Mid(start, (semicolon < 0 ? plus.GetLength() : semicolon) - start);
            if (entry.IsEmpty()) break;
            if (qx::DirectoryExists(entry.str())) ScanManufacturers(WithBackslash(entry), 0, skipReadOnly, dirs);
            if (semicolon < 0) break;
            start = semicolon + 1;
        }
    }
    ForEachAncestor(qx::LibraryDirectory(), [&](const CString& folder) {
        ScanManufacturers(folder + L"\\DataSrc\\", 0, skipReadOnly, dirs);
        ScanManufacturers(folder + L"\\DataSrc_2\\", 0, skipReadOnly, dirs);
        return false;
    });
    return true;
}

bool CRegUtil::getAllHerstellerDirsReversed(CStringList& dirs, bool skipReadOnly) {
    CStringList found;
    getAllHerstellerDirs(found, skipReadOnly);
    for (POSITION pos = found.GetTailPosition(); pos;) dirs.AddTail(found.GetPrev(pos));
    return true;
}
