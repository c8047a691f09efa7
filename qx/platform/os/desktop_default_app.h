// The program the desktop opens a file type with, by the freedesktop rules:
// the extension's MIME type from the shared MIME database (mime/globs2 in
// $XDG_DATA_HOME and $XDG_DATA_DIRS) or /etc/mime.types, the default
// application for that type from the mimeapps.list files ($XDG_CONFIG_HOME,
// $XDG_CONFIG_DIRS, $XDG_DATA_HOME/applications, $XDG_DATA_DIRS/applications),
// and the program of its .desktop file's Exec line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "qx/platform/base/export.h"

namespace qx {

// The MIME type of files with *extension* (with or without its '.',
// compared without regard to case); nullopt when no database knows it.
QX_API std::optional<std::wstring> MimeTypeOfExtension(std::wstring_view extension);

// The program (library path) of the default application for *mimeType*. A
// program named without a folder is looked for along PATH and given as
// named when not found. nullopt when no installed application is set.
QX_API std::optional<std::wstring> DefaultProgramForMimeType(std::wstring_view mimeType);

}  // namespace qx
