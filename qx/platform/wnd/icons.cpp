#include "qx/platform/wnd/icons.h"

namespace {

// The system icons are handles with no object behind them: the values are
// the icons' numbers, as they are in no other handle's range.
bool IsSystemIcon(std::uintptr_t value) { return value >= kIconApplication && value <= kIconAsterisk; }

}  // namespace

HICON LoadIcon(HINSTANCE instance, const wchar_t* name) {
    const auto value = reinterpret_cast<std::uintptr_t>(name);
    if (instance || !IsSystemIcon(value)) return nullptr;
    return reinterpret_cast<HICON>(value);
}

namespace qx {

unsigned SystemIconOf(HICON icon) {
    const auto value = reinterpret_cast<std::uintptr_t>(icon);
    return IsSystemIcon(value) ? static_cast<unsigned>(value) : 0;
}

}  // namespace qx
