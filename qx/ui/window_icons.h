// A window's small (16 x 16) and large (32 x 32) icon, from an icon file
// when the program has one, else from its resources.
#pragma once

#include "qx/platform/base/export.h"
#include "qx/platform/wnd/window_types.h"

// With *iconFile* naming an existing file, both icons are that file's
// picture (an .ico file or any picture the drawing layer reads); a file
// that holds none gives both the associated icon of files, the system's
// application icon. Otherwise both are the icon *resourceName* of
// *instance* (the system icons for a null instance). The window is sent
// WM_SETICON for each icon found. The icons made from the file belong to
// the window: they are freed when LoadIcons gives it others or once the
// window is gone.
QX_API void LoadIcons(HWND window, HINSTANCE instance, const wchar_t* resourceName, const wchar_t* iconFile);
