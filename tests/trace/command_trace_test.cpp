// The tracer with real windows: WM_COMMAND notifications named by the kind
// of control that sent them, control IDs of WM_CTLCOLOR..., and a control
// that traces the WM_GETDLGCODE the tracer sends it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "qx/platform/base/format.h"
#include "qx/platform/wnd/script_host.h"
#include "qx/platform/wnd/ui_host.h"
#include "qx/platform/wnd/window.h"
#include "qx/trace/message_tracer.h"
#include "tests/trace/tracer_fixture.h"

namespace qx {
namespace {

// A parent that traces the notifications its controls send it.
LRESULT TracingParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = DefWindowProc(hwnd, message, wParam, lParam);
    if (message == WM_COMMAND) TraceMessage(L"Parent: ", message, static_cast<unsigned>(wParam), lParam, result);
    return result;
}

// A button of its own class that traces the dialog code it is asked for.
LRESULT TracingButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_GETDLGCODE) return DefWindowProc(hwnd, message, wParam, lParam);
    TraceMessage(nullptr, message, static_cast<unsigned>(wParam), lParam, DLGC_BUTTON);
    return DLGC_BUTTON;
}

class CommandTraceTest : public test::TracerTest {
protected:
    void SetUp() override {
        test::TracerTest::SetUp();
        RegisterWindowProc(L"QxTracingParent", TracingParentProc);
        RegisterWindowProc(L"QxTracingButton", TracingButtonProc);
        previousHost_ = SetUiHost(std::make_unique<ScriptHost>());
        parent_ = CreateWindowEx(0, L"QxTracingParent", L"Parent", WS_POPUP | WS_CAPTION, 100, 50, 400, 300, nullptr, 0);
        ASSERT_NE(parent_, nullptr);
    }

    void TearDown() override {
        DestroyWindow(parent_);
        SetUiHost(std::move(previousHost_));
        test::TracerTest::TearDown();
    }

    HWND Child(const wchar_t* className, DWORD style, int id) {
        HWND hwnd = CreateWindowEx(0, className, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 100, 24, parent_, id);
        EXPECT_NE(hwnd, nullptr) << className;
        return hwnd;
    }

    static long Param(HWND hwnd) { return static_cast<long>(reinterpret_cast<LPARAM>(hwnd)); }
    static std::wstring Hex(HWND hwnd) {
        return Format(L"0x%llx", static_cast<unsigned long long>(reinterpret_cast<LPARAM>(hwnd)));
    }

    HWND parent_ = nullptr;

private:
    std::unique_ptr<UiHost> previousHost_;
};

TEST_F(CommandTraceTest, NamesTheNotificationByTheKindOfControl) {
    struct Case {
        const char* label;
        const wchar_t* className;
        DWORD style;
        unsigned code;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"push button", L"Button", BS_PUSHBUTTON, BN_CLICKED, L"BN_CLICKED"},
        {"default push button", L"Button", BS_DEFPUSHBUTTON, BN_SETFOCUS, L"BN_SETFOCUS"},
        {"check box", L"Button", BS_AUTOCHECKBOX, BN_DBLCLK, L"BN_DBLCLK"},
        {"radio button", L"Button", BS_AUTORADIOBUTTON, BN_KILLFOCUS, L"BN_KILLFOCUS"},
        {"button, unknown code", L"Button", BS_PUSHBUTTON, 0x300, L"768"},
        {"group box (a static, by its dialog code)", L"Button", BS_GROUPBOX, BN_CLICKED, L"0"},
        {"edit", L"Edit", 0, EN_CHANGE, L"EN_CHANGE"},
        {"edit, scrolled", L"Edit", ES_MULTILINE, EN_VSCROLL, L"EN_VSCROLL"},
        {"edit, unknown code", L"Edit", 0, 1, L"1"},
        {"drop-down list", L"ComboBox", CBS_DROPDOWNLIST, CBN_SELCHANGE, L"CBN_SELCHANGE"},
        // A drop-down combo box answers DLGC_HASSETSEL like an edit control.
        {"drop-down combo box", L"ComboBox", CBS_DROPDOWN, CBN_SELENDCANCEL, L"CBN_SELENDCANCEL"},
        {"combo box out of space", L"ComboBox", CBS_DROPDOWNLIST, CBN_ERRSPACE, L"CBN_ERRSPACE"},
        {"list box", L"ListBox", LBS_NOTIFY, LBN_SELCHANGE, L"1"},
        {"static", L"Static", SS_NOTIFY, STN_CLICKED, L"0"},
    };
    int id = 100;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ResetMessageTracerForTesting();
        HWND control = Child(c.className, c.style, ++id);
        EXPECT_EQ(Trace(WM_COMMAND, MAKEWPARAM(id, c.code), Param(control)),
                  Format(L"000: WM_COMMAND, Notify code: %s, ID: %u, HWND: %s\n", c.expected, id, Hex(control).c_str()));
    }
}

TEST_F(CommandTraceTest, TracesTheNotificationsControlsSendTheirParent) {
    HWND button = Child(L"Button", BS_PUSHBUTTON, 10);
    HWND edit = Child(L"Edit", 0, 11);
    output_.clear();
    SendMessage(button, BM_CLICK);
    SendMessage(edit, WM_CHAR, 'a', 1);
    EXPECT_EQ(output_, Format(L"000: Parent: WM_COMMAND, Notify code: BN_CLICKED, ID: 10, HWND: %s\n"
                              L"001: Parent: WM_COMMAND, Notify code: EN_UPDATE, ID: 11, HWND: %s\n"
                              L"002: Parent: WM_COMMAND, Notify code: EN_CHANGE, ID: 11, HWND: %s\n",
                              Hex(button).c_str(), Hex(edit).c_str(), Hex(edit).c_str()));
}

TEST_F(CommandTraceTest, ADestroyedControlGivesTheNumber) {
    HWND button = Child(L"Button", BS_PUSHBUTTON, 12);
    DestroyWindow(button);
    EXPECT_EQ(Trace(WM_COMMAND, MAKEWPARAM(12, BN_CLICKED), Param(button)),
              Format(L"000: WM_COMMAND, Notify code: 0, ID: 12, HWND: %s\n", Hex(button).c_str()));
}

// The tracer asks the control for its dialog code outside its lock, so a
// control that traces that question in turn writes its line first.
TEST_F(CommandTraceTest, AControlMayTraceTheDialogCodeItIsAskedFor) {
    HWND button = Child(L"QxTracingButton", 0, 5);
    EXPECT_EQ(Trace(WM_COMMAND, MAKEWPARAM(5, BN_CLICKED), Param(button)),
              Format(L"000: WM_GETDLGCODE, Received: DLGC_BUTTON\n"
                     L"001: WM_COMMAND, Notify code: BN_CLICKED, ID: 5, HWND: %s\n",
                     Hex(button).c_str()));
}

TEST_F(CommandTraceTest, NamesTheControlOfAColourMessageByItsId) {
    HWND edit = Child(L"Edit", 0, 21);
    EXPECT_EQ(Trace(WM_CTLCOLOREDIT, 0x44, Param(edit)),
              Format(L"000: WM_CTLCOLOREDIT, HDC: 0x44, HWND: %s (ID:21)\n", Hex(edit).c_str()));
}

}  // namespace
}  // namespace qx
