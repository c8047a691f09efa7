#include <time.h>

#include <cwchar>
#include <vector>

#include "qx/platform/os/internal/local_time_format.h"

namespace qx::detail {

std::wstring FormatLocalTime(std::int64_t seconds, const wchar_t* format) {
    if (!format || !*format) return {};
    const time_t value = static_cast<time_t>(seconds);
    ::tzset();
    struct tm local {};
    if (!::localtime_r(&value, &local)) return {};
    // wcsftime answers 0 both for a result that does not fit and for an empty
    // one; every conversion is short, so the bound below ends the doubling.
    const size_t limit = 64 * std::wcslen(format) + 256;
    for (size_t size = 128;; size *= 2) {
        std::vector<wchar_t> buffer(size);
        const size_t length = std::wcsftime(buffer.data(), size, format, &local);
        if (length > 0 || size >= limit) return std::wstring(buffer.data(), length);
    }
}

}  // namespace qx::detail
