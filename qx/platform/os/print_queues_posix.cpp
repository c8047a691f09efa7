// Printer queues and jobs through libcups. Each call opens its own
// connection to the scheduler and closes it when done; a job keeps its
// connection from its creation to its end, because the document is streamed
// over it.
#include <cups/cups.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "qx/platform/base/utf.h"
#include "qx/platform/os/print_queues.h"

namespace qx {

PrintJob::~PrintJob() = default;

namespace {

constexpr int kConnectTimeoutMs = 30000;
constexpr double kHundredthsPerMm = 100.0;
constexpr double kCmPerInch = 2.54;

std::wstring Text(const char* utf8) { return utf8 ? Utf8ToWide(utf8) : std::wstring(); }

// The scheduler's message for its last answer on this thread.
std::wstring SchedulerMessage() {
    const char* message = cupsLastErrorString();
    return message && *message ? Text(message) : L"The print scheduler refused the request.";
}

bool Failed(ipp_status_t status) { return status > IPP_STATUS_OK_CONFLICTING; }

struct ConnectionCloser {
    void operator()(http_t* http) const { httpClose(http); }
};
using Connection = std::unique_ptr<http_t, ConnectionCloser>;

struct DestsFree {
    int count = 0;
    void operator()(cups_dest_t* dests) const { cupsFreeDests(count, dests); }
};
using Dest = std::unique_ptr<cups_dest_t, DestsFree>;

struct InfoFree {
    void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
};
using DestInfo = std::unique_ptr<cups_dinfo_t, InfoFree>;

Connection Connect(std::wstring* error) {
    // The server is looked up again (environment, client configuration),
    // so that a scheduler started after the first call is found.
    cupsSetServer(nullptr);
    const char* server = cupsServer();
    http_t* http = httpConnect2(server, ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, kConnectTimeoutMs, nullptr);
    if (!http) {
        *error = L"The print scheduler at " + Text(server) +
                 L" cannot be reached: it is not running or does not take connections.";
    }
    return Connection(http);
}

const char* Option(const cups_dest_t& dest, const char* name) {
    return cupsGetOption(name, dest.num_options, dest.options);
}

std::wstring QueueState(const char* state) {
    if (!state) return L"";
    switch (std::atoi(state)) {
        case IPP_PSTATE_IDLE: return L"idle";
        case IPP_PSTATE_PROCESSING: return L"processing";
        case IPP_PSTATE_STOPPED: return L"stopped";
        default: return Text(state);
    }
}

PrintMedia MediaOf(const cups_size_t& size) {
    PrintMedia media;
    media.name = Text(size.media);
    media.widthMm = size.width / kHundredthsPerMm;
    media.lengthMm = size.length / kHundredthsPerMm;
    media.leftMm = size.left / kHundredthsPerMm;
    media.topMm = size.top / kHundredthsPerMm;
    media.rightMm = size.right / kHundredthsPerMm;
    media.bottomMm = size.bottom / kHundredthsPerMm;
    return media;
}

// The user's choice of paper for the queue (lpoptions), else the queue's.
std::string DefaultMediaName(http_t* http, cups_dest_t* dest, cups_dinfo_t* info) {
    if (const char* chosen = Option(*dest, "media")) return chosen;
    ipp_attribute_t* media = cupsFindDestDefault(http, dest, info, CUPS_MEDIA);
    const char* name = media ? ippGetString(media, 0, nullptr) : nullptr;
    return name ? name : "";
}

void ReadMedia(http_t* http, cups_dest_t* dest, cups_dinfo_t* info, PrintQueue* queue) {
    cups_size_t size;
    const std::string defaultName = DefaultMediaName(http, dest, info);
    if (!defaultName.empty() &&
        cupsGetDestMediaByName(http, dest, info, defaultName.c_str(), CUPS_MEDIA_FLAGS_DEFAULT, &size))
        queue->media.push_back(MediaOf(size));
    const int count = cupsGetDestMediaCount(http, dest, info, CUPS_MEDIA_FLAGS_DEFAULT);
    for (int i = 0; i < count; ++i) {
        if (cupsGetDestMediaByIndex(http, dest, info, i, CUPS_MEDIA_FLAGS_DEFAULT, &size) &&
            (queue->media.empty() || queue->media.front().name != Text(size.media)))
            queue->media.push_back(MediaOf(size));
    }
}

void ReadResolution(http_t* http, cups_dest_t* dest, cups_dinfo_t* info, PrintQueue* queue) {
    ipp_attribute_t* resolution = cupsFindDestDefault(http, dest, info, "printer-resolution");
    if (!resolution) resolution = cupsFindDestSupported(http, dest, info, "printer-resolution");
    if (!resolution || ippGetValueTag(resolution) != IPP_TAG_RESOLUTION) return;
    int y = 0;
    ipp_res_t units = IPP_RES_PER_INCH;
    const int x = ippGetResolution(resolution, 0, &y, &units);
    const double perInch = units == IPP_RES_PER_CM ? kCmPerInch : 1.0;
    queue->dpiX = static_cast<int>(x * perInch + 0.5);
    queue->dpiY = static_cast<int>(y * perInch + 0.5);
}

PrintQueue DescribeQueue(http_t* http, cups_dest_t* dest) {
    PrintQueue queue;
    queue.name = Text(dest->name);
    queue.info = Text(Option(*dest, "printer-info"));
    queue.location = Text(Option(*dest, "printer-location"));
    queue.makeAndModel = Text(Option(*dest, "printer-make-and-model"));
    queue.isDefault = dest->is_default != 0;
    const char* accepting = Option(*dest, "printer-is-accepting-jobs");
    queue.accepting = !accepting || std::strcmp(accepting, "true") == 0;
    queue.state = QueueState(Option(*dest, "printer-state"));
    const DestInfo info(cupsCopyDestInfo(http, dest));
    if (!info) return queue;
    ReadMedia(http, dest, info.get(), &queue);
    ReadResolution(http, dest, info.get(), &queue);
    queue.color = cupsCheckDestSupported(http, dest, info.get(), "print-color-mode", "color") != 0;
    queue.duplex = cupsCheckDestSupported(http, dest, info.get(), "sides", "two-sided-long-edge") != 0;
    return queue;
}

// The named queue, or the default one for an empty name.
Dest NamedDest(http_t* http, std::wstring_view name, std::wstring* error) {
    const std::string utf8 = WideToUtf8(name);
    cups_dest_t* dest = cupsGetNamedDest(http, utf8.empty() ? nullptr : utf8.c_str(), nullptr);
    if (!dest) {
        const bool asked = cupsLastError() != IPP_STATUS_OK && cupsLastError() != IPP_STATUS_ERROR_NOT_FOUND;
        if (asked)
            *error = SchedulerMessage();
        else if (utf8.empty())
            *error = L"There is no default printer queue.";
        else
            *error = L"The printer queue \"" + std::wstring(name) + L"\" does not exist.";
    }
    return Dest(dest, DestsFree{1});
}

class CupsPrintJob final : public PrintJob {
public:
    CupsPrintJob(Connection http, Dest dest, DestInfo info, int id)
        : http_(std::move(http)), dest_(std::move(dest)), info_(std::move(info)), id_(id) {}
    ~CupsPrintJob() override {
        if (!ended_) Cancel();
    }

    bool Write(std::string_view bytes) override {
        if (ended_) return false;
        while (!bytes.empty()) {
            const size_t part = std::min<size_t>(bytes.size(), 1u << 20);
            if (cupsWriteRequestData(http_.get(), bytes.data(), part) != HTTP_STATUS_CONTINUE) {
                message_ = SchedulerMessage();
                Cancel();
                return false;
            }
            bytes.remove_prefix(part);
        }
        return true;
    }

    bool Finish() override {
        if (ended_) return false;
        ended_ = true;
        if (Failed(cupsFinishDestDocument(http_.get(), dest_.get(), info_.get()))) {
            message_ = SchedulerMessage();
            CancelOnNewConnection();
            return false;
        }
        return true;
    }

    void Cancel() override {
        if (ended_) return;
        ended_ = true;
        CancelOnNewConnection();
    }

    int Id() const override { return id_; }
    const std::wstring& ErrorMessage() const override { return message_; }

private:
    // The job's own connection is in the middle of its document request:
    // the cancellation goes over a connection of its own.
    void CancelOnNewConnection() {
        http_.reset();
        std::wstring ignored;
        const Connection http = Connect(&ignored);
        if (http) cupsCancelDestJob(http.get(), dest_.get(), id_);
    }

    Connection http_;
    Dest dest_;
    DestInfo info_;
    int id_;
    bool ended_ = false;
    std::wstring message_;
};

}  // namespace

bool ListPrintQueues(std::vector<PrintQueue>* queues, std::wstring* error) {
    queues->clear();
    const Connection http = Connect(error);
    if (!http) return false;
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(http.get(), &dests);
    const Dest owner(dests, DestsFree{count});
    if (count == 0 && Failed(cupsLastError()) && cupsLastError() != IPP_STATUS_ERROR_NOT_FOUND) {
        *error = SchedulerMessage();
        return false;
    }
    for (int i = 0; i < count; ++i) {
        // Instances are a user's saved option sets of a queue, not queues.
        if (!dests[i].instance) queues->push_back(DescribeQueue(http.get(), &dests[i]));
    }
    return true;
}

bool FindPrintQueue(std::wstring_view name, PrintQueue* queue, std::wstring* error) {
    const Connection http = Connect(error);
    if (!http) return false;
    const Dest dest = NamedDest(http.get(), name, error);
    if (!dest) return false;
    *queue = DescribeQueue(http.get(), dest.get());
    return true;
}

std::unique_ptr<PrintJob> StartPrintJob(std::wstring_view name, const PrintJobOptions& options, std::wstring* error) {
    Connection http = Connect(error);
    if (!http) return nullptr;
    Dest dest = NamedDest(http.get(), name, error);
    if (!dest) return nullptr;
    DestInfo info(cupsCopyDestInfo(http.get(), dest.get()));
    if (!info) {
        *error = SchedulerMessage();
        return nullptr;
    }
    cups_option_t* jobOptions = nullptr;
    int optionCount = 0;
    const std::string copies = std::to_string(std::max(1, options.copies));
    optionCount = cupsAddOption(CUPS_COPIES, copies.c_str(), optionCount, &jobOptions);
    if (!options.media.empty())
        optionCount = cupsAddOption(CUPS_MEDIA, WideToUtf8(options.media).c_str(), optionCount, &jobOptions);
    optionCount = cupsAddOption(CUPS_SIDES, options.duplex ? CUPS_SIDES_TWO_SIDED_PORTRAIT : CUPS_SIDES_ONE_SIDED,
                                optionCount, &jobOptions);
    const std::string title = WideToUtf8(options.title);
    int id = 0;
    const ipp_status_t created =
        cupsCreateDestJob(http.get(), dest.get(), info.get(), &id, title.c_str(), optionCount, jobOptions);
    if (Failed(created)) {
        cupsFreeOptions(optionCount, jobOptions);
        *error = SchedulerMessage();
        return nullptr;
    }
    const http_status_t started = cupsStartDestDocument(http.get(), dest.get(), info.get(), id, title.c_str(),
                                                        CUPS_FORMAT_PDF, optionCount, jobOptions, 1);
    cupsFreeOptions(optionCount, jobOptions);
    auto job = std::make_unique<CupsPrintJob>(std::move(http), std::move(dest), std::move(info), id);
    if (started != HTTP_STATUS_CONTINUE) {
        *error = SchedulerMessage();
        return nullptr;  // the job cancels itself
    }
    return job;
}

}  // namespace qx
