// qxtool printers: the system's printer queues with what a print job on
// each of them gets: papers with their printable areas, resolution, colour.
#include <string>
#include <vector>

#include "qx/platform/base/format.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/print_queues.h"
#include "tools/qxtool/command.h"

namespace qxtool {
namespace {

std::wstring DescribeMedia(const qx::PrintMedia& media) {
    const double printableWidth = media.widthMm - media.leftMm - media.rightMm;
    const double printableLength = media.lengthMm - media.topMm - media.bottomMm;
    return qx::Format(L"%s %.1f x %.1f mm, printable %.1f x %.1f mm from %.1f, %.1f mm", media.name.c_str(),
                      media.widthMm, media.lengthMm, printableWidth, printableLength, media.leftMm, media.topMm);
}

std::wstring DescribeQueue(const qx::PrintQueue& queue) {
    std::wstring text = queue.name + (queue.isDefault ? L" (default)" : L"");
    if (!queue.info.empty()) text += L": " + queue.info;
    text += L"\n";
    const wchar_t* label = L"  paper      ";
    for (const qx::PrintMedia& media : queue.media) {
        text += label + DescribeMedia(media) + L"\n";
        label = L"             ";
    }
    if (queue.media.empty()) text += L"  paper      (the queue names none)\n";
    text += queue.dpiX > 0 ? qx::Format(L"  resolution %d x %d dpi\n", queue.dpiX, queue.dpiY)
                           : std::wstring(L"  resolution (the queue names none)\n");
    text += queue.color ? L"  colour     yes\n" : L"  colour     no (monochrome)\n";
    text += queue.duplex ? L"  two-sided  yes\n" : L"  two-sided  no\n";
    text += L"  state      " + queue.state + (queue.accepting ? L", accepting jobs\n" : L", not accepting jobs\n");
    if (!queue.location.empty()) text += L"  location   " + queue.location + L"\n";
    return text;
}

int Printers(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    RejectUnknownOptions(args);
    if (args.size() > 1) throw UsageError("expects at most one QUEUE");
    std::vector<qx::PrintQueue> queues;
    std::wstring error;
    if (args.empty()) {
        if (!qx::ListPrintQueues(&queues, &error)) throw Failure(qx::WideToUtf8(error));
    } else {
        queues.emplace_back();
        if (!qx::FindPrintQueue(Wide(args[0]), &queues.back(), &error)) throw Failure(qx::WideToUtf8(error));
    }
    if (queues.empty()) PrintUtf8(L"no printer queues\n");
    for (const qx::PrintQueue& queue : queues) PrintUtf8(DescribeQueue(queue));
    return kExitOk;
}

constexpr Command kCommands[] = {
    {"printers", "[QUEUE]", "list the printer queues with their papers, resolution and colour",
     "Asks the print scheduler (the one CUPS_SERVER or the client configuration\n"
     "names) for its queues, or for QUEUE alone, and prints for each its papers\n"
     "with the printable area (size, and the left and top borders), its default\n"
     "resolution, whether it prints in colour and on both sides, and its state.\n"
     "A print job on the queue (qxtool print --printer) is composed for exactly\n"
     "these. An unknown queue or a scheduler that cannot be reached is a failure\n"
     "with the scheduler's message.",
     Printers},
};

const CommandRegistrar registrar(kCommands);

}  // namespace
}  // namespace qxtool
