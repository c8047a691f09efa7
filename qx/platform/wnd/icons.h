// Icons as the window layer knows them: the platform's system icons (stop,
// question, exclamation, information, application) as handles that hosts
// draw in their own way, and icons a program makes from a picture file.
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/platform/wnd/window_types.h"

namespace qx::gfx {
class Picture;
}

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
// Frees an icon made by qx::LoadIconFile; FALSE for any other handle (system
// icons are never freed).
QX_API BOOL DestroyIcon(HICON icon);

namespace qx {

// Which system icon *icon* is (kIconHand, ...), 0 for another handle.
QX_API unsigned SystemIconOf(HICON icon);

// An icon made from the picture file at *path* (a library path): an .ico
// file or any other picture the drawing layer reads, shown scaled to
// *width* x *height* pixels. nullptr when the file holds no readable
// picture or a size is not positive. The caller owns the icon (DestroyIcon);
// a window it is given to does not free it.
QX_API HICON LoadIconFile(const CString& path, int width, int height);
// The picture and the size of an icon made by LoadIconFile; nullptr and an
// empty size for other handles.
QX_API const gfx::Picture* IconPicture(HICON icon);
QX_API CSize IconSize(HICON icon);

}  // namespace qx
