#include "tests/platform/wnd_gtk/x_robot.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <cstring>

namespace qx::test {
namespace {

// The name of *window* (WM_NAME), empty when it has none.
std::string NameOf(Display* display, Window window) {
    XTextProperty property{};
    if (!XGetWMName(display, window, &property) || !property.value) return {};
    std::string name(reinterpret_cast<const char*>(property.value), property.nitems);
    XFree(property.value);
    return name;
}

}  // namespace

XRobot::XRobot() : display_(XOpenDisplay(nullptr)) {
    int event = 0, error = 0, major = 0, minor = 0;
    xtest_ = display_ && XTestQueryExtension(display_, &event, &error, &major, &minor);
}

XRobot::~XRobot() {
    if (display_) XCloseDisplay(display_);
}

bool XRobot::Ready(std::string* why) const {
    if (!display_) *why = "the X display cannot be opened";
    else if (!xtest_) *why = "the X server has no XTEST extension";
    return display_ && xtest_;
}

bool XRobot::FindWindow(const std::string& title, CPoint* origin, unsigned long* found) const {
    Window root = DefaultRootWindow(display_), parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display_, root, &root, &parent, &children, &count)) return false;
    bool ok = false;
    for (unsigned i = 0; i < count && !ok; ++i) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display_, children[i], &attributes) || attributes.map_state != IsViewable) continue;
        if (NameOf(display_, children[i]) != title) continue;
        int x = 0, y = 0;
        Window child = 0;
        XTranslateCoordinates(display_, children[i], root, 0, 0, &x, &y, &child);
        *origin = CPoint(x, y);
        if (found) *found = children[i];
        ok = true;
    }
    if (children) XFree(children);
    return ok;
}

void XRobot::Focus(unsigned long window) const {
    XSetInputFocus(display_, window, RevertToParent, CurrentTime);
    XSync(display_, False);
}

void XRobot::MoveTo(CPoint screen) const {
    XTestFakeMotionEvent(display_, -1, screen.x, screen.y, CurrentTime);
    XSync(display_, False);
}

void XRobot::Click(int button) const {
    XTestFakeButtonEvent(display_, static_cast<unsigned>(button), True, CurrentTime);
    XTestFakeButtonEvent(display_, static_cast<unsigned>(button), False, CurrentTime);
    XSync(display_, False);
}

void XRobot::Type(const std::string& text) const {
    for (char c : text) {
        const char name[2] = {c, 0};
        const KeySym symbol = c == ' ' ? XK_space : XStringToKeysym(name);
        const KeyCode code = XKeysymToKeycode(display_, symbol);
        if (!code) continue;
        XTestFakeKeyEvent(display_, code, True, CurrentTime);
        XTestFakeKeyEvent(display_, code, False, CurrentTime);
    }
    XSync(display_, False);
}

void XRobot::Key(const char* keysymName) const {
    const KeyCode code = XKeysymToKeycode(display_, XStringToKeysym(keysymName));
    if (!code) return;
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    XSync(display_, False);
}

void XRobot::RequestClose(unsigned long window) const {
    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XSync(display_, False);
}

unsigned long XRobot::PixelAt(CPoint screen) const {
    XImage* image = XGetImage(display_, DefaultRootWindow(display_), screen.x, screen.y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return ~0ul;
    const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return pixel;
}

CPoint CentreOnScreen(HWND control, CPoint clientOrigin) {
    CRect rect;
    GetWindowRect(control, &rect);
    CPoint client;
    ClientToScreen(GetTopLevelWindow(control), &client);
    return CPoint(clientOrigin.x + rect.left - client.x + rect.Width() / 2,
                  clientOrigin.y + rect.top - client.y + rect.Height() / 2);
}

}  // namespace qx::test
