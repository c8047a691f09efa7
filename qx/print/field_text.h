// How the engine puts values into the texts of a layout: data values into
// "%s" markers, page numbers and running totals into their objects, and the
// numbers that running totals add up.
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

namespace qx {

// *text* with *value* in place of every "%s", or *value* itself when the
// text holds no "%s".
//   "Seite %s", "3" => "Seite 3"      "", "3" => "3"      "x", "3" => "3"
QX_API CString FillPlaceholders(const CString& text, const CString& value);

// The text of a data field: *value* alone when the layout text holds no
// "%s"; with two markers and a non-empty *extra*, the text before the first,
// the value, the text between the two markers less the character right after
// the first marker, the extra, then the text after the second marker;
// otherwise every "%s" becomes the value.
//   "%s %s", "3", "kg"   => "3kg"
//   "Menge: %s", "12", "" => "Menge: 12"
QX_API CString SubstituteField(const CString& text, const CString& value, const CString& extra);

// A running total as reports show it: integer digits grouped by threes with
// '.', then ',' and the first *decimals* digits of the six that "%f" gives,
// cut rather than rounded; no ',' for 0 decimals (negative counts as 0).
//   1234567.891, 2 => "1.234.567,89"     -123.5, 1 => "-123,5"
QX_API CString FormatRunningTotal(double total, int decimals);

// The number a text contributes to a running total: with a comma in the
// text, '.' are dropped and ',' read as the decimal point (German form);
// then the leading number, 0 when there is none.
//   "1.234,5" => 1234.5     "12.5" => 12.5     "abc" => 0
QX_API double ReadTotalAmount(const CString& text);

}  // namespace qx
