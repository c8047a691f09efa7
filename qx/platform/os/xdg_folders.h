// The freedesktop base folders: where a desktop keeps the user's settings
// and data and where it looks for shared ones. Library paths, without a
// final separator; a relative value of a variable is ignored, as the base
// folder rules require.
#pragma once

#include <string>
#include <vector>

#include "qx/platform/base/export.h"

namespace qx {

// $XDG_CONFIG_HOME, else $HOME/.config; "" without a home folder.
QX_API std::wstring XdgConfigHome();
// $XDG_DATA_HOME, else $HOME/.local/share; "" without a home folder.
QX_API std::wstring XdgDataHome();
// $XDG_CACHE_HOME, else $HOME/.cache; "" without a home folder.
QX_API std::wstring XdgCacheHome();
// $XDG_CONFIG_DIRS (':'-separated), else /etc/xdg.
QX_API std::vector<std::wstring> XdgConfigDirs();
// $XDG_DATA_DIRS (':'-separated), else /usr/local/share and /usr/share.
QX_API std::vector<std::wstring> XdgDataDirs();

}  // namespace qx
