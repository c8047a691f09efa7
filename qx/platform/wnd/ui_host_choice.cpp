// Choosing the UI host: QX_UI, or what the process has (a display, a
// terminal) when it says auto.
#include <cstdio>
#include <cstdlib>

#include "qx/platform/os/terminal.h"
#include "qx/platform/wnd/internal/hosts.h"
#include "qx/platform/wnd/ui_host.h"

namespace qx {
namespace {

std::unique_ptr<UiHost>& Installed() {
    static std::unique_ptr<UiHost> host;
    return host;
}

// What the process has: a display and the GTK plugin, else a terminal, else
// nobody to ask.
std::unique_ptr<UiHost> MakeAutoHost() {
    if (wnd::HasDisplay()) {
        std::string ignored;  // no plugin or no display to open: look further
        if (std::unique_ptr<UiHost> gtk = wnd::LoadGtkHost(&ignored)) return gtk;
    }
    // Somebody at a terminal answers there; everybody else gets the default
    // answers.
    if (StandardInputIsTerminal() && StandardErrorIsTerminal()) return wnd::MakeTerminalHost();
    return wnd::MakeBatchHost();
}

}  // namespace

std::unique_ptr<UiHost> MakeUiHost(const std::string& name, std::string* why) {
    if (name == "auto" || name.empty()) return MakeAutoHost();
    if (name == "gtk") return wnd::LoadGtkHost(why);
    if (name == "batch") return wnd::MakeBatchHost();
    if (name == "terminal") return wnd::MakeTerminalHost();
    if (name == "script") return wnd::MakeScriptHostFromEnvironment(why);
    if (name == "image") return wnd::MakeImageHostFromEnvironment(why);
    if (why) *why = "QX_UI names no host this build has: \"" + name + "\" (gtk, batch, terminal, script, image, auto)";
    return nullptr;
}

UiHost& CurrentUiHost() {
    std::unique_ptr<UiHost>& host = Installed();
    if (!host) {
        const char* name = std::getenv("QX_UI");
        std::string why;
        host = MakeUiHost(name ? name : "", &why);
        if (!host) {
            // A wrong setting must not leave the program without answers.
            std::fprintf(stderr, "qxbase: %s; answering without a user\n", why.c_str());
            host = wnd::MakeBatchHost();
        }
    }
    return *host;
}

std::unique_ptr<UiHost> SetUiHost(std::unique_ptr<UiHost> host) {
    std::unique_ptr<UiHost> previous = std::move(Installed());
    Installed() = std::move(host);
    return previous;
}

}  // namespace qx
