// A window-layer test: a scripted host installed for the test, and a parent
// window class that records the messages its children send it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "qx/platform/wnd/script_host.h"
#include "qx/platform/wnd/window.h"

struct Recorded {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    UINT notifyCode;  // of a WM_NOTIFY, read while its header is alive
};

inline std::vector<Recorded>& RecordedMessages() {
    static std::vector<Recorded> messages;
    return messages;
}

inline LRESULT RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const UINT code = message == WM_NOTIFY && lParam ? reinterpret_cast<const NMHDR*>(lParam)->code : 0;
    RecordedMessages().push_back({hwnd, message, wParam, lParam, code});
    return DefWindowProc(hwnd, message, wParam, lParam);
}

inline std::wstring TextOf(HWND hwnd) {
    wchar_t buffer[256];
    GetWindowText(hwnd, buffer, 256);
    return buffer;
}

class WndTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterWindowProc(L"QxRecorder", RecordingProc);
        auto host = std::make_unique<qx::ScriptHost>();
        script_ = host.get();
        previous_ = qx::SetUiHost(std::move(host));
        RecordedMessages().clear();
    }
    void TearDown() override {
        for (HWND hwnd : owned_) DestroyWindow(hwnd);
        qx::SetUiHost(std::move(previous_));
    }

    HWND MakeParent(DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU) {
        HWND hwnd = CreateWindowEx(0, L"QxRecorder", L"Parent", style, 100, 50, 400, 300, nullptr, 0);
        owned_.push_back(hwnd);
        return hwnd;
    }

    // The WM_COMMAND notifications the parent received, as (id, code).
    std::vector<std::pair<int, int>> Commands() const {
        std::vector<std::pair<int, int>> commands;
        for (const Recorded& r : RecordedMessages()) {
            if (r.message == WM_COMMAND) commands.emplace_back(LOWORD(r.wParam), HIWORD(r.wParam));
        }
        return commands;
    }

    qx::ScriptHost* script_ = nullptr;
    std::int64_t now_ = 1000000;

private:
    std::unique_ptr<qx::UiHost> previous_;
    std::vector<HWND> owned_;
};
