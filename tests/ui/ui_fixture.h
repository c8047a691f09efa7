// The window utilities' tests: the window layer's fixture (a scripted host,
// a recording parent class) with the screen put back after each test, and
// helpers to make controls and read their rectangles.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "qx/platform/wnd/screen.h"
#include "qx/ui/wnd_util.h"
#include "tests/platform/wnd/wnd_fixture.h"

class UiTest : public WndTest {
protected:
    void SetUp() override {
        WndTest::SetUp();
        qx::ResetDPIMult();
    }
    void TearDown() override {
        WndTest::TearDown();
        qx::SetScreenLayout({});
        qx::SetScreenDpi(96);
        qx::ResetDPIMult();
    }

    static HWND Control(HWND parent, const wchar_t* className, DWORD style, int id, const CRect& rect,
                        const wchar_t* text = L"") {
        return CreateWindowEx(0, className, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top, rect.Width(),
                              rect.Height(), parent, id);
    }
    static CRect WindowRect(HWND hwnd) {
        CRect rect;
        GetWindowRect(hwnd, &rect);
        return rect;
    }
    static std::wstring Text(HWND hwnd) {
        wchar_t buffer[256] = {};
        GetWindowText(hwnd, buffer, 256);
        return buffer;
    }
};
