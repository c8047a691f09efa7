// Column widths between the file's unit and what spreadsheet programs show.
//
// A file gives a column's width in characters of the standard font's widest
// digit plus the cell's padding of 5 pixels, cut to 1/256; programs show it
// without the padding, rounded to 1/100, and lay columns out in whole
// pixels. So a width shown as 8.43 is stored as 9.140625 (with a digit 7
// pixels wide), and every width shown stands for a whole number of pixels.
#pragma once

namespace qx::sheet::detail {

// The width shown for a stored width.
double DisplayWidth(double fileWidth, int digitPixels);
// The stored width for a width shown.
double FileWidth(double displayWidth, int digitPixels);
// The width shown for a sheet's columns of standard width, from its base
// width in characters (8 unless the sheet says otherwise): the base width's
// pixels and the padding, made up to a multiple of 8 pixels.
double StandardWidth(double baseWidth, int digitPixels);

}  // namespace qx::sheet::detail
