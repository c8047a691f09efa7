// The system's printer queues and the print jobs sent to them, through the
// print scheduler. The scheduler is the one the environment (CUPS_SERVER) or
// the client configuration names, looked up anew for every call, so that a
// program sees a scheduler that was started or moved after it.
//
// Every function answers with the scheduler's own message when it fails
// ("The printer or class does not exist.", a queue that does not accept
// jobs); a scheduler that cannot be reached gives a message that names it.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/base/export.h"

namespace qx {

// A paper size of a queue with the borders it cannot print on.
struct PrintMedia {
    std::wstring name;         // the queue's name for it, "iso_a4_210x297mm"
    double widthMm = 0;        // portrait: width <= length for the usual sizes
    double lengthMm = 0;
    double leftMm = 0, topMm = 0, rightMm = 0, bottomMm = 0;
};

struct PrintQueue {
    std::wstring name;
    std::wstring info;         // the description the administrator gave
    std::wstring location;
    std::wstring makeAndModel;
    bool isDefault = false;
    bool accepting = true;     // the queue takes new jobs
    std::wstring state;        // "idle", "processing" or "stopped"
    std::vector<PrintMedia> media;  // the sizes it prints, the default first
    int dpiX = 0, dpiY = 0;    // the default resolution (0: the queue names none)
    bool color = false;
    bool duplex = false;       // it prints on both sides
};

// Queues in the scheduler's order; false with *error* when the scheduler
// cannot be asked. No queues is a success with an empty list.
QX_API bool ListPrintQueues(std::vector<PrintQueue>* queues, std::wstring* error);

// The queue *name*, or the default queue for an empty name, with its
// capabilities. False with *error* for an unknown queue, no default queue
// or a scheduler that cannot be asked.
QX_API bool FindPrintQueue(std::wstring_view name, PrintQueue* queue, std::wstring* error);

struct PrintJobOptions {
    std::wstring title;        // the job's name in the queue
    int copies = 1;
    std::wstring media;        // a media name of the queue; empty: its default
    bool duplex = false;       // two-sided, bound on the long edge
};

// A PDF document streamed to a queue while it is being written: the job is
// created before the first byte, so that a queue that refuses it says so at
// once, and it prints only when Finish succeeds. A job destroyed without
// Finish is cancelled.
class QX_API PrintJob {
public:
    virtual ~PrintJob();
    // Appends document bytes; false when the scheduler stopped taking them
    // (ErrorMessage says why; the job is cancelled).
    virtual bool Write(std::string_view bytes) = 0;
    // Closes the document; false with ErrorMessage when the scheduler did
    // not take the job.
    virtual bool Finish() = 0;
    virtual void Cancel() = 0;
    virtual int Id() const = 0;
    virtual const std::wstring& ErrorMessage() const = 0;
};

// Creates a job on queue *name* (empty: the default queue); nullptr with
// *error* when the queue or the scheduler refuses it.
QX_API std::unique_ptr<PrintJob> StartPrintJob(std::wstring_view name, const PrintJobOptions& options,
                                               std::wstring* error);

}  // namespace qx
