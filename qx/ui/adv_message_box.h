// The family's message box: translated buttons for the platform's box
// types, or free-text buttons, an optional check box (its state in and out
// through the caller's int) and an optional input field (its text in and
// out through the caller's string). The box is built from an in-memory
// template and run modally over the thread's main window (when that exists
// and is enabled).
//
// Returns the pressed button's ID (IDOK ... IDNO), for free-text buttons the
// zero-based index of the one pressed, or -1 when the box cannot be made.
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

// *buttons*: labels separated by ";" (empty pieces kept); non-empty, they
// replace the type's buttons. *flags*: the type (low four bits), the icon
// (MB_ICON...) and the default button (MB_DEFBUTTONn).
QX_API int advMessageBox(const wchar_t* text, const wchar_t* buttons, unsigned flags, const wchar_t* caption,
                         const wchar_t* checkText = nullptr, int* checkState = nullptr);
QX_API int advMessageBox(const wchar_t* text, unsigned flags, const wchar_t* caption);
// The text is the string resource *resourceId* of the current resource
// module.
QX_API int advMessageBox(unsigned resourceId, unsigned flags, const wchar_t* caption);
// Shows an input field filled with *value*; Enter in the field or a button
// writes the field's text back to *value*.
QX_API int advInputBox(const wchar_t* text, unsigned flags, const wchar_t* caption, CString& value);
