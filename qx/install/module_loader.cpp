#include "qx/install/module_loader.h"

#include <string>
#include <string_view>
#include <vector>

#include "qx/install/reg_util.h"
#include "qx/locale/init_language.h"
#include "qx/platform/base/cstring.h"
#include "qx/platform/base/format.h"
#include "qx/platform/os/dynamic_library.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/wnd/message_box.h"
#include "qx/platform/os/native_path.h"
#include "qx/platform/os/process_info.h"
#include "qx/platform/os/path_split.h"

namespace qx {
namespace {

// Whether a delayed-loading failure has been shown since the last delayed
// load; one missing library gives one message, not one per function.
struct DelayLoadState {
    bool errorShown = false;
    static DelayLoadState& Instance() {
        static DelayLoadState state;
        return state;
    }
};

bool HasFolder(const CString& name) { return LastPathSeparator(name.str()) != std::wstring_view::npos; }

CString FileNameOf(const std::wstring& path) { return CString(std::wstring(NamePart(path))); }

CString ExtensionOf(const CString& file) {
    const int dot = file.ReverseFind(L'.');
    return dot < 0 ? CString() : file.Mid(dot + 1);
}

std::vector<CString> NameVariants(const CString& name) {
    std::vector<CString> names;
    for (std::wstring& file : LibraryFileNames(name.str())) names.emplace_back(std::move(file));
    return names;
}

HINSTANCE AsInstance(void* handle) { return static_cast<HINSTANCE>(handle); }

HINSTANCE OpenAnyVariant(const CString& path) {
    for (const CString& variant : NameVariants(path))
        if (void* handle = OpenLibrary(variant.str())) return AsInstance(handle);
    return nullptr;
}

bool AnyVariantExists(const CString& path) {
    for (const CString& variant : NameVariants(path))
        if (FileExists(variant.str())) return true;
    return false;
}

// "Tessel100xxx.dll": the loaded library whose file name begins with
// "Tessel100" and whose extension begins like "dll", with one more
// reference; null when the name is no placeholder or nothing matches.
HINSTANCE LoadedVariantOf(const CString& name) {
    const int dot = name.ReverseFind(L'.');
    if (dot < 3 || name.Mid(dot - 3, 3).CompareNoCase(L"xxx") != 0) return nullptr;
    int end = dot;
    while (end > 0 && (name[end - 1] == L'x' || name[end - 1] == L'X')) --end;
    const CString prefix = FileNameOf(name.Left(end).str());
    const CString extension = name.Mid(dot + 1, 3);
    for (const std::wstring& path : LoadedLibraryPaths()) {
        const CString file = FileNameOf(path);
        if (file.Left(prefix.GetLength()).CompareNoCase(prefix) == 0 &&
            ExtensionOf(file).Left(3).CompareNoCase(extension) == 0)
            if (void* handle = ReferenceLoadedLibrary(path)) return AsInstance(handle);
    }
    return nullptr;
}

// A library of that name (for a bare name) or from that file (for a path)
// already in the process, with one more reference.
HINSTANCE AlreadyLoaded(const CString& name) {
    const bool byPath = HasFolder(name);
    const std::optional<std::string> wanted = byPath ? ToNativePath(name.str()) : std::nullopt;
    if (byPath && !wanted) return nullptr;
    for (const std::wstring& path : LoadedLibraryPaths()) {
        const bool same = byPath ? ToNativePath(path, false) == wanted : FileNameOf(path).CompareNoCase(name) == 0;
        if (same)
            if (void* handle = ReferenceLoadedLibrary(path)) return AsInstance(handle);
    }
    return nullptr;
}

// Beside the program, then "Common Files\quOsysDll\" in the program's
// folder and every folder above it up to the root.
HINSTANCE LoadFromProgramFolders(const CString& name) {
    const std::wstring programFolder = ProgramDirectory();
    if (programFolder.empty()) return nullptr;
    if (HINSTANCE module = OpenAnyVariant(CString(programFolder) + name)) return module;
    std::wstring folder = programFolder;
    while (!folder.empty() && IsPathSeparator(folder.back())) folder.pop_back();
    for (;;) {
        const CString common = CString(folder) + L"\\Common Files\\";
        if (DirectoryExists(common.str()))
            if (HINSTANCE module = OpenAnyVariant(common + L"quOsysDll\\" + name)) return module;
        const size_t separator = LastPathSeparator(folder);
        if (folder.empty() || separator == std::wstring::npos) return nullptr;
        folder.resize(separator);  // "" after the last one: the root
    }
}

// The family library folder, else the Dll folder of the family's common
// folder.
HINSTANCE LoadFromInstallation(const CString& name) {
    CString folder;
    if (CRegUtil::getQuOsysDllPath(folder, false)) {
        const CString path = folder + name;
        if (HINSTANCE module = OpenAnyVariant(path)) return module;
        if (AnyVariantExists(path)) return nullptr;
    }
    if (!CRegUtil::getCommonDir(folder, false, true)) return nullptr;
    const CString path = folder + L"Dll\\" + name;
    return AnyVariantExists(path) ? OpenAnyVariant(path) : nullptr;
}

// Hands a freshly loaded library the company and the language. Libraries
// carry no resources of their own on POSIX, so "initLanguage" is always
// called where exported.
void IntroduceToModule(HINSTANCE module) {
    using SetRegCompanyFunction = void (*)(const wchar_t*);
    using InitLanguageFunction = void (*)(int, const wchar_t*);
    using ChangeLanguageFunction = void (*)(const wchar_t*);
    const std::wstring language = LoadedLanguage();
    if (void* symbol = LibrarySymbol(module, "setRegCompany"))
        if (const wchar_t* company = CRegUtil::getRegCompany())
            reinterpret_cast<SetRegCompanyFunction>(symbol)(company);
    if (void* symbol = LibrarySymbol(module, "initLanguage"))
        reinterpret_cast<InitLanguageFunction>(symbol)(0, language.c_str());
    if (void* symbol = LibrarySymbol(module, "changeLanguage"))
        reinterpret_cast<ChangeLanguageFunction>(symbol)(language.c_str());
}

HINSTANCE FindAndLoad(const CString& name) {
    for (const CString& variant : NameVariants(name))
        if (HINSTANCE module = LoadedVariantOf(variant)) return module;
    for (const CString& variant : NameVariants(name))
        if (HINSTANCE module = AlreadyLoaded(variant)) return module;
    HINSTANCE module = nullptr;
    if (HasFolder(name)) {
        module = OpenAnyVariant(name);
    } else {
        module = LoadFromProgramFolders(name);
        if (!module) module = LoadFromInstallation(name);
    }
    if (module) IntroduceToModule(module);
    return module;
}

}  // namespace

void ResetDelayLoadErrorShown() { DelayLoadState::Instance().errorShown = false; }

}  // namespace qx

HINSTANCE LoadThisLib(const wchar_t* path) {
    if (!path || !*path) return nullptr;
    return static_cast<HINSTANCE>(qx::OpenLibrary(path));
}

HINSTANCE LoadQuorixLib(const wchar_t* name) {
    if (!name || !*name) return nullptr;
    return qx::FindAndLoad(CString(name));
}

FARPROC DliHook(unsigned notify, DelayLoadInfo* info) {
    if (notify != dliNotePreLoadLibrary) return nullptr;
    qx::ResetDelayLoadErrorShown();
    if (!info || !info->szDll) return nullptr;
    return reinterpret_cast<FARPROC>(LoadQuorixLib(CString(info->szDll)));
}

FARPROC DliFailHook(unsigned notify, DelayLoadInfo* info) {
    if (notify != dliFailLoadLib && notify != dliFailGetProc) return nullptr;
    bool& shown = qx::DelayLoadState::Instance().errorShown;
    if (shown) return nullptr;
    shown = true;
    const std::wstring self = qx::LibraryPath();
    const CString library = info && info->szDll ? CString(info->szDll) : CString();
    std::wstring text;
    if (notify == dliFailLoadLib) {
        text = qx::Format(L"Error in %s!\nRequired program part %s cannot be found.", self.c_str(), library.GetString());
    } else {
        text = qx::Format(L"Error in %s!\nRequired program part %s is not compatible with the current program version.\n",
                          self.c_str(), library.GetString());
        // A function imported by name has no number; its name is the better
        // clue (the number field then holds part of a pointer).
        if (info && info->dlp.fImportByName && info->dlp.szProcName)
            text += qx::Format(L"Missing function: %hs", info->dlp.szProcName);
        else
            text += qx::Format(L"Missing function: No. %d", info ? static_cast<int>(info->dlp.dwOrdinal) : 0);
    }
    qx::ShowMessage(text.c_str(), L"DLL Error", MB_OK);
    return nullptr;
}
