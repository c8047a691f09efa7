// The message tracer's tests share one fixture: a fresh tracer, a clock the
// test moves, and the debug output captured.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "qx/platform/os/debug_output.h"
#include "qx/platform/os/process_info.h"
#include "qx/trace/message_tracer.h"

namespace qx::test {

class TracerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetMessageTracerForTesting();
        SetClockForTesting([this] { return now_; });
        previous_ = SetDebugOutputSink([this](std::wstring_view text) { output_ += text; });
    }

    void TearDown() override {
        SetDebugOutputSink(previous_);
        SetClockForTesting(nullptr);
        ResetMessageTracerForTesting();
    }

    // What tracing one message writes.
    std::wstring Trace(unsigned message, unsigned wParam = 0, long lParam = 0, long result = 0,
                       const wchar_t* prefix = nullptr) {
        output_.clear();
        TraceMessage(prefix, message, wParam, lParam, result);
        return output_;
    }

    void Advance(std::int64_t milliseconds) { now_ += milliseconds; }
    void SetNow(std::int64_t milliseconds) { now_ = milliseconds; }

    std::wstring output_;

private:
    std::int64_t now_ = 5'000'000;
    DebugOutputSink previous_;
};

}  // namespace qx::test
