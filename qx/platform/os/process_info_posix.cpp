#include <dlfcn.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "qx/platform/base/utf.h"
#include "qx/platform/os/last_error.h"
#include "qx/platform/os/native_path.h"
#include "qx/platform/os/process_info.h"

namespace qx {

std::wstring UserName() {
    const uid_t uid = ::geteuid();
    std::vector<char> buffer(1024);
    struct passwd entry {};
    struct passwd* found = nullptr;
    int error = 0;
    while ((error = ::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found)) == ERANGE)
        buffer.resize(buffer.size() * 2);
    if (error == 0 && found) return Utf8ToWide(found->pw_name);
    // Containers often run under a user id the database does not know.
    for (const char* variable : {"LOGNAME", "USER"}) {
        const char* name = std::getenv(variable);
        if (name && *name) return Utf8ToWide(name);
    }
    return std::to_wstring(uid);
}

std::wstring ProgramPath() {
    std::string path(PATH_MAX, '\0');
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
        if (length < 0) {
            SetLastError(ErrorFromErrno(errno));
            return {};
        }
        // A result that fills the buffer may have been cut short.
        if (static_cast<size_t>(length) < path.size()) {
            path.resize(static_cast<size_t>(length));
            return FromNativePath(path);
        }
        path.resize(path.size() * 2);
    }
}

std::wstring LibraryPath() {
    // Any function of this library names the object it was loaded from.
    Dl_info info {};
    if (::dladdr(reinterpret_cast<const void*>(&LibraryPath), &info) == 0 || !info.dli_fname) {
        SetLastError(kErrorFileNotFound);
        return {};
    }
    char* resolved = ::realpath(info.dli_fname, nullptr);
    const std::wstring path = FromNativePath(resolved ? resolved : info.dli_fname);
    std::free(resolved);
    return path;
}

std::optional<CalendarTime> TimeToLocal(std::int64_t seconds) {
    const time_t value = static_cast<time_t>(seconds);
    // localtime_r, unlike localtime, need not notice a changed TZ by itself.
    ::tzset();
    struct tm local {};
    if (!::localtime_r(&value, &local) || local.tm_year > INT_MAX - 1900) return std::nullopt;
    CalendarTime time;
    time.year = local.tm_year + 1900;
    time.month = local.tm_mon + 1;
    time.dayOfWeek = local.tm_wday;
    time.day = local.tm_mday;
    time.hour = local.tm_hour;
    time.minute = local.tm_min;
    time.second = local.tm_sec;
    return time;
}

std::optional<std::int64_t> LocalToTime(const CalendarTime& time) {
    if (time.year < INT_MIN + 1900) return std::nullopt;
    struct tm local {};
    local.tm_year = time.year - 1900;
    local.tm_mon = time.month - 1;
    local.tm_mday = time.day;
    local.tm_hour = time.hour;
    local.tm_min = time.minute;
    local.tm_sec = time.second;
    local.tm_isdst = -1;
    // -1 is also the valid answer for 1969-12-31 23:59:59 UTC; mktime leaves
    // tm_wday alone only when it fails.
    local.tm_wday = -1;
    const time_t result = ::mktime(&local);
    if (result == static_cast<time_t>(-1) && local.tm_wday == -1) return std::nullopt;
    return static_cast<std::int64_t>(result);
}

}  // namespace qx
