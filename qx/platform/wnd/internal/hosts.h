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

}  // namespace qx::wnd
