// initLanguage: loads this library's language module for a language and
// fills the message table (message_table.h) and the string table
// (string_table.h) from it.
//
// The module is the file <base>.<lang> beside this library (see
// language_module_name.h). When it is missing or damaged, the first module
// that opens is taken from the session's language, English, and then all
// modules in folder order; when none opens, the user is told and the library
// shows its German texts.
// Not guarded by a lock: called from the user-interface thread.
#pragma once

#include <memory>
#include <string>

#include "qx/locale/language_module.h"
#include "qx/platform/base/export.h"

// *reason* 1 does nothing (the library passes 0 when it forwards the call to
// the modules it loads); so do a null or empty *lang* and the language
// already loaded (compared without regard to case).
extern "C" QX_API void initLanguage(int reason, const wchar_t* lang);

namespace qx {

// The code of the loaded language module ("" when none is loaded), spelled
// as in the module's file name.
QX_API std::wstring LoadedLanguage();

// The loaded language module; null when none is loaded.
QX_API std::shared_ptr<const LanguageModule> LoadedLanguageModule();

// Makes initLanguage look for modules named *base*.xx in *folder* (ending
// with a separator) instead of beside this library. Empty texts restore the
// library's own place. For tests and tools.
QX_API void SetLanguageModuleLocation(std::wstring folder, std::wstring base);

// Releases the loaded module and empties the message and string tables, as
// unloading the library does; the module location is reset too.
QX_API void ResetLanguageModule();

}  // namespace qx
