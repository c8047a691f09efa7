#include "qx/platform/wnd/icons.h"

#include <map>
#include <memory>

#include "qx/platform/gfx/picture.h"

namespace {

// The system icons are handles with no object behind them: the values are
// the icons' numbers, as they are in no other handle's range.
bool IsSystemIcon(std::uintptr_t value) { return value >= kIconApplication && value <= kIconAsterisk; }

struct FileIcon {
    std::unique_ptr<qx::gfx::Picture> picture;
    CSize size;
};

// Icons made from files, by handle. Handles count up from far above the
// system icons' numbers and are never reused, so a freed icon's handle
// stays invalid.
struct FileIcons {
    std::map<std::uintptr_t, FileIcon> icons;
    std::uintptr_t next = 0x10000;
};

FileIcons& TheFileIcons() {
    static FileIcons icons;
    return icons;
}

const FileIcon* FindFileIcon(HICON icon) {
    const auto& icons = TheFileIcons().icons;
    const auto it = icons.find(reinterpret_cast<std::uintptr_t>(icon));
    return it == icons.end() ? nullptr : &it->second;
}

}  // namespace

HICON LoadIcon(HINSTANCE instance, const wchar_t* name) {
    const auto value = reinterpret_cast<std::uintptr_t>(name);
    if (instance || !IsSystemIcon(value)) return nullptr;
    return reinterpret_cast<HICON>(value);
}

BOOL DestroyIcon(HICON icon) { return TheFileIcons().icons.erase(reinterpret_cast<std::uintptr_t>(icon)) ? TRUE : FALSE; }

namespace qx {

unsigned SystemIconOf(HICON icon) {
    const auto value = reinterpret_cast<std::uintptr_t>(icon);
    return IsSystemIcon(value) ? static_cast<unsigned>(value) : 0;
}

HICON LoadIconFile(const CString& path, int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    auto picture = std::make_unique<gfx::Picture>();
    if (!picture->Load(path)) return nullptr;
    FileIcons& icons = TheFileIcons();
    const std::uintptr_t handle = icons.next++;
    icons.icons.emplace(handle, FileIcon{std::move(picture), CSize(width, height)});
    return reinterpret_cast<HICON>(handle);
}

const gfx::Picture* IconPicture(HICON icon) {
    const FileIcon* found = FindFileIcon(icon);
    return found ? found->picture.get() : nullptr;
}

CSize IconSize(HICON icon) {
    const FileIcon* found = FindFileIcon(icon);
    return found ? found->size : CSize(0, 0);
}

}  // namespace qx
