#include "qx/trace/message_tracer.h"

#include <cstdarg>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "qx/platform/base/format.h"
#include "qx/platform/os/debug_output.h"
#include "qx/platform/wnd/window.h"
#include "qx/trace/internal/message_details.h"
#include "qx/trace/internal/message_names.h"

namespace qx {

namespace {

// A pause longer than this between two traced messages is marked.
constexpr std::uint32_t kPauseMilliseconds = 1000;

// The tracer's process-wide state: which table messages are traced, the
// number of the next line and when the last traced message came.
class MessageTracer {
public:
    static MessageTracer& Instance() {
        static MessageTracer tracer;
        return tracer;
    }

    bool IsTraced(unsigned message) {
        const TraceEntry* entry = FindTraceEntry(message);
        if (entry == nullptr) return true;
        std::lock_guard lock(mutex_);
        return traced_[Position(entry)];
    }

    void Silence(unsigned message) {
        if (const TraceEntry* entry = FindTraceEntry(message)) {
            std::lock_guard lock(mutex_);
            traced_[Position(entry)] = false;
        }
    }

    // The text of the next line, after the dashed line when the last traced
    // message came more than a second ago. The first line of all follows no
    // dashed line: there is no pause before it to mark.
    std::wstring NextLine(const wchar_t* prefix, const std::wstring& description) {
        std::lock_guard lock(mutex_);
        std::wstring text;
        std::uint32_t now = GetTickCount();
        // Unsigned difference: right across the 49.7-day wrap of the clock.
        if (last_ && now - *last_ > kPauseMilliseconds) text = L"--------------------------------------\n";
        last_ = now;
        text += Format(L"%03u: %s%s\n", counter_++, prefix != nullptr ? prefix : L"", description.c_str());
        return text;
    }

    void Reset() {
        std::lock_guard lock(mutex_);
        traced_.assign(TraceTableSize(), true);
        counter_ = 0;
        last_.reset();
    }

private:
    MessageTracer() : traced_(TraceTableSize(), true) {}

    static std::size_t Position(const TraceEntry* entry) { return static_cast<std::size_t>(entry - TraceTable()); }

    std::mutex mutex_;
    std::vector<bool> traced_;
    unsigned counter_ = 0;
    std::optional<std::uint32_t> last_;
};

}  // namespace

void ResetMessageTracerForTesting() { MessageTracer::Instance().Reset(); }

}  // namespace qx

void TraceMessage(const wchar_t* prefix, unsigned message, unsigned wParam, long lParam, long result) {
    auto& tracer = qx::MessageTracer::Instance();
    if (!tracer.IsTraced(message)) return;
    // Described before the line is written and without the tracer's lock:
    // naming a WM_COMMAND sends WM_GETDLGCODE, whose window procedure may
    // trace that message in turn.
    std::wstring description = qx::DescribeMessage(message, wParam, lParam, result);
    // Written outside the lock, so that a sink which traces cannot deadlock.
    qx::OutputDebugText(tracer.NextLine(prefix, description));
}

void DontTraceMessages(unsigned message, ...) {
    auto& tracer = qx::MessageTracer::Instance();
    va_list args;
    va_start(args, message);
    for (unsigned next = message; next != 0; next = va_arg(args, unsigned)) tracer.Silence(next);
    va_end(args);
}
