// Icons as the window layer knows them: the platform's system icons (stop,
// question, exclamation, information, application) as handles that hosts
// draw in their own way, and icons a program makes from a picture.
#pragma once

#include "qx/platform/base/export.h"
#include "qx/platform/wnd/window_types.h"

struct HICON__;
using HICON = HICON__*;

// Resource names made from numbers, as the platform writes them.
inline const wchar_t* MAKEINTRESOURCE(unsigned id) { return reinterpret_cast<const wchar_t*>(static_cast<std::uintptr_t>(id & 0xFFFF)); }

inline constexpr unsigned kIconApplication = 32512;
inline constexpr unsigned kIconHand = 32513;
inline constexpr unsigned kIconQuestion = 32514;
inline constexpr unsigned kIconExclamation = 32515;
inline constexpr unsigned kIconAsterisk = 32516;
inline const wchar_t* const IDI_APPLICATION = MAKEINTRESOURCE(kIconApplication);
inline const wchar_t* const IDI_HAND = MAKEINTRESOURCE(kIconHand);
inline const wchar_t* const IDI_QUESTION = MAKEINTRESOURCE(kIconQuestion);
inline const wchar_t* const IDI_EXCLAMATION = MAKEINTRESOURCE(kIconExclamation);
inline const wchar_t* const IDI_ASTERISK = MAKEINTRESOURCE(kIconAsterisk);
inline const wchar_t* const IDI_ERROR = IDI_HAND;
inline const wchar_t* const IDI_WARNING = IDI_EXCLAMATION;
inline const wchar_t* const IDI_INFORMATION = IDI_ASTERISK;

// A system icon for a null instance and one of the IDI_ names; nullptr
// otherwise (the family's own icons come from picture files).
QX_API HICON LoadIcon(HINSTANCE instance, const wchar_t* name);

namespace qx {

// Which system icon *icon* is (kIconHand, ...), 0 for another handle.
QX_API unsigned SystemIconOf(HICON icon);

}  // namespace qx
