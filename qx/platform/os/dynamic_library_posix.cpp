#include <dlfcn.h>
#include <link.h>

#include <cstring>
#include <string>

#include "qx/platform/base/ascii.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/dynamic_library.h"
#include "qx/platform/os/native_path.h"

namespace qx {
namespace {

thread_local std::string lastError;

void* Open(std::wstring_view path, int extraFlags) {
    const std::optional<std::string> native = ToNativePath(path);
    if (!native) {
        lastError = "path cannot be mapped";
        return nullptr;
    }
    // RTLD_LOCAL: as with the platform the family comes from, a module's
    // exports ("setRegCompany", "initLanguage") must not replace those of
    // this library or of other modules.
    void* handle = ::dlopen(native->c_str(), RTLD_NOW | RTLD_LOCAL | extraFlags);
    if (!handle) {
        const char* reason = ::dlerror();
        lastError = reason ? reason : "cannot be loaded";
    }
    return handle;
}

int CollectPath(struct dl_phdr_info* info, size_t, void* data) {
    // The program itself comes with an empty name, the vDSO with a name
    // that is no file.
    if (info->dlpi_name && info->dlpi_name[0] == '/')
        static_cast<std::vector<std::wstring>*>(data)->push_back(FromNativePath(info->dlpi_name));
    return 0;
}

}  // namespace

void* OpenLibrary(std::wstring_view path) { return Open(path, 0); }

void* ReferenceLoadedLibrary(std::wstring_view path) { return Open(path, RTLD_NOLOAD); }

bool CloseLibrary(void* handle) { return handle && ::dlclose(handle) == 0; }

void* LibrarySymbol(void* handle, const char* name) {
    if (!handle || !name) return nullptr;
    void* symbol = ::dlsym(handle, name);
    // dlsym also searches the libraries this one depends on; a module that
    // links this library would otherwise seem to export its functions.
    Dl_info owner {};
    struct link_map* map = nullptr;
    if (!symbol || ::dladdr(symbol, &owner) == 0 || ::dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || !map)
        return nullptr;
    return owner.dli_fname && map->l_name && std::strcmp(owner.dli_fname, map->l_name) == 0 ? symbol : nullptr;
}

std::vector<std::wstring> LoadedLibraryPaths() {
    std::vector<std::wstring> paths;
    ::dl_iterate_phdr(&CollectPath, &paths);
    return paths;
}

std::wstring LastLibraryError() { return Utf8ToWide(lastError); }

std::vector<std::wstring> LibraryFileNames(std::wstring_view name) {
    std::vector<std::wstring> names{std::wstring(name)};
    constexpr std::wstring_view kWindowsEnding = L".dll";
    if (EndsWithIgnoringAsciiCase(name, kWindowsEnding))
        names.push_back(std::wstring(name.substr(0, name.size() - kWindowsEnding.size())) + L".so");
    return names;
}

}  // namespace qx
