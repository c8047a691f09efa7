#include "qx/log/logger.h"

#include <chrono>
#include <cstdarg>

#include "qx/platform/base/codepage.h"
#include "qx/platform/base/format.h"
#include "qx/platform/os/file_search.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/locked_append_file.h"
#include "qx/platform/os/process_info.h"
#include "qx/tree/tree_items.h"

namespace {

// The family's log files always ended their lines so.
constexpr char kLineEnd[] = "\r\n";
constexpr wchar_t kHeader[] = L"Group;Message;Current File;Source File;Line;Time";
constexpr std::int64_t kSecondsPerDay = 86400;

// *value* with *digits* digits (2 or 3), leading zeros included.
void AppendDigits(std::wstring& out, int value, int digits) {
    for (int divisor = digits == 3 ? 100 : 10; divisor > 0; divisor /= 10) {
        out += static_cast<wchar_t>(L'0' + value / divisor % 10);
    }
}

}  // namespace

namespace qx {

std::wstring CleanLogMessage(std::wstring message) {
    if (message.find(L'\n') != std::wstring::npos) {
        for (wchar_t& ch : message) {
            if (ch == L'\r' || ch == L'\n') ch = L'|';
        }
    }
    for (wchar_t& ch : message) {
        if (ch == L';') ch = L',';
    }
    if (message.starts_with(L'-')) message.insert(0, 1, L' ');
    return message;
}

}  // namespace qx

CLogger& CLogger::GetInstance() {
    static CLogger logger;
    return logger;
}

CLogger::CLogger() = default;
CLogger::~CLogger() = default;

void CLogger::SetLogDir(const CPath& dir) { m_logDir = dir; }

void CLogger::SetCurrentFile(const CPath& file) { m_currentFile = file; }

int CLogger::Start() {
    if (m_file) return 1;
    m_clockValid = false;
    const qx::CalendarTime today = qx::LocalTime();
    const CString name = qx::Format(L"Log_%i.%i.%i.csv", today.year, today.month, today.day);
    if (m_logDir.IsEmpty()) m_logDir = CPath(qx::TempDirectory());
    if (!qx::DirectoryExists(m_logDir.str()) && !qx::MakeDirectory(m_logDir.str())) return 0;
    m_logFile = m_logDir ^ name.GetString();
    bool created = false;
    m_file = qx::LockedAppendFile::Open(m_logFile.str(), &created);
    if (!m_file) return 0;
    if (created) m_file->Write(qx::WideToCodePage(kHeader, qx::kCpAcp) + kLineEnd);
    return 1;
}

void CLogger::Stop() { m_file.reset(); }

int CLogger::IsStarted() const { return m_file ? 1 : 0; }

void CLogger::Write(const wchar_t* group, const wchar_t* format, ...) {
    if (!m_file || !format) return;
    va_list args;
    va_start(args, format);
    const std::wstring message = qx::FormatV(format, args);
    va_end(args);
    WriteRecord(group, message.c_str(), nullptr, 0);
}

void CLogger::Write(const wchar_t* group, const char* sourceFile, int line, const wchar_t* format, ...) {
    if (!m_file || !format) return;
    va_list args;
    va_start(args, format);
    const std::wstring message = qx::FormatV(format, args);
    va_end(args);
    WriteRecord(group, message.c_str(), sourceFile ? sourceFile : "", line);
}

void CLogger::WriteRecord(const wchar_t* group, const wchar_t* message, const char* sourceFile, int line) {
    // "%s;%s;%s;;;%s" or "%s;%s;%s;%s;%i;%s", composed directly: records are
    // written often enough for a second formatting pass to show.
    std::wstring record = group ? group : L"";
    record += L';';
    record += qx::CleanLogMessage(message);
    record += L';';
    record += m_currentFile.str();
    record += L';';
    if (sourceFile) {
        record += qx::CodePageToWide(sourceFile, qx::kCpAcp);
        record += L';';
        record += std::to_wstring(line);
    } else {
        record += L';';
    }
    record += L';';
    AppendTimeField(record);
    // One write per record: a reader never sees half a line from us.
    m_file->Write(qx::WideToCodePage(record, qx::kCpAcp) + kLineEnd);
}

// "%02i:%02i:%02i.%03i": hour, minute and second of the clock, then a running
// millisecond counter (the tick count modulo 1000), not the millisecond of
// the clock time. Reading the local time costs a look at the time zone each
// time, a third of a record; so it is read once per second of clock time: the
// time read at tick T with millisecond m holds for every tick before
// T + 1000 - m (the tick is taken before the clock, so the bound errs on the
// early side).
void CLogger::AppendTimeField(std::wstring& out) {
    const std::uint64_t tick = qx::TickCount64();
    if (!m_clockValid || tick < m_clockTick ||
        tick - m_clockTick >= static_cast<std::uint64_t>(1000 - m_clockTime.millisecond)) {
        m_clockTick = tick;
        m_clockTime = qx::LocalTime();
        m_clockValid = true;
    }
    AppendDigits(out, m_clockTime.hour, 2);
    out += L':';
    AppendDigits(out, m_clockTime.minute, 2);
    out += L':';
    AppendDigits(out, m_clockTime.second, 2);
    out += L'.';
    AppendDigits(out, static_cast<int>(static_cast<std::uint32_t>(tick) % 1000), 3);
}

void CLogger::WriteStartup(const CPath& versionFile) {
    CNode* root = nullptr;
    CString name;
    double version = 0.0;
    if (TreeItems::ReadFromFile(versionFile, root, 1) && root) {
        if (CNode* last = root->GetLastChild()) {
            name = last->GetStrLeafValue(L"", L"Name");
            version = last->GetDblLeafValue(L"", L"InternalVersion");
        }
    }
    delete root;
    if (version != 0.0) Write(L"Start", L"Version %s (%.2f)", name.GetString(), version);
    else Write(L"Start", L"");
}

void CLogger::PurgeLogFiles(int days) {
    auto search = qx::FileSearch::Start((m_logDir ^ L"*.csv").str());
    if (!search) return;
    const std::int64_t now = std::chrono::duration_cast<std::chrono::seconds>(
                                 std::chrono::system_clock::now().time_since_epoch()).count();
    while (const qx::FoundEntry* entry = search->Next()) {
        if (entry->folder) continue;
        const auto status = search->StatusOf(*entry);
        if (!status) continue;
        const std::int64_t age = (now - qx::UnixSecondsOf(status->lastWriteTime)) / kSecondsPerDay;
        if (age > days) qx::RemoveFile((m_logDir ^ entry->name.c_str()).str());
    }
}
