#include "qx/text/file_times.h"

#include "qx/platform/base/exceptions.h"
#include "qx/platform/os/file_search.h"
#include "qx/platform/os/process_info.h"

int GetFileTime(const wchar_t* path, EFileTime which, CTime& time) {
    auto search = qx::FileSearch::Start(path ? path : L"");
    if (!search) return 0;
    const qx::FoundEntry* first = search->Next();
    if (which != eCreationTime && which != eLastAccessTime && which != eLastWriteTime) return 1;
    const auto status = search->StatusOf(*first);
    if (!status) return 0;  // gone since the search listed it
    const qx::FileTime chosen = which == eCreationTime ? status->creationTime
                              : which == eLastAccessTime ? status->lastAccessTime
                                                         : status->lastWriteTime;
    // The moment itself becomes the CTime. Going through local calendar
    // fields and back, as a conversion to local file time does, would shift
    // times of the other daylight-saving season by an hour.
    const std::int64_t seconds = qx::UnixSecondsOf(chosen);
    const auto local = qx::TimeToLocal(seconds);
    if (!local || local->year < 1900) throw CInvalidArgException();
    time = CTime(seconds);
    return 1;
}
