// The numbers and modes the family's image windows share: the image errors
// an application reacts to, the alignments and the erase modes.
#pragma once

#include "qx/platform/base/export.h"

// What ShowImageNow reports. The numbers are part of the family's interface:
// applications compare them, so they never change.
enum ImageErrors : int {
    IMAGE_OK = 0,
    IMAGE_NO_MEMORY = 1,             // out of memory, or the file header could not be read
    IMAGE_BUILTIN_SHOWN = 2,         // the file and "default.pcx" are both missing
    IMAGE_DEFAULT_SHOWN = 3,         // the file is missing; "default.pcx" is shown
    IMAGE_OPEN_FAILED = 5,           // neither the file nor "default.pcx" could be opened
    IMAGE_BAD_DEPTH = 7,             // unsupported colour depth, plane count or compression
    IMAGE_BAD_PALETTE_SIZE = 8,
    IMAGE_TIFF_MOTOROLA = 9,         // TIFF in Motorola byte order
    IMAGE_TIFF_COMPRESSED = 10,
    IMAGE_NO_PALETTE = 14,
    IMAGE_SEEK_FAILED = 15,          // a position in the file lies outside it
    IMAGE_READ_FAILED = 16,          // picture data or palette cut short
    IMAGE_UNKNOWN_FORMAT = 17,
    IMAGE_DWG_NO_PREVIEW = 18,
    IMAGE_FILE_LOCKED = 19,          // another program holds a lock; a built-in picture is shown
};

// The meaning of an image error in a few English words ("shown", "compressed
// TIFF"); "unknown image error" for a number outside the table.
QX_API const wchar_t* ImageErrorMeaning(int error);

// Where a picture sits in its window when it does not fill it.
enum Alignment : int {
    ALIGN_TOP_CENTER = 0,
    ALIGN_TOP_RIGHT = 1,
    ALIGN_RIGHT_CENTER = 2,
    ALIGN_BOTTOM_RIGHT = 3,
    ALIGN_BOTTOM_CENTER = 4,
    ALIGN_BOTTOM_LEFT = 5,
    ALIGN_LEFT_CENTER = 6,
    ALIGN_TOP_LEFT = 7,
    ALIGN_CENTER = 8,  // the default; any other value centres too
};

// The edges an alignment presses the picture against (no flag: centred on
// that axis).
inline constexpr unsigned ALIGN_FLAG_TOP = 1;
inline constexpr unsigned ALIGN_FLAG_RIGHT = 2;
inline constexpr unsigned ALIGN_FLAG_BOTTOM = 4;
inline constexpr unsigned ALIGN_FLAG_LEFT = 8;
QX_API unsigned AlignmentFlags(int alignment);

// What the window fills its client area with before it draws the picture.
enum EraseMode : int {
    ERASE_NONE = 0,
    ERASE_BACKGROUND = 1,     // the colour given by SetBackground
    ERASE_BUTTON_FACE = 2,    // the system's button-face colour
    ERASE_PICTURE_COLOR = 3,  // the picture's own background colour
};

// Stretch-mode flags of a raster picture.
inline constexpr unsigned short STRETCH_FIT = 4;             // fit keeping the aspect ratio
inline constexpr unsigned short STRETCH_NO_ENLARGE = 8;      // a smaller picture stays at its size
inline constexpr unsigned short STRETCH_FILL_WIDTH = 16;     // alone: fit the width, keep the aspect
inline constexpr unsigned short STRETCH_FILL_HEIGHT = 32;    // alone: fit the height, keep the aspect
inline constexpr unsigned short STRETCH_FILL = 16 | 32;      // both: fill the rectangle
inline constexpr unsigned short STRETCH_TRANSPARENT = 64;    // leave the picture's background colour out
// CqxImageWnd's repeated placements.
inline constexpr unsigned short STRETCH_TILE_ACROSS = 0x100 | 0x20;  // copies across, full height each
inline constexpr unsigned short STRETCH_TILE = 0x100 | 0x200;        // tiles at the picture's own size
inline constexpr unsigned short STRETCH_TILE_DOWN = 0x200 | 0x10;    // copies down, full width each
