// CLogger: the family's CSV log, one file "Log_<year>.<month>.<day>.csv" per
// day in a log folder, one record per line, so that a spreadsheet opens it
// as it is. Records are 8-bit text in the default 8-bit code page with CR LF
// line ends, and each goes to disk as soon as it is written, so the log
// survives a crash of the application. While a logger has the file open,
// other processes may read it but not write it.
//
// One logger per process (GetInstance); use it from one thread at a time.
#pragma once

#include <cstdint>
#include <memory>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/platform/os/process_info.h"
#include "qx/text/path.h"

namespace qx {
class LockedAppendFile;
}

class QX_API CLogger {
public:
    static CLogger& GetInstance();

    // The log folder for the next Start; the temporary folder when empty.
    void SetLogDir(const CPath& dir);
    // The application's current document, repeated in every record.
    void SetCurrentFile(const CPath& file);

    // Opens today's log file (appending to it when it exists, else creating
    // it with the header line); non-zero on success or when already started.
    int Start();
    void Stop();
    int IsStarted() const;

    // Writes a record "group;message;current file;;;time" with the message
    // formatted printf-style (Windows wide conventions). Nothing happens
    // while the logger is stopped.
    void Write(const wchar_t* group, const wchar_t* format, ...);
    // The same with the source position: *sourceFile* is 8-bit text in the
    // default code page.
    void Write(const wchar_t* group, const char* sourceFile, int line, const wchar_t* format, ...);

    // Writes the "Start" record with the name and version read from the last
    // node of tree file *versionFile*.
    void WriteStartup(const CPath& versionFile);

    // Deletes every "*.csv" file of the log folder last written more than
    // *days* whole days ago.
    void PurgeLogFiles(int days);

    CLogger(const CLogger&) = delete;
    CLogger& operator=(const CLogger&) = delete;

private:
    CLogger();
    ~CLogger();
    void WriteRecord(const wchar_t* group, const wchar_t* message, const char* sourceFile, int line);
    void AppendTimeField(std::wstring& out);

    CPath m_logDir;
    CPath m_logFile;
    CPath m_currentFile;
    std::unique_ptr<qx::LockedAppendFile> m_file;
    // The local time read for an earlier record and the tick count just
    // before it: records within the same second reuse it (see
    // AppendTimeField).
    std::uint64_t m_clockTick = 0;
    qx::CalendarTime m_clockTime;
    bool m_clockValid = false;
};

namespace qx {

// The message as it goes into its field: with a line feed in it, every
// carriage return and line feed becomes '|'; every ';' becomes ','; a leading
// '-' gets a space before it (a spreadsheet would read it as a formula).
QX_API std::wstring CleanLogMessage(std::wstring message);

}  // namespace qx
