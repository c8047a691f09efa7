// The name of this library's language modules, derived from its own file
// name so that renamed builds find their own modules:
//
//   libqxbase.so.1       -> qxbase        (modules qxbase.de, qxbase.en, ...)
//   libTessel100x32.so   -> Tessel100     (architecture suffix removed)
//   Tessel100_dbg.so     -> Tessel100     (everything from the first "_")
//
// A leading "lib" goes, then everything from the first "."; a "_" after the
// first character cuts the name there; a trailing "x64", "x64d", "x32" or
// "x32d" goes last.
#pragma once

#include <string>
#include <string_view>

#include "qx/platform/base/export.h"

namespace qx {

// The module base of library file *fileName* (without folder).
QX_API std::wstring LanguageModuleBase(std::wstring_view fileName);

}  // namespace qx
