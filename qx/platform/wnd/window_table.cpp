#include "qx/platform/wnd/internal/window_table.h"

namespace qx::wnd {

WindowTable& WindowTable::Instance() {
    static WindowTable table;
    return table;
}

HWND WindowTable::Add(std::unique_ptr<Window> window) {
    // Handles are even numbers above 64 Ki and grow: never null, never a
    // small integer a caller could mistake for an id, never reused.
    const std::uintptr_t value = next_;
    next_ += 2;
    window->handle = reinterpret_cast<HWND>(value);
    HWND handle = window->handle;
    windows_.emplace(value, std::move(window));
    return handle;
}

Window* WindowTable::Find(HWND hwnd) const {
    auto it = windows_.find(reinterpret_cast<std::uintptr_t>(hwnd));
    return it == windows_.end() ? nullptr : it->second.get();
}

void WindowTable::Remove(HWND hwnd) {
    auto it = windows_.find(reinterpret_cast<std::uintptr_t>(hwnd));
    if (it == windows_.end()) return;
    if (focus == hwnd) focus = nullptr;
    if (active == hwnd) active = nullptr;
    if (capture == hwnd) capture = nullptr;
    removed_.push_back(std::move(it->second));
    windows_.erase(it);
    if (depth_ == 0) removed_.clear();
}

void WindowTable::LeaveMessage() {
    if (--depth_ == 0) removed_.clear();
}

std::vector<HWND> WindowTable::TopLevelWindows() const {
    std::vector<HWND> result;
    for (const auto& [value, window] : windows_) {
        if (!IsChildWindow(*window)) result.push_back(window->handle);
    }
    return result;
}

Window* Find(HWND hwnd) { return WindowTable::Instance().Find(hwnd); }

}  // namespace qx::wnd
