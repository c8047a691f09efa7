#include "qx/text/sformat.h"

#include <cstdarg>
#include <optional>
#include <string>

#include "qx/message/string_table.h"
#include "qx/platform/base/format.h"

CStringEx sformat(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    CStringEx text(qx::FormatV(format, args));
    va_end(args);
    return text;
}

CStringEx sformat(unsigned resourceId, ...) {
    std::optional<std::wstring> format = qx::LoadResourceString(resourceId);
    if (!format) return CStringEx();
    va_list args;
    va_start(args, resourceId);
    CStringEx text(qx::FormatV(format->c_str(), args));
    va_end(args);
    return text;
}

CStringFormat::CStringFormat(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    str() = qx::FormatV(format, args);
    va_end(args);
}
