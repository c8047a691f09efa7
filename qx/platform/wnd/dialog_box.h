// Dialogs: windows of the dialog class made from a template, with a dialog
// procedure, the dialog manager's keyboard (Tab, Enter for the default
// button, Escape for Cancel) and modal loops run by the UI host.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <optional>
#include <vector>

#include "qx/platform/base/export.h"
#include "qx/platform/wnd/dialog_template.h"
#include "qx/platform/wnd/window.h"

// Returns TRUE for a message it handled (the result then is in
// DWLP_MSGRESULT), FALSE to leave it to the dialog's default handling.
using DLGPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

inline constexpr WORD DC_HASDEFID = 0x534B;

// A modeless dialog: created (shown when the template has WS_VISIBLE) with
// WM_INITDIALOG sent; nullptr when a control's class is unknown or the
// procedure refuses. The owner is the top-level window of *parent*.
QX_API HWND CreateDialogIndirectParam(const qx::DialogTemplate& dialog, HWND parent, DLGPROC proc, LPARAM init);
// A modal dialog: the owner is disabled while the host runs the modal loop;
// the result is what EndDialog was given, -1 when the dialog could not be
// made.
QX_API LRESULT DialogBoxIndirectParam(const qx::DialogTemplate& dialog, HWND parent, DLGPROC proc, LPARAM init);
// Ends a modal dialog's loop with *result*; the dialog is destroyed when its
// loop returns.
QX_API BOOL EndDialog(HWND dialog, LRESULT result);
// The dialog manager's handling of *msg* for *dialog*: TRUE when it took
// the message (keys that move the focus, press a button or cancel).
QX_API BOOL IsDialogMessage(HWND dialog, MSG* msg);
QX_API HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
// Converts dialog units of *dialog*'s font to pixels.
QX_API BOOL MapDialogRect(HWND dialog, CRect* rect);
QX_API BOOL CheckDlgButton(HWND dialog, int id, UINT check);
QX_API UINT IsDlgButtonChecked(HWND dialog, int id);
// The average character width (low word) and height (high word) of the
// default GUI font, the units of templates without a font of their own.
QX_API LONG_PTR GetDialogBaseUnits();
// Whether the key is down: the high bit of the result, as the platform has it.
QX_API short GetKeyState(int virtualKey);

namespace qx {

// The dialog templates of the resource modules: the library's built-in
// dialogs, and those of the current resource module (a language module),
// which replace built-in ones of the same id. The layer that loads modules
// sets the source: the bytes of template *id*, or null when the module has
// none.
using DialogTemplateSource = std::function<const std::string*(unsigned id)>;
QX_API void SetBuiltInDialogTemplate(unsigned id, std::vector<std::uint8_t> data);
QX_API void SetModuleDialogTemplateSource(DialogTemplateSource source);
// The template of dialog *id*: the module's, else the built-in one; nullopt
// when neither has it or it cannot be read.
QX_API std::optional<DialogTemplate> FindDialogTemplate(unsigned id);

}  // namespace qx
