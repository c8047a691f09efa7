#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "qx/platform/base/ascii.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/native_path.h"
#include "qx/platform/os/private_folder.h"
#include "qx/platform/os/run_program.h"
#include "qx/platform/os/xdg_folders.h"
#include "qx/platform/sheet/internal/last_error_text.h"
#include "qx/platform/sheet/libreoffice.h"

namespace qx::sheet {

namespace {

constexpr auto kConversionTime = std::chrono::seconds(180);

bool Fail(std::wstring* error, const std::string& message) {
    if (error) *error = Utf8ToWide(message);
    return false;
}

// The cache folder (native), private to the user; "" when it cannot be made.
std::string CacheFolder(std::string& error) {
    std::wstring base = XdgCacheHome();
    if (base.empty()) base = TempDirectory() + L"qxbase-sheets-" + std::to_wstring(::geteuid());
    const std::wstring folder = base + L"\\qxbase-sheets";
    if (!CreateDirectories(base) || !PrivateFolder::Open(folder)) {
        error = "the cache folder " + WideToUtf8(folder) + " cannot be used: " + detail::LastErrorText();
        return {};
    }
    const auto native = ToNativePath(folder);
    return native ? *native : std::string();
}

// One conversion at a time per user: LibreOffice runs one instance per
// profile, and a second start would hand its work to the first.
class ConversionLock {
public:
    explicit ConversionLock(const std::string& cache) {
        fd_ = ::open((cache + "/libreoffice.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        const auto deadline = std::chrono::steady_clock::now() + kConversionTime;
        while (fd_ >= 0 && !locked_ && std::chrono::steady_clock::now() < deadline) {
            locked_ = ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
            if (!locked_) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    ~ConversionLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    ConversionLock(const ConversionLock&) = delete;
    ConversionLock& operator=(const ConversionLock&) = delete;
    bool Held() const { return locked_; }

private:
    int fd_ = -1;
    bool locked_ = false;
};

// A folder of its own below the cache, "job-<pid>-XXXXXX", removed with
// what is in it when the object goes.
class JobFolder {
public:
    explicit JobFolder(const std::string& cache) {
        std::string pattern = cache + "/job-" + std::to_string(::getpid()) + "-XXXXXX";
        if (::mkdtemp(pattern.data())) path_ = pattern;
    }
    ~JobFolder() {
        if (!path_.empty()) PrivateFolder::RemoveTree(FromNativePath(path_));
    }
    JobFolder(const JobFolder&) = delete;
    JobFolder& operator=(const JobFolder&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Removes the job folders of processes that are gone.
void SweepJobFolders(const std::string& cache) {
    DIR* dir = ::opendir(cache.c_str());
    if (!dir) return;
    std::vector<std::string> gone;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (!name.starts_with("job-")) continue;
        const pid_t pid = static_cast<pid_t>(std::atoll(std::string(name.substr(4)).c_str()));
        if (pid > 0 && pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH) gone.emplace_back(name);
    }
    ::closedir(dir);
    for (const std::string& name : gone) PrivateFolder::RemoveTree(FromNativePath(cache + "/" + name));
}

// A file URL for LibreOffice's -env: options.
std::string FileUrl(const std::string& native) {
    std::string url = "file://";
    static const char kHex[] = "0123456789ABCDEF";
    for (unsigned char c : native) {
        if (IsAsciiLetter(c) || IsAsciiDigit(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return url;
}

// The file soffice makes of *input* in *folder* for *format*.
std::string ConvertedName(const std::string& input, std::string_view format, const std::string& folder) {
    std::string stem = input.substr(input.rfind('/') + 1);
    if (const size_t dot = stem.rfind('.'); dot != std::string::npos && dot > 0) stem.resize(dot);
    return folder + "/" + stem + "." + std::string(format.substr(0, format.find(':')));
}

std::string LastLines(const std::string& output) {
    std::string text = output;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    return text.size() > 400 ? text.substr(text.size() - 400) : text;
}

bool Convert(const std::string& input, std::wstring_view output, std::string_view format, std::wstring* error) {
    const auto program = LibreOfficeProgram();
    if (!program) {
        return Fail(error,
                    "LibreOffice is needed to convert " + input +
                        " and is not installed (no soffice on PATH); install LibreOffice Calc, or use the .xlsx form");
    }
    std::string why;
    const std::string cache = CacheFolder(why);
    if (cache.empty()) return Fail(error, why);
    const ConversionLock lock(cache);
    if (!lock.Held()) return Fail(error, "another conversion with LibreOffice has not ended in time");
    SweepJobFolders(cache);
    const JobFolder job(cache);
    if (job.Path().empty()) return Fail(error, "no folder for the conversion can be made in " + cache);
    const std::string profile = cache + "/libreoffice-profile";
    ::mkdir(profile.c_str(), 0700);

    // Arguments reach the program as native text.
    const std::vector<std::wstring> args = {
        L"--headless", L"--norestore", L"--nolockcheck", L"--nologo", L"--nodefault",
        Utf8ToWide("-env:UserInstallation=" + FileUrl(profile)), L"--convert-to", Utf8ToWide(std::string(format)),
        L"--outdir", Utf8ToWide(job.Path()), Utf8ToWide(input)};
    const ProgramRun run = RunProgram(*program, args, {{"HOME", profile}}, kConversionTime);
    if (!run.started) return Fail(error, "LibreOffice cannot be started: " + detail::LastErrorText());
    if (run.timedOut) return Fail(error, "LibreOffice did not finish converting " + input + " in time");
    const std::string converted = ConvertedName(input, format, job.Path());
    const auto bytes = ReadWholeFile(FromNativePath(converted));
    if (!bytes) return Fail(error, "LibreOffice could not convert " + input + ": " + LastLines(run.output));
    if (!WriteFileAtomically(output, *bytes))
        return Fail(error, "cannot write " + WideToUtf8(output) + ": " + detail::LastErrorText());
    return true;
}

std::uint64_t Fnv1a(std::string_view text, std::uint64_t hash = 1469598103934665603ull) {
    for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

}  // namespace

std::optional<std::wstring> LibreOfficeProgram() { return FindProgramOnPath(L"soffice"); }

bool IsBinaryWorkbookName(std::wstring_view path) {
    return EndsWithIgnoringAsciiCase(path, L".xls") || EndsWithIgnoringAsciiCase(path, L".xlt");
}

bool ConvertWithLibreOffice(std::wstring_view input, std::wstring_view output, std::string_view format,
                            std::wstring* error) {
    const auto native = ToNativePath(input);
    if (!native || !FileExists(input)) return Fail(error, "cannot read " + WideToUtf8(input) + ": " + detail::LastErrorText());
    return Convert(*native, output, format, error);
}

std::optional<std::wstring> ConvertedWorkbook(std::wstring_view path, std::wstring* error) {
    const auto native = ToNativePath(path);
    const auto status = GetFileStatus(path);
    if (!native || !status || (status->attributes & kFileAttributeDirectory))
        return Fail(error, "cannot read " + WideToUtf8(path) + ": " + detail::LastErrorText()), std::nullopt;
    char* real = ::realpath(native->c_str(), nullptr);
    const std::string absolute = real ? real : *native;
    ::free(real);
    const std::uint64_t key = Fnv1a(std::to_string(status->lastWriteTime.ticks),
                                    Fnv1a(std::to_string(status->size), Fnv1a(absolute + '\0')));
    std::string why;
    const std::string cache = CacheFolder(why);
    if (cache.empty()) return Fail(error, why), std::nullopt;
    char name[40];
    std::snprintf(name, sizeof name, "/converted-%016llx.xlsx", static_cast<unsigned long long>(key));
    const std::wstring cached = FromNativePath(cache + name);
    if (FileExists(cached)) return cached;
    if (!Convert(absolute, cached, "xlsx", error)) return std::nullopt;
    return cached;
}

bool WriteBinaryWorkbook(std::string_view xlsxBytes, std::wstring_view output, std::wstring* error) {
    std::string why;
    const std::string cache = CacheFolder(why);
    if (cache.empty()) return Fail(error, why);
    const JobFolder job(cache);
    if (job.Path().empty()) return Fail(error, "no folder for the conversion can be made in " + cache);
    // The stem of the output names the file LibreOffice makes; it gives the
    // workbook its title there.
    const std::wstring outputName(output.substr(output.find_last_of(L"\\/") + 1));
    std::string stem = WideToUtf8(outputName.substr(0, outputName.rfind(L'.')));
    if (stem.empty()) stem = "Workbook";
    const std::string input = job.Path() + "/" + stem + ".xlsx";
    if (!WriteFileAtomically(FromNativePath(input), xlsxBytes))
        return Fail(error, "cannot write " + input + ": " + detail::LastErrorText());
    return Convert(input, output, "xls", error);
}

}  // namespace qx::sheet
