#include "tests/support/print_scheduler.h"

#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace qx::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCupsdCandidates[] = {"/usr/sbin/cupsd", "/usr/local/sbin/cupsd"};
// The scheduler's own programs (cups-exec starts every backend).
constexpr const char* kSystemServerBin = "/usr/lib/cups";

std::optional<std::string> CupsdPath() {
    for (const char* candidate : kCupsdCandidates) {
        if (access(candidate, X_OK) == 0) return std::string(candidate);
    }
    return std::nullopt;
}

// The backend: "qxjob:/folder" writes job N as N.txt (queue, title, copies,
// options) and then N.job (the document), so that a .job file is whole.
constexpr const char* kBackend = R"(#!/bin/sh
if [ $# -eq 0 ]; then echo 'direct qxjob "Unknown" "job folder of the printer tests"'; exit 0; fi
dir="${DEVICE_URI#qxjob:}"
printf 'queue=%s\ntitle=%s\ncopies=%s\noptions=%s\n' "$PRINTER" "$3" "$4" "$5" > "$dir/$1.txt" || exit 1
if [ -n "$6" ]; then cat "$6" > "$dir/$1.part" || exit 1; else cat > "$dir/$1.part" || exit 1; fi
mv "$dir/$1.part" "$dir/$1.job"
)";

struct Paper {
    const char* name;
    int width, length;             // points
    int left, bottom, right, top;  // unprintable borders, points
};

// A driver description whose documents go to the backend unchanged (the
// filter "-"), with the papers, resolution, colour and duplex given.
std::string Ppd(const std::string& model, const std::vector<Paper>& papers, int dpi, bool colour, bool duplex) {
    std::ostringstream ppd;
    ppd << "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n*LanguageVersion: English\n"
        << "*LanguageEncoding: ISOLatin1\n*PCFileName: \"QXTEST.PPD\"\n*Manufacturer: \"Qx\"\n"
        << "*Product: \"(" << model << ")\"\n*ModelName: \"" << model << "\"\n*ShortNickName: \"" << model << "\"\n"
        << "*NickName: \"" << model << "\"\n*PSVersion: \"(3010.000) 0\"\n*LanguageLevel: \"3\"\n"
        << "*ColorDevice: " << (colour ? "True" : "False") << "\n*DefaultColorSpace: " << (colour ? "RGB" : "Gray")
        << "\n*FileSystem: False\n*Throughput: \"1\"\n*LandscapeOrientation: Plus90\n*TTRasterizer: Type42\n"
        << "*cupsFilter2: \"application/pdf application/vnd.cups-pdf 0 -\"\n";
    for (const char* keyword : {"PageSize", "PageRegion"}) {
        ppd << "*OpenUI *" << keyword << ": PickOne\n*OrderDependency: 10 AnySetup *" << keyword << "\n*Default"
            << keyword << ": " << papers.front().name << "\n";
        for (const Paper& p : papers) {
            ppd << "*" << keyword << " " << p.name << ": \"<</PageSize[" << p.width << " " << p.length
                << "]>>setpagedevice\"\n";
        }
        ppd << "*CloseUI: *" << keyword << "\n";
    }
    ppd << "*DefaultImageableArea: " << papers.front().name << "\n";
    for (const Paper& p : papers) {
        ppd << "*ImageableArea " << p.name << ": \"" << p.left << " " << p.bottom << " " << p.width - p.right << " "
            << p.length - p.top << "\"\n";
    }
    ppd << "*DefaultPaperDimension: " << papers.front().name << "\n";
    for (const Paper& p : papers) ppd << "*PaperDimension " << p.name << ": \"" << p.width << " " << p.length << "\"\n";
    ppd << "*OpenUI *Resolution: PickOne\n*OrderDependency: 10 AnySetup *Resolution\n*DefaultResolution: " << dpi
        << "dpi\n*Resolution " << dpi << "dpi: \"<</HWResolution[" << dpi << " " << dpi
        << "]>>setpagedevice\"\n*CloseUI: *Resolution\n";
    if (duplex) {
        ppd << "*OpenUI *Duplex: PickOne\n*OrderDependency: 10 AnySetup *Duplex\n*DefaultDuplex: None\n"
            << "*Duplex None: \"<</Duplex false>>setpagedevice\"\n"
            << "*Duplex DuplexNoTumble: \"<</Duplex true/Tumble false>>setpagedevice\"\n"
            << "*Duplex DuplexTumble: \"<</Duplex true/Tumble true>>setpagedevice\"\n*CloseUI: *Duplex\n";
    }
    ppd << "*DefaultFont: Courier\n*Font Courier: Standard \"(002.004S)\" Standard ROM\n";
    return ppd.str();
}

std::string Queue(const char* name, bool isDefault, bool accepting, const std::string& jobs) {
    const std::string tag = isDefault ? "DefaultPrinter" : "Printer";
    return "<" + tag + " " + name + ">\nInfo " + name + " queue of the printer tests\nDeviceURI qxjob:" + jobs +
           "\nState Idle\nAccepting " + (accepting ? "Yes" : "No") + "\nShared No\nErrorPolicy abort-job\n</" +
           tag + ">\n";
}

bool Answers(const std::string& socketPath) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    const bool connected = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return connected;
}

std::string Field(const std::string& text, const std::string& name) {
    const std::string key = name + "=";
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(key, 0) == 0) return line.substr(key.size());
    }
    return {};
}

}  // namespace

std::optional<std::string> PrintScheduler::Unavailable() {
    if (!CupsdPath()) return "cupsd is not installed (scripts/install-deps.sh installs cups-daemon)";
    return std::nullopt;
}

PrintScheduler::PrintScheduler()
    : server_("CUPS_SERVER", dir_.Native("cups.sock")), printer_("PRINTER", std::nullopt),
      lpdest_("LPDEST", std::nullopt) {
    const auto cupsd = CupsdPath();
    if (!cupsd) {
        why_ = *Unavailable();
        return;
    }
    const fs::path root = dir_.path();
    for (const char* folder : {"conf/ppd", "bin/backend", "spool/tmp", "cache", "state", "log", "jobs"})
        fs::create_directories(root / folder);
    // The scheduler's programs are the system's, but its backends are a
    // folder of our own: links to the system's and the job backend.
    for (const char* folder : {"daemon", "filter", "notifier"}) {
        if (fs::exists(fs::path(kSystemServerBin) / folder))
            fs::create_directory_symlink(fs::path(kSystemServerBin) / folder, root / "bin" / folder);
    }
    std::error_code ignored;
    for (const auto& backend : fs::directory_iterator(fs::path(kSystemServerBin) / "backend", ignored))
        fs::create_symlink(backend.path(), root / "bin/backend" / backend.path().filename(), ignored);
    // The scheduler runs a backend that only its owner may change as that
    // owner (and refuses one that others may write): the job folder needs
    // no other permissions.
    WriteBytes(root / "bin/backend/qxjob", kBackend);
    chmod((root / "bin/backend/qxjob").c_str(), 0700);

    const std::string jobs = (root / "jobs").string();
    const Paper a4{"A4", 595, 842, 12, 12, 12, 12};
    const Paper letter{"Letter", 612, 792, 12, 12, 12, 12};
    const Paper narrowA4{"A4", 595, 842, 18, 24, 18, 24};
    WriteBytes(root / "conf/ppd/QxColour.ppd", Ppd("Qx Colour", {a4, letter}, 600, true, true));
    WriteBytes(root / "conf/ppd/QxMono.ppd", Ppd("Qx Mono", {narrowA4}, 300, false, false));
    WriteBytes(root / "conf/ppd/QxClosed.ppd", Ppd("Qx Colour", {a4, letter}, 600, true, true));
    WriteBytes(root / "conf/printers.conf", Queue("QxColour", true, true, jobs) + Queue("QxMono", false, true, jobs) +
                                                Queue("QxClosed", false, false, jobs));
    WriteBytes(root / "conf/cupsd.conf",
               "Listen " + Socket() +
                   "\nLogLevel warn\nBrowsing No\nWebInterface No\nDefaultAuthType None\n"
                   "<Location />\nOrder allow,deny\nAllow all\n</Location>\n");
    const std::string r = root.string();
    WriteBytes(root / "conf/cups-files.conf",
               "ServerRoot " + r + "/conf\nServerBin " + r + "/bin\nDataDir /usr/share/cups\nRequestRoot " + r +
                   "/spool\nTempDir " + r + "/spool/tmp\nCacheDir " + r + "/cache\nStateDir " + r +
                   "/state\nAccessLog " + r + "/log/access_log\nErrorLog " + r + "/log/error_log\nPageLog " + r +
                   "/log/page_log\nPrintcap " + r + "/state/printcap\nFileDevice No\n");

    cupsd_ = std::make_unique<ChildProcess>(
        *cupsd, std::vector<std::string>{"-f", "-c", r + "/conf/cupsd.conf", "-s", r + "/conf/cups-files.conf"});
    running_ = cupsd_->Pid() != 0 &&
               WaitUntil([&] { return cupsd_->HasEnded() || Answers(Socket()); }, std::chrono::seconds(20)) &&
               !cupsd_->HasEnded();
    if (!running_) {
        why_ = "cupsd did not start: " + cupsd_->Output();
        if (fs::exists(root / "log/error_log")) why_ += ReadBytes(root / "log/error_log");
    }
}

PrintScheduler::~PrintScheduler() { Stop(); }

void PrintScheduler::Stop() {
    if (!cupsd_) return;
    if (!cupsd_->HasEnded()) {
        cupsd_->Signal(SIGTERM);
        cupsd_->Wait(std::chrono::seconds(20));
    }
    cupsd_.reset();
    running_ = false;
}

std::vector<ArrivedJob> PrintScheduler::Jobs() const {
    std::vector<std::pair<int, fs::path>> files;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(dir_.path() / "jobs", ignored)) {
        if (entry.path().extension() == ".job") files.emplace_back(std::stoi(entry.path().stem().string()), entry.path());
    }
    std::sort(files.begin(), files.end());
    std::vector<ArrivedJob> jobs;
    for (const auto& [id, file] : files) {
        fs::path description = file;
        const std::string text = ReadBytes(description.replace_extension(".txt"));
        jobs.push_back({Field(text, "queue"), Field(text, "title"), Field(text, "copies"), Field(text, "options"),
                        ReadBytes(file)});
    }
    return jobs;
}

std::vector<ArrivedJob> PrintScheduler::WaitForJobs(size_t count, std::chrono::milliseconds limit) const {
    std::vector<ArrivedJob> jobs;
    WaitUntil(
        [&] {
            jobs = Jobs();
            return jobs.size() >= count;
        },
        limit);
    return jobs;
}

void PrintScheduler::ForgetJobs() const {
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(dir_.path() / "jobs", ignored)) fs::remove(entry.path(), ignored);
}

PrintScheduler* PrintSchedulerTest::scheduler_ = nullptr;

void PrintSchedulerTest::SetUpTestSuite() {
    if (!PrintScheduler::Unavailable()) scheduler_ = new PrintScheduler;
}

void PrintSchedulerTest::TearDownTestSuite() {
    delete scheduler_;
    scheduler_ = nullptr;
}

void PrintSchedulerTest::SetUp() {
    if (const auto why = PrintScheduler::Unavailable()) GTEST_SKIP() << *why;
    ASSERT_TRUE(scheduler_->Running()) << scheduler_->Why();
    scheduler_->ForgetJobs();
}

}  // namespace qx::test
