// Vector slides: single slide files (".sld") and slide libraries (".slb")
// that hold many named slides, read into a list of points and drawn scaled
// into a rectangle of a device context.
//
// A slide is a header (its drawing extent, maximum X and maximum Y, and a
// test number that tells the byte order of its 16-bit words) followed by
// records: vectors with absolute ends, vectors given as signed byte offsets
// from a reference point, colour changes, solid fills (skipped) and an end
// record. Both byte orders are read. A library is a header, a directory of
// 36-byte entries (a zero-terminated name of up to 32 bytes and the 4-byte
// little-endian position of the slide) ended by an entry with an empty name
// or by the end of the file, and the slides themselves.
//
// Every file is untrusted: it is read front to back through a small buffer,
// nothing is allocated from a count or an offset it states, and the point
// list grows only with records actually read, so a file gives at most about
// one point per byte. A file that ends before its end record keeps the
// points read so far.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/platform/gfx/gdi_types.h"
#include "qx/platform/wnd/window_types.h"

class CDC;

// One entry of a slide's point list.
struct SlidePoint {
    std::int32_t x = 0;  // slide units, to the right
    std::int32_t y = 0;  // slide units, upward
    // 0: move here (the start of a stroke); 1 to 255: the colour index of
    // the stroke from the previous point to this one.
    std::uint16_t color = 0;

    friend bool operator==(const SlidePoint&, const SlidePoint&) = default;
};

class QX_API CSlideImage {
public:
    // Empty: no points, extent 0 x 0, colour 7 white, not loaded.
    CSlideImage();
    ~CSlideImage();
    CSlideImage(const CSlideImage&) = delete;
    CSlideImage& operator=(const CSlideImage&) = delete;

    // Reads a slide; 1 when it was read, 0 otherwise. Without a library
    // (null or empty) *slideName* is the slide file, with ".SLD" appended
    // when it contains neither ".sld" nor ".SLD"; with one, ".SLB" is
    // appended to *library* on the same rule and the slide is the first
    // directory entry whose name equals *slideName* without regard to case,
    // both taken as 8-bit text in the system's code page. Every Load first
    // empties the slide. Missing file, wrong header, a slide not in the
    // library and an empty name give 0 without a message and leave the slide
    // empty. A record word 0xFCnn other than the end record 0xFC00 shows the
    // stop message "ENDOFSLD erreicht..." (once per Load) and reading goes
    // on; a file that ends early gives the points read so far and 1.
    int Load(const wchar_t* library, const wchar_t* slideName);

    // Paints the slide into *rect* of *dc* and returns 1 (0 for a null
    // context). Without *stretch* both axes take the smaller of the two
    // scale factors and the slide is centred; with it each axis fills the
    // rectangle. Points are rounded to the nearest pixel (halves up), y
    // grows upward from the rectangle's bottom, strokes are solid one-pixel
    // lines in the colour of their index: 1 red, 2 yellow, 3 green, 4 cyan,
    // 5 blue, 6 magenta, 7 the slide's colour 7, 255 white, all others
    // black. The context's pen is restored afterwards. A slide whose
    // maximum X or maximum Y is 0 has no scale: nothing is drawn and the
    // result is 1.
    int Draw(CDC* dc, const CRect& rect, BOOL stretch);

    // The colour drawn for colour index 7 (white until set: the family
    // draws slides on dark or button-face backgrounds).
    void SetColor7(COLORREF color) { color7_ = color; }
    COLORREF GetColor7() const { return color7_; }

    const std::vector<SlidePoint>& GetPoints() const { return points_; }
    // The drawing extent from the slide's header.
    unsigned short GetMaxX() const { return maxX_; }
    unsigned short GetMaxY() const { return maxY_; }
    bool IsLoaded() const { return loaded_; }

private:
    std::vector<SlidePoint> points_;
    unsigned short maxX_ = 0;
    unsigned short maxY_ = 0;
    COLORREF color7_ = RGB(255, 255, 255);
    bool loaded_ = false;
};

namespace qx {

// One entry of a slide library's directory.
struct SlideEntry {
    std::string name;  // 8-bit text as stored, up to its terminating zero
    std::uint32_t offset = 0;  // the slide's position in the file
};

// The directory of the slide library *library* (the path as given, no
// extension appended), in file order, up to the entry with an empty name or
// the end of the file. False, with *entries* empty, for a file that cannot
// be opened or does not begin with the library header.
QX_API bool ReadSlideDirectory(const CString& library, std::vector<SlideEntry>* entries);

}  // namespace qx
