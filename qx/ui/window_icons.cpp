#include "qx/ui/window_icons.h"

#include <map>
#include <utility>

#include "qx/platform/base/cstring.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/wnd/icons.h"
#include "qx/platform/wnd/window.h"

namespace {

constexpr int kSmall = 16;
constexpr int kLarge = 32;
constexpr WPARAM kIconSmall = 0;  // WM_SETICON's ICON_SMALL
constexpr WPARAM kIconBig = 1;

struct OwnedIcons {
    HICON small = nullptr;
    HICON large = nullptr;
};

// The icons LoadIcons made from files, by the window that shows them. A
// window holds them until LoadIcons gives it others; those of windows that
// are gone are freed on the next call (window handles are never reused, so
// a gone window stays gone).
std::map<HWND, OwnedIcons>& Owned() {
    static std::map<HWND, OwnedIcons> owned;
    return owned;
}

void Free(const OwnedIcons& icons) {
    if (icons.small) DestroyIcon(icons.small);
    if (icons.large) DestroyIcon(icons.large);
}

void FreeIconsOfGoneWindows() {
    std::erase_if(Owned(), [](const auto& entry) {
        if (IsWindow(entry.first)) return false;
        Free(entry.second);
        return true;
    });
}

// Both icons from the file; the application icon, which stands for files
// without an icon of their own, when it holds no picture.
std::pair<HICON, HICON> IconsOfFile(const CString& path, OwnedIcons& made) {
    made.small = qx::LoadIconFile(path, kSmall, kSmall);
    made.large = qx::LoadIconFile(path, kLarge, kLarge);
    if (made.small && made.large) return {made.small, made.large};
    Free(made);
    made = {};
    HICON associated = LoadIcon(nullptr, IDI_APPLICATION);
    return {associated, associated};
}

}  // namespace

void LoadIcons(HWND window, HINSTANCE instance, const wchar_t* resourceName, const wchar_t* iconFile) {
    FreeIconsOfGoneWindows();
    if (!IsWindow(window)) return;
    OwnedIcons made;
    std::pair<HICON, HICON> icons;
    if (iconFile && *iconFile && qx::FileExists(iconFile)) {
        icons = IconsOfFile(CString(iconFile), made);
    } else {
        // Resources hold no icons of other sizes here: the plain resource
        // icon serves both.
        HICON icon = resourceName ? LoadIcon(instance, resourceName) : nullptr;
        icons = {icon, icon};
    }
    if (icons.first) SendMessage(window, WM_SETICON, kIconSmall, reinterpret_cast<LPARAM>(icons.first));
    if (icons.second) SendMessage(window, WM_SETICON, kIconBig, reinterpret_cast<LPARAM>(icons.second));
    if (icons.first || icons.second) {
        // The icons the window showed before are no longer shown.
        auto previous = Owned().find(window);
        if (previous != Owned().end()) {
            Free(previous->second);
            Owned().erase(previous);
        }
    }
    if (made.small || made.large) Owned()[window] = made;
}
