// printf-style formatting into new strings, with the library's wide format
// conventions (qx/platform/base/format.h: %s wide, %S narrow, '.' as the
// decimal point whatever the locale, no length limit).
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/text/string_ex.h"

// The formatted text; "" for a null format.
QX_API CStringEx sformat(const wchar_t* format, ...);

// The same with string resource *resourceId* of the current resource module
// (qx/message/string_table.h) as the format; "" when there is no such string.
QX_API CStringEx sformat(unsigned resourceId, ...);

// A CString whose constructor formats; "" for a null or empty format.
class QX_API CStringFormat : public CString {
public:
    explicit CStringFormat(const wchar_t* format, ...);
};
