// The record syntax shared by layout files and page files: one record a line,
// a three-letter keyword, its arguments between the fifth and the last
// character, split at every comma into fields:
//
//   "OBJ(0,a<*K*>b,Arial,...)"  => keyword "OBJ", fields "0", "a<*K*>b", "Arial", ...
//   "PAG(Start,1)"              => keyword "PAG", fields "Start", "1"
//   "; OBJ(...)", "ABC"         => no record (a comment, too short)
//
// Characters the syntax cannot carry travel as escapes: "<*K*>" a comma,
// "<*R*>" a carriage return, "<*N*>" a line feed, and a field that is exactly
// "<*E*>" an empty text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

namespace qx {

struct RecordLine {
    CString keyword;
    std::vector<CString> fields;  // no field for an empty argument text
};

// The record of *line* (without its line end); nullopt for a line shorter
// than 4 characters or one starting with ';'. The fourth and the last
// character are not examined.
QX_API std::optional<RecordLine> SplitRecordLine(const CString& line);
// The same split without copies: false for no record, else *keyword* and
// *fields* view *line*. *fields* is cleared first, so one vector serves a
// whole file.
QX_API bool SplitRecordFields(std::wstring_view line, std::wstring_view& keyword,
                              std::vector<std::wstring_view>& fields);

// "<*E*>" alone means an empty text; other text stays.
QX_API CString UnescapeEmpty(std::wstring_view field);
// "<*K*>" becomes a comma.
QX_API CString UnescapeComma(std::wstring_view field);
// All four escapes, for the text of an object.
QX_API CString UnescapeText(std::wstring_view field);

// The object text as a record carries it: empty text as "<*E*>", carriage
// return, line feed and comma escaped.
QX_API CString EscapeText(const CString& text);
// Commas escaped, for names and faces.
QX_API CString EscapeComma(const CString& text);
// *text* appended to *out* with commas, and with *lineEnds* carriage returns
// and line feeds, escaped. An empty text adds nothing (see kEmptyTextEscape).
QX_API void AppendEscaped(std::wstring& out, std::wstring_view text, bool lineEnds);
// The field that stands for an empty object text.
inline constexpr wchar_t kEmptyTextEscape[] = L"<*E*>";

// A boolean field: text beginning with "TRUE" (any case) is true, with
// "FALSE" false, otherwise whether the integer it starts with is non-zero.
QX_API bool ReadBoolField(std::wstring_view field);

}  // namespace qx
