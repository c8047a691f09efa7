// The value types of the window layer in the shapes the family's window code
// was written against: handles, message parameters, window procedures, the
// queued message and the notification header. Rectangles, points and sizes
// are the drawing layer's.
#pragma once

#include <cstdint>

#include "qx/platform/gfx/gdi_types.h"

// A loaded module (a library or the program), as the family's code passes
// it; module loading hands them out.
struct HINSTANCE__;
typedef HINSTANCE__* HINSTANCE;

struct HWND__;
// A window handle. Handles come from a table and are never reused within a
// process, so a stale handle stays invalid instead of naming a new window.
using HWND = HWND__*;

using UINT = unsigned int;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using BOOL = int;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using DWORD_PTR = std::uintptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);

constexpr WORD LOWORD(std::uintptr_t value) { return static_cast<WORD>(value & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t value) { return static_cast<WORD>((value >> 16) & 0xFFFF); }
constexpr DWORD MAKELONG(unsigned low, unsigned high) {
    return static_cast<DWORD>((low & 0xFFFF) | ((high & 0xFFFF) << 16));
}
constexpr WPARAM MAKEWPARAM(unsigned low, unsigned high) { return MAKELONG(low, high); }
constexpr LPARAM MAKELPARAM(unsigned low, unsigned high) { return static_cast<LPARAM>(MAKELONG(low, high)); }
// The signed coordinates packed into a mouse message's lParam.
constexpr int GET_X_LPARAM(LPARAM value) { return static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(value))); }
constexpr int GET_Y_LPARAM(LPARAM value) { return static_cast<std::int16_t>(HIWORD(static_cast<std::uintptr_t>(value))); }

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    CPoint pt;
};

// The header every WM_NOTIFY carries at lParam.
struct NMHDR {
    HWND hwndFrom = nullptr;
    UINT_PTR idFrom = 0;
    UINT code = 0;
};

// What WM_WINDOWPOSCHANGING and WM_WINDOWPOSCHANGED carry at lParam.
struct WINDOWPOS {
    HWND hwnd = nullptr;
    HWND hwndInsertAfter = nullptr;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    UINT flags = 0;
};

// What WM_CREATE and WM_NCCREATE carry at lParam.
struct CREATESTRUCT {
    void* lpCreateParams = nullptr;
    HWND hwndParent = nullptr;
    int id = 0;
    int cy = 0;
    int cx = 0;
    int y = 0;
    int x = 0;
    DWORD style = 0;
    const wchar_t* lpszName = nullptr;
    const wchar_t* lpszClass = nullptr;
    DWORD dwExStyle = 0;
};
