// Object records ("OBJ(...)" lines) of layout files and page files, read into
// PRINTOBJ and written from it.
//
// A record has 28, 29 or 34 fields in PRINTOBJ's order: field 28 (formatted)
// is read from 29 fields on, fields 29 to 33 only when all 34 are there.
// Without fields 32 and 33 an object other than a text takes its outline
// width from the size (field 3) and its corner size from the rounding value
// (field 20).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/print/print_object.h"

namespace qx {

// The object of an object record's *fields*. Coordinates, size, outline width
// and corner size are multiplied by *scale* and cut toward zero (results
// beyond the int range stop at its ends). Throws CInvalidArgException when
// there are fewer than 28 fields: the layout is malformed. Malformed numbers
// read as 0.
QX_API std::unique_ptr<PRINTOBJ> ReadObjectRecord(const std::vector<CString>& fields, double scale);
// The same from fields that view a line (SplitRecordFields).
QX_API std::unique_ptr<PRINTOBJ> ReadObjectRecord(const std::vector<std::wstring_view>& fields, double scale);

// The object record of *object* moved by (*dx*, *dy*), all 34 fields, without
// a line end: width and height instead of right and bottom, booleans as 0 or
// 1, colours as three channels, the text escaped and commas in face and name
// escaped, so that ReadObjectRecord with scale 1.0 gives the moved object
// back.
QX_API CString FormatObjectRecord(const PRINTOBJ& object, int dx, int dy);
// The same record appended to *out*, for writers that collect many records
// in one buffer.
QX_API void AppendObjectRecord(std::wstring& out, const PRINTOBJ& object, int dx, int dy);

}  // namespace qx
