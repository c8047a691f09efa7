// How an image window finds the file for a name: a library reference
// ("symbols?valve"), an absolute name that also sets the window's default
// folder, a name with an extension, or a base name probed with the
// extensions of every kind in the order of the current one; and
// "default.pcx" in the default folder when nothing fits.
#pragma once

#include <string>

#include "qx/platform/base/export.h"

namespace qx {

// The kinds of picture an image window shows.
enum class ImageKind : int {
    Pcx = 0,
    Bmp = 1,
    Tif = 2,
    Slide = 3,
    SlideLibrary = 4,
    Dwg = 5,
    Jpeg = 6,
    Text = 7,
};

// A slide name of a library reference keeps at most this many characters.
inline constexpr size_t kMaxSlideName = 260;

struct ResolvedImage {
    ImageKind kind = ImageKind::Pcx;
    std::wstring path;       // the file to read (library path)
    std::wstring slideName;  // the slide of a library reference, else empty
    bool standIn = false;    // "default.pcx" stands in for the name
};

// Resolves *name* for a window whose current kind is *currentKind* and whose
// default folder is *defaultFolder* (an absolute name replaces it; empty
// means the current folder). The working folder is never changed: names
// are made absolute against the default folder instead, which finds the
// same files without touching the rest of the process.
QX_API ResolvedImage ResolveImageName(std::wstring_view name, ImageKind currentKind, std::wstring* defaultFolder);

// "default.pcx" in *defaultFolder* (the current folder when it is empty).
QX_API std::wstring StandInPicturePath(const std::wstring& defaultFolder);

}  // namespace qx
