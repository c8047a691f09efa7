// The layout ("mask") file of a report and its loader: page sections (PAG),
// page parts (FRM), print objects (OBJ), the version (VER) and the page
// geometry (DOC).
//
// A file holds one or more sections, each starting at a PAG record; the
// engine loads one section at a time with LoadSection, starting the next one
// at the line the previous load returned. Layout coordinates are multiplied
// by the layout scale, which DOC derives from the page width.
#pragma once

#include <vector>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/print/page_geometry.h"
#include "qx/print/print_object.h"

namespace qx {

// The layout file a report uses.
struct QX_API LayoutFile {
    CString path;
    // The file is scrambled (its name ends in ".prx", any case).
    bool scrambled = false;
    // The folder part of the path given last (up to and including the last
    // backslash), for image paths relative to the layout.
    CString folder;

    // Takes *newPath* when it names a readable file (true); otherwise keeps
    // the previous path (false). The folder is taken from *newPath* either
    // way.
    bool Set(const CString& newPath);
};

// What a section load found.
enum class SectionFound {
    kSection,     // a PAG record opened a section
    kNone,        // the lines read hold no section (the file ended, or "%EOF")
    kOldVersion,  // a version below 2.0: the layout is rejected
    kUnreadable,  // the file cannot be read
};

// What one section load leaves for page composition.
struct QX_API LayoutState {
    // In file order: the page header first, the page footer last, the
    // headers and footers of data levels 1, 2, ... paired from the outside in.
    std::vector<CPagePart> parts;
    std::vector<SUM> sums;
    double scale = 1.0;
    int pageHeight = 0;  // engine units
    int pageMode = 0;    // 0 one page per record, 1 flowing pages
    // The section starts on the last page of the previous one.
    bool continueSection = false;
    SectionFound found = SectionFound::kNone;
};

// Loads the section of *file* that starts at line *startLine* (0-based) into
// *state*, replacing its parts and sums (the caller empties its own list of
// repeated headers). Returns the line at which the next section starts, the
// last line's number when the file ends, or 0 when the file ends with a
// "%EOF" page record, declares a version below 2.0 (then no part is left) or
// cannot be read; *state*.found says whether a section was read and, when
// none was, why. Throws CInvalidArgException for an object record with fewer
// than 28 fields.
QX_API int LoadSection(LayoutState& state, const LayoutFile& file, int startLine);

}  // namespace qx
