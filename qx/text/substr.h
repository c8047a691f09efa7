// Fields of delimited texts, as the family's older code reads them: the n-th
// field, counted from 1, of a text separated by a character, a set of
// characters or a separator text. A field never reaches past a line end.
//
//   substr(L"a;b;c", 2, L';', field)           -> 1, field == L"b"
//   substr(CString(L"a;b\r\nx"), 2, sep)       -> L"b"        (sep = L";")
//   substr(CString(L"a--b--c\n"), 3, L"--")    -> L"c"
//
// Field 0 and below do not exist: the results are 0 and "".
#pragma once

#include <cstddef>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

// Copies field *n* of *text* (fields separated by *separator*; a field ends
// at the separator, a line feed or the end) into *field*, which holds
// *fieldSize* characters: at most fieldSize - 1 of the field and a zero. A
// longer field is cut. Returns 1, or 0 when *text* is null, has fewer fields,
// or *field* has no room at all.
QX_API int substr(const wchar_t* text, int n, wchar_t separator, wchar_t* field, size_t fieldSize);

// The same into a character array, whose size bounds the copy. There is no
// form with a bare pointer: without a size nothing could keep the copy
// inside the caller's buffer.
template <size_t N>
int substr(const wchar_t* text, int n, wchar_t separator, wchar_t (&field)[N]) {
    return substr(text, n, separator, field, N);
}

// Field *n* when the fields are separated by the whole text *separators*:
// everything after the (n-1)-th occurrence, cut before the first character
// that belongs to *separators*, then before the first carriage return or
// line feed. "" when there are fewer separators.
QX_API CString substr(const CString& text, int n, wchar_t* const separators);

// Field *n* when every whole occurrence of *separatorText* (left to right,
// without overlap) separates fields; a line feed that ends the text is not
// part of the last field. "" when there are fewer fields. An empty separator
// text leaves the text one field.
QX_API CString substr(const CString& text, int n, const CString& separatorText);
