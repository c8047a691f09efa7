#include "qx/platform/os/debug_output.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "qx/platform/base/utf.h"

namespace qx {

namespace {

// The one owner of the installed sink.
class DebugOutput {
public:
    static DebugOutput& Instance() {
        static DebugOutput output;
        return output;
    }

    DebugOutputSink Exchange(DebugOutputSink sink) { return std::exchange(sink_, std::move(sink)); }

    void Write(std::wstring_view text) const {
        if (sink_) {
            sink_(text);
            return;
        }
        // Looked up on every call: a program that sets the variable after
        // start-up is heard from then on.
        const char* enabled = std::getenv("QX_DEBUG_OUTPUT");
        if (!enabled || !*enabled) return;
        const std::string bytes = WideToUtf8(text);
        std::fwrite(bytes.data(), 1, bytes.size(), stderr);
    }

private:
    DebugOutputSink sink_;
};

}  // namespace

void OutputDebugText(std::wstring_view text) { DebugOutput::Instance().Write(text); }

DebugOutputSink SetDebugOutputSink(DebugOutputSink sink) {
    return DebugOutput::Instance().Exchange(std::move(sink));
}

}  // namespace qx
