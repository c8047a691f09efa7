// The library's message box. ShowMessage shows a box of the window layer
// through the UI host (under the batch host that is "caption: text" on
// stderr, answered with the default button, so that a program without a
// user never blocks); a replaceable handler can answer instead: tests and
// tools install their own.
//
// The MB_ and ID constants carry the values of Windows, at global scope as
// the family's code uses them; a Windows build takes them from windows.h.
#pragma once

#include <functional>
#include <utility>

#include "qx/platform/base/export.h"
#include "qx/platform/wnd/window_types.h"

#ifndef MB_OK
#define MB_OK 0x0u
#define MB_OKCANCEL 0x1u
#define MB_ABORTRETRYIGNORE 0x2u
#define MB_YESNOCANCEL 0x3u
#define MB_YESNO 0x4u
#define MB_RETRYCANCEL 0x5u
#define MB_ICONHAND 0x10u
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONQUESTION 0x20u
#define MB_ICONEXCLAMATION 0x30u
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONASTERISK 0x40u
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_DEFBUTTON1 0x0u
#define MB_DEFBUTTON2 0x100u
#define MB_DEFBUTTON3 0x200u
#define MB_TYPEMASK 0xFu
#define MB_ICONMASK 0xF0u
#define MB_DEFMASK 0xF00u
#endif

#ifndef IDOK
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7
#endif

// The platform's message box: *text* above a row of the type's buttons, the
// MB_DEFBUTTONn-th of them the default, owned by *owner*. Escape and the
// close box answer IDCANCEL where the box has Cancel and IDOK for a box of
// OK alone; a Yes/No or Abort/Retry/Ignore box must be answered by a button.
// Returns the button's ID, 0 when the box cannot be made.
QX_API int MessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, unsigned type);

namespace qx {

// Receives text and caption never null.
using MessageHandler = std::function<int(const wchar_t* text, const wchar_t* caption, unsigned flags)>;

// Shows a message box of type and default button *flags* and returns the
// ID of the button chosen. Null text or caption counts as "".
QX_API int ShowMessage(const wchar_t* text, const wchar_t* caption, unsigned flags);

// The framework's message box: the caption is the application's title (the
// running program's file name without folder and extension).
QX_API int ShowAppMessage(const wchar_t* text, unsigned flags);

// The box ShowMessage shows when no handler answers: this layer's plain box
// (MessageBox) until the family's message box, which sits above this layer,
// installs itself when the library is loaded. Returns the one before.
using MessageBoxFunction = int (*)(const wchar_t* text, const wchar_t* caption, unsigned flags);
QX_API MessageBoxFunction SetDefaultMessageBox(MessageBoxFunction box);

// Installs *handler* (nullptr: the default) and returns the one installed
// before (nullptr for the default).
QX_API MessageHandler SetMessageHandler(MessageHandler handler);

// The button a box of *flags* offers as its default: the MB_DEFBUTTONn-th of
// its type's buttons, the first when it has fewer. MB_YESNO|MB_DEFBUTTON2
// gives IDNO; an unknown type counts as MB_OK.
QX_API int DefaultMessageButton(unsigned flags);

// Installs a handler for the lifetime of the object, then restores the
// previous one.
class ScopedMessageHandler {
public:
    explicit ScopedMessageHandler(MessageHandler handler) : previous_(SetMessageHandler(std::move(handler))) {}
    ~ScopedMessageHandler() { SetMessageHandler(std::move(previous_)); }
    ScopedMessageHandler(const ScopedMessageHandler&) = delete;
    ScopedMessageHandler& operator=(const ScopedMessageHandler&) = delete;

private:
    MessageHandler previous_;
};

}  // namespace qx
