// strftime formatting of local time for CTime::Format. Internal to the os
// layer.
#pragma once

#include <cstdint>
#include <string>

namespace qx::detail {

// *format* applied to the local time of *seconds* since 1970; "" when the
// system cannot convert the time.
std::wstring FormatLocalTime(std::int64_t seconds, const wchar_t* format);

}  // namespace qx::detail
