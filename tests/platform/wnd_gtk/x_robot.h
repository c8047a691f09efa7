// A user at the X display for the GTK host's tests: finds the window GTK made
// for a model window by its title and sends real input to it through the
// XTEST extension, on a connection of its own. The X server delivers the
// events to whatever window is under the pointer, as it would a user's.
#pragma once

#include <string>

#include "qx/platform/wnd/window.h"

typedef struct _XDisplay Display;

namespace qx::test {

class XRobot {
public:
    XRobot();
    ~XRobot();
    XRobot(const XRobot&) = delete;
    XRobot& operator=(const XRobot&) = delete;

    // Whether the display opened and has XTEST; *why* says what is missing.
    bool Ready(std::string* why) const;

    // The top-left corner of the client area of the mapped top-level X
    // window titled *title*, in screen pixels; false while there is none.
    bool FindWindow(const std::string& title, CPoint* origin, unsigned long* window = nullptr) const;
    // Gives the window the keyboard focus, as a window manager would.
    void Focus(unsigned long window) const;

    void MoveTo(CPoint screen) const;
    void Click(int button = 1) const;
    // Presses and releases the keys that type *text* (digits, lower-case
    // letters, space).
    void Type(const std::string& text) const;
    // Presses and releases the key of an X key symbol name ("Return").
    void Key(const char* keysymName) const;
    // Asks the window to close, as a window manager's close button does.
    void RequestClose(unsigned long window) const;
    // The colour of the screen pixel at *screen*, as 0xRRGGBB.
    unsigned long PixelAt(CPoint screen) const;

private:
    Display* display_ = nullptr;
    bool xtest_ = false;
};

// The centre of *control* on the screen, given where the X window of its
// top-level window has its client area: the host puts every control at the
// model's position in the client area.
CPoint CentreOnScreen(HWND control, CPoint clientOrigin);

}  // namespace qx::test
