// The time stamp of files: 100-nanosecond ticks since 1601-01-01 00:00 UTC,
// the unit and epoch of Windows FILETIME. The family stores and compares file
// times in this form (zip members, cached copies), so it is kept exact rather
// than rounded to seconds.
#pragma once

#include <compare>
#include <cstdint>

namespace qx {

struct FileTime {
    std::int64_t ticks = 0;

    friend constexpr auto operator<=>(FileTime, FileTime) = default;
};

inline constexpr std::int64_t kFileTimeTicksPerSecond = 10'000'000;
// 1970-01-01 00:00 UTC in ticks.
inline constexpr std::int64_t kFileTimeUnixEpoch = 116'444'736'000'000'000;

// Valid for the years 1601 to 30827, the range of FILETIME.
constexpr FileTime FileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds = 0) {
    return {kFileTimeUnixEpoch + seconds * kFileTimeTicksPerSecond + nanoseconds / 100};
}

// Whole seconds since 1970, rounded down (also before 1970).
constexpr std::int64_t UnixSecondsOf(FileTime time) {
    const std::int64_t since = time.ticks - kFileTimeUnixEpoch;
    const std::int64_t seconds = since / kFileTimeTicksPerSecond;
    return since % kFileTimeTicksPerSecond < 0 ? seconds - 1 : seconds;
}

// The nanoseconds past UnixSecondsOf(time), 0 to 999'999'900.
constexpr std::int64_t NanosecondsOf(FileTime time) {
    return (time.ticks - kFileTimeUnixEpoch - UnixSecondsOf(time) * kFileTimeTicksPerSecond) * 100;
}

}  // namespace qx
