// The process-wide table of windows and the one owner of the window model's
// state: handles, the focus, the active and capture windows.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "qx/platform/wnd/internal/window_object.h"

namespace qx::wnd {

class WindowTable {
public:
    static WindowTable& Instance();

    HWND Add(std::unique_ptr<Window> window);
    Window* Find(HWND hwnd) const;
    // Takes the window out of the table. Its object lives on until no
    // message to any window is being handled, so a procedure that destroys
    // its own window can still return through it.
    void Remove(HWND hwnd);
    // Depth of nested message calls; the removed objects are freed when it
    // falls back to 0.
    void EnterMessage() { ++depth_; }
    void LeaveMessage();
    std::vector<HWND> TopLevelWindows() const;

    HWND focus = nullptr;
    HWND active = nullptr;
    HWND capture = nullptr;
    CPoint cursor;

private:
    std::map<std::uintptr_t, std::unique_ptr<Window>> windows_;
    std::vector<std::unique_ptr<Window>> removed_;
    std::uintptr_t next_ = 0x10000;
    int depth_ = 0;
};

// Counts a message call for WindowTable::EnterMessage/LeaveMessage.
class MessageScope {
public:
    MessageScope() { WindowTable::Instance().EnterMessage(); }
    ~MessageScope() { WindowTable::Instance().LeaveMessage(); }
    MessageScope(const MessageScope&) = delete;
    MessageScope& operator=(const MessageScope&) = delete;
};

}  // namespace qx::wnd
