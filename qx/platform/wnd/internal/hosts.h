// The UI hosts the layer builds in, for the host selection.
#pragma once

#include <memory>
#include <string>

#include "qx/platform/wnd/ui_host.h"

namespace qx::wnd {

std::unique_ptr<UiHost> MakeBatchHost();
std::unique_ptr<UiHost> MakeTerminalHost();
// From QX_UI_IMAGES (the folder PNG files go to).
std::unique_ptr<UiHost> MakeImageHostFromEnvironment(std::string* why);
// From QX_UI_SCRIPT and QX_UI_TRANSCRIPT.
std::unique_ptr<UiHost> MakeScriptHostFromEnvironment(std::string* why);
// Whether the environment names a display (DISPLAY or WAYLAND_DISPLAY).
bool HasDisplay();
// The GTK host from the plugin libqxbase-gtk.so beside this library; nullptr
// with *why* when there is no display, the plugin is missing or does not
// load, or GTK cannot open the display. The plugin stays loaded for the rest
// of the process (the host's code and GTK live in it).
std::unique_ptr<UiHost> LoadGtkHost(std::string* why);

}  // namespace qx::wnd
