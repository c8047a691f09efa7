// Loading the GTK host: the plugin libqxbase-gtk.so beside this library, so
// that the library itself does not link GTK and runs where GTK is missing.
#include <cstdlib>
#include <string>

#include "qx/platform/base/utf.h"
#include "qx/platform/os/dynamic_library.h"
#include "qx/platform/os/process_info.h"
#include "qx/platform/wnd/internal/hosts.h"

namespace qx::wnd {
namespace {

constexpr wchar_t kPluginFile[] = L"libqxbase-gtk.so";
constexpr char kEntryPoint[] = "qx_create_gtk_host";

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

}  // namespace

bool HasDisplay() { return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY"); }

std::unique_ptr<UiHost> LoadGtkHost(std::string* why) {
    const auto fail = [&](std::string reason) {
        if (why) *why = "the GTK host cannot be used: " + std::move(reason);
        return nullptr;
    };
    if (!HasDisplay()) return fail("no display (neither DISPLAY nor WAYLAND_DISPLAY is set)");
    const std::wstring folder = LibraryDirectory();
    if (folder.empty()) return fail("the folder of libqxbase is unknown");
    const std::wstring path = folder + kPluginFile;
    // Loaded once and never closed: the host's code and GTK, which cannot be
    // unloaded, live in it.
    static void* plugin = nullptr;
    if (!plugin) plugin = OpenLibrary(path);
    if (!plugin) return fail(WideToUtf8(path) + " does not load: " + WideToUtf8(LastLibraryError()));
    using Entry = UiHost* (*)();
    auto entry = reinterpret_cast<Entry>(LibrarySymbol(plugin, kEntryPoint));
    if (!entry) return fail(WideToUtf8(path) + " has no " + kEntryPoint);
    std::unique_ptr<UiHost> host(entry());
    if (!host) return fail("GTK cannot open the display");
    return host;
}

}  // namespace qx::wnd
