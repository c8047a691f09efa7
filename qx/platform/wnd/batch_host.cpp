// The host for programs without a user: every modal window is answered with
// its default button, and what it said goes to stderr as "caption: text".
#include <cstdio>

#include "qx/platform/base/utf.h"
#include "qx/platform/wnd/internal/host_support.h"
#include "qx/platform/wnd/internal/hosts.h"

namespace qx::wnd {
namespace {

class BatchHost : public UiHost {
public:
    const char* Name() const override { return "batch"; }
    void RunModalLoop(HWND dialog) override {
        SettleModalWindow(dialog);
        std::wstring message = DialogMessage(dialog);
        // The box's line ends are CR LF; stderr gets plain line feeds.
        for (size_t at; (at = message.find(L"\r\n")) != std::wstring::npos;) message.erase(at, 1);
        const std::string line = WideToUtf8(WindowTextOf(dialog) + L": " + message) + "\n";
        std::fwrite(line.data(), 1, line.size(), stderr);
        AnswerWithDefault(dialog);
    }
};

}  // namespace

std::unique_ptr<UiHost> MakeBatchHost() { return std::make_unique<BatchHost>(); }

}  // namespace qx::wnd
