#include "qx/ui/control_groups.h"

#include <gtest/gtest.h>

#include "qx/platform/base/cstring.h"
#include "qx/platform/gfx/gdi_objects.h"
#include "qx/platform/gfx/targets.h"
#include "tests/ui/ui_fixture.h"

namespace {

enum : int { kName = 11, kValue = 12, kUnit = 13, kKind = 14, kApply = 15, kAgain = 16, kMode = 17, kPanel = 18,
             kInner = 19 };

// A dialog-like window with a few kinds of controls.
class ControlGroupsTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        parent = MakeParent();
        ShowWindow(parent, SW_SHOW);
        name = Control(parent, L"Edit", WS_TABSTOP, kName, CRect(10, 10, 110, 30));
        value = Control(parent, L"Edit", WS_TABSTOP, kValue, CRect(10, 40, 110, 60));
        unit = Control(parent, L"ComboBox", CBS_DROPDOWN, kUnit, CRect(120, 40, 200, 140));
        kind = Control(parent, L"ComboBox", CBS_DROPDOWNLIST, kKind, CRect(120, 10, 200, 110));
        apply = Control(parent, L"Button", BS_PUSHBUTTON, kApply, CRect(10, 70, 90, 94), L"Übernehmen");
        again = Control(parent, L"Button", BS_AUTOCHECKBOX, kAgain, CRect(10, 100, 60, 116), L"Wieder fragen");
        mode = Control(parent, L"Button", BS_AUTORADIOBUTTON, kMode, CRect(10, 120, 60, 136), L"&Genau");
    }

    static DWORD Style(HWND hwnd) { return static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE)); }

    HWND parent = nullptr;
    HWND name = nullptr, value = nullptr, unit = nullptr, kind = nullptr, apply = nullptr, again = nullptr,
         mode = nullptr;
};

}  // namespace

TEST_F(ControlGroupsTest, ListsEndAtTheirZeroAndPassOverMissingControls) {
    EnableWindows(parent, FALSE, kName, kValue, 999, kApply, 0, kAgain);
    EXPECT_FALSE(IsWindowEnabled(name));
    EXPECT_FALSE(IsWindowEnabled(value));
    EXPECT_FALSE(IsWindowEnabled(apply));
    EXPECT_TRUE(IsWindowEnabled(again));  // after the 0
    EXPECT_TRUE(IsWindowEnabled(unit));   // not listed
    EnableWindows(parent, TRUE, kName, kValue, kApply, 0);
    EXPECT_TRUE(IsWindowEnabled(name) && IsWindowEnabled(value) && IsWindowEnabled(apply));

    // A list whose 0 was forgotten ends with its last identifier.
    ShowWindows(parent, SW_HIDE, kUnit, kKind);
    EXPECT_FALSE(IsWindowVisible(unit));
    EXPECT_FALSE(IsWindowVisible(kind));
    EXPECT_TRUE(IsWindowVisible(name));
    ShowWindows(parent, SW_SHOW, kUnit, 0);
    EXPECT_TRUE(IsWindowVisible(unit));
    EXPECT_FALSE(IsWindowVisible(kind));
}

TEST_F(ControlGroupsTest, OnlyControlsWithATextSelectionBecomeReadOnly) {
    const DWORD buttonStyle = Style(apply);
    const DWORD listStyle = Style(kind);
    SetReadOnly(parent, TRUE, kName, kApply, kKind, 0);
    EXPECT_TRUE(Style(name) & ES_READONLY);
    EXPECT_FALSE(Style(value) & ES_READONLY);  // not listed
    EXPECT_EQ(Style(apply), buttonStyle);
    EXPECT_EQ(Style(kind), listStyle);
    SetReadOnly(parent, FALSE, kName, 0);
    EXPECT_FALSE(Style(name) & ES_READONLY);
}

TEST_F(ControlGroupsTest, TheEnumerationCallbacksReachEveryChildAndGoOn) {
    HWND panel = CreateWindowEx(0, L"QxRecorder", L"", WS_CHILD | WS_VISIBLE, 220, 10, 100, 100, parent, kPanel);
    HWND inner = Control(panel, L"Edit", 0, kInner, CRect(5, 5, 50, 25));
    EXPECT_TRUE(DisableWindows(name, 0));
    EXPECT_FALSE(IsWindowEnabled(name));
    EnumChildWindows(parent, DisableWindows, 0);
    for (HWND child : {name, value, unit, kind, apply, again, mode, panel, inner}) EXPECT_FALSE(IsWindowEnabled(child));
    EnumChildWindows(parent, EnableWindows, 0);
    for (HWND child : {name, value, unit, kind, apply, again, mode, panel, inner}) EXPECT_TRUE(IsWindowEnabled(child));
    EXPECT_TRUE(IsWindowEnabled(parent));
}

TEST_F(ControlGroupsTest, HelpIdentifiersFollowTheControlIdentifiers) {
    HWND panel = CreateWindowEx(0, L"QxRecorder", L"", WS_CHILD | WS_VISIBLE, 220, 10, 100, 100, parent, kPanel);
    HWND inner = Control(panel, L"Edit", 0, kInner, CRect(5, 5, 50, 25));
    SetChildsHelpIds(parent, 5000);
    EXPECT_EQ(GetWindowContextHelpId(parent), 5000u);
    EXPECT_EQ(GetWindowContextHelpId(name), 5000u + kName);
    EXPECT_EQ(GetWindowContextHelpId(mode), 5000u + kMode);
    EXPECT_EQ(GetWindowContextHelpId(panel), 5000u + kPanel);
    EXPECT_EQ(GetWindowContextHelpId(inner), 5000u + kInner);  // below a child too
}

TEST_F(ControlGroupsTest, CheckBoxesAndRadioButtonsGetTheWidthOfTheirTextInTheDialogsFont) {
    // The dialog's font, larger than the default, must be the measure.
    CFont font;
    font.CreateFont(-20, 0, 0, 0, 400, false, false, false, 1, L"MS Shell Dlg");
    SendMessage(parent, WM_SETFONT, reinterpret_cast<WPARAM>(&font));
    CMemoryDC dc;
    dc.SelectObject(&font);
    const auto width = [&](const wchar_t* text) { return dc.GetTextExtent(CString(text)).cx; };

    struct Case {
        const char* name;
        int dpi;
        int room;
    } cases[] = {{"96 dots per inch", 96, 18}, {"above 96 dots per inch", 120, 21}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        qx::SetScreenDpi(c.dpi);
        qx::ResetDPIMult();
        const CRect applyBefore = WindowRect(apply), nameBefore = WindowRect(name), againBefore = WindowRect(again);
        AdjustControlWidths(parent, kAgain, kMode, kApply, kName, 0);
        const CRect adjusted = WindowRect(again);
        EXPECT_EQ(adjusted.Width(), width(L"Wieder fragen") + c.room);
        EXPECT_EQ(adjusted.TopLeft(), againBefore.TopLeft());
        EXPECT_EQ(adjusted.Height(), againBefore.Height());
        EXPECT_EQ(WindowRect(mode).Width(), width(L"&Genau") + c.room);
        EXPECT_EQ(WindowRect(apply), applyBefore);
        EXPECT_EQ(WindowRect(name), nameBefore);
    }
}
