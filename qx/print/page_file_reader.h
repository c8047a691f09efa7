// Reading one page file back (see page_file.h) for drawing or text output.
#pragma once

#include <memory>
#include <vector>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/print/print_object.h"

namespace qx {

// One page as its file describes it.
struct QX_API LoadedPage {
    CString number;      // the page record's number text
    int width = 0;       // engine units
    int landscape = 0;
    int mode = 0;        // page mode of its section
    std::vector<std::unique_ptr<PRINTOBJ>> objects;
};

// The page in file *path*; an empty page when it cannot be read. A version
// below 2.0 ends the reading (what was read stays). The character U+0080
// reads as the euro sign. Image objects without a path are left out; a path
// whose second character is neither ':' nor a backslash is taken relative to
// *layoutFolder* (the layout's folder, ending with a separator), and the
// object's text becomes the resolved path: loading the image is the
// caller's. Throws CInvalidArgException for an object record with fewer than
// 28 fields.
QX_API LoadedPage ReadPageFile(const CString& path, const CString& layoutFolder);

// The file of an image object: a path whose second character is ':' or a
// backslash ("C:\\Logos\\a.png", "\\\\server\\a.png") as it stands, any other
// relative to *layoutFolder*.
QX_API CString ResolveImagePath(const CString& path, const CString& layoutFolder);

}  // namespace qx
