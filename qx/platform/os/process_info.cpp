#include "qx/platform/os/process_info.h"
#include "qx/platform/os/path_split.h"

#include <chrono>

namespace qx {

namespace {

// The one owner of the clock seam.
class Clock {
public:
    static Clock& Instance() {
        static Clock clock;
        return clock;
    }

    void Set(std::function<std::int64_t()> source) { source_ = std::move(source); }

    std::int64_t MillisecondsSinceEpoch() const {
        if (source_) return source_();
        using namespace std::chrono;
        return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    }

    std::uint64_t Ticks() const {
        if (source_) return static_cast<std::uint64_t>(source_());
        using namespace std::chrono;
        return static_cast<std::uint64_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }

private:
    std::function<std::int64_t()> source_;
};

}  // namespace

std::uint64_t TickCount64() { return Clock::Instance().Ticks(); }

std::uint32_t TickCount() { return static_cast<std::uint32_t>(TickCount64()); }

namespace {

struct SecondsAndMilliseconds {
    std::int64_t seconds;
    int millisecond;
};

SecondsAndMilliseconds Now() {
    const std::int64_t now = Clock::Instance().MillisecondsSinceEpoch();
    // Round down, so that a moment before 1970 falls into the right second.
    std::int64_t seconds = now / 1000, millisecond = now % 1000;
    if (millisecond < 0) {
        --seconds;
        millisecond += 1000;
    }
    return {seconds, static_cast<int>(millisecond)};
}

}  // namespace

CalendarTime LocalTime() {
    const SecondsAndMilliseconds now = Now();
    CalendarTime time = TimeToLocal(now.seconds).value_or(CalendarTime{});
    time.millisecond = now.millisecond;
    return time;
}

CalendarTime SystemTime() {
    using namespace std::chrono;
    const SecondsAndMilliseconds now = Now();
    const sys_seconds moment{seconds(now.seconds)};
    const sys_days day = floor<days>(moment);
    const year_month_day date{day};
    const hh_mm_ss<seconds> clock{moment - day};
    CalendarTime time;
    time.year = static_cast<int>(date.year());
    time.month = static_cast<int>(static_cast<unsigned>(date.month()));
    time.day = static_cast<int>(static_cast<unsigned>(date.day()));
    time.dayOfWeek = static_cast<int>(weekday{day}.c_encoding());
    time.hour = static_cast<int>(clock.hours().count());
    time.minute = static_cast<int>(clock.minutes().count());
    time.second = static_cast<int>(clock.seconds().count());
    time.millisecond = now.millisecond;
    return time;
}

namespace {

std::wstring FolderOf(const std::wstring& path) {
    return std::wstring(FolderPart(path));
}

}  // namespace

std::wstring ProgramDirectory() {
    return FolderOf(ProgramPath());
}

std::wstring LibraryDirectory() {
    return FolderOf(LibraryPath());
}

void SetClockForTesting(std::function<std::int64_t()> millisecondsSinceEpoch) {
    Clock::Instance().Set(std::move(millisecondsSinceEpoch));
}

}  // namespace qx
