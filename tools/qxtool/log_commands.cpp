// qxtool log write / log purge: the family's CSV log from the command line.
#include <string>
#include <vector>

#include "qx/log/logger.h"
#include "qx/platform/base/number_parse.h"
#include "qx/platform/os/file_system.h"
#include "tools/qxtool/command.h"

namespace qxtool {
namespace {

int WriteRecord(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    RejectUnknownOptions(args);
    if (args.size() != 3) throw UsageError("expects a folder, a group and a message");
    CLogger& logger = CLogger::GetInstance();
    logger.SetLogDir(Wide(args[0]).c_str());
    if (!logger.Start()) throw Failure("cannot open today's log in " + args[0]);
    logger.Write(Wide(args[1]).c_str(), L"%s", Wide(args[2]).c_str());
    logger.Stop();
    return kExitOk;
}

int Purge(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    RejectUnknownOptions(args);
    if (args.size() != 2) throw UsageError("expects a folder and a number of days");
    const std::wstring text = Wide(args[1]);
    const wchar_t* end = nullptr;
    const long long days = qx::ParseInteger(text.c_str(), &end);
    if (text.empty() || *end != L'\0' || days < 0 || days > 1'000'000) throw UsageError("DAYS must be a whole number of days");
    // The library's purge finds nothing to delete where there is no folder;
    // a user who named one must hear that it was not there.
    if (!qx::DirectoryExists(Wide(args[0]))) throw Failure("not a folder: " + args[0]);
    CLogger& logger = CLogger::GetInstance();
    logger.SetLogDir(Wide(args[0]).c_str());
    logger.PurgeLogFiles(static_cast<int>(days));
    return kExitOk;
}

constexpr Command kCommands[] = {
    {"log write", "DIR GROUP MESSAGE", "append a record to today's log file in DIR",
     "The file is Log_<year>.<month>.<day>.csv, created with its header line when\n"
     "missing (DIR itself is created when its parent exists). The record is\n"
     "GROUP;MESSAGE;;;;TIME in the default 8-bit code page with CR LF; a ';' in\n"
     "MESSAGE becomes ',' and line breaks become '|'.",
     WriteRecord},
    {"log purge", "DIR DAYS", "delete the .csv files in DIR older than DAYS whole days",
     "A file last written 7.9 days ago is kept by DAYS 7, one of 8 days is deleted.\n"
     "Every .csv file of the folder counts, not only log files. DIR must be a\n"
     "folder.",
     Purge},
};

const CommandRegistrar registrar(kCommands);

}  // namespace
}  // namespace qxtool
