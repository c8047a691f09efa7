#include "qx/ui/wnd_position.h"

#include <gtest/gtest.h>

#include <string>

#include "qx/install/reg_functions.h"
#include "qx/platform/os/registry_store.h"
#include "qx/platform/wnd/dialog_box.h"
#include "tests/support/fixtures.h"
#include "tests/support/test_support.h"
#include "tests/ui/ui_fixture.h"

namespace {

constexpr wchar_t kKey[] = L"Software\\quOrix GmbH\\Heizlast\\Fenster";
constexpr wchar_t kValue[] = L"Raumliste";

// Two monitors side by side; the registry lives in a temporary folder.
class WndPositionTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        qx::ResetRegistry();
        qx::SetScreenLayout({{CRect(0, 0, 1920, 1080), CRect(0, 0, 1920, 1040)},
                             {CRect(1920, 0, 3200, 1024), CRect(1920, 0, 3200, 1024)}});
    }
    void TearDown() override {
        for (HWND dialog : dialogs_) DestroyWindow(dialog);
        UiTest::TearDown();
        qx::ResetRegistry();
    }

    static void Store(const wchar_t* text) { ASSERT_TRUE(RegSetValueW(HKEY_CURRENT_USER, kKey, kValue, text)); }
    static std::wstring Stored() {
        CString text;
        return RegQueryValueW(HKEY_CURRENT_USER, kKey, kValue, text) ? text.str() : L"<none>";
    }
    static BOOL Restore(HWND window, BOOL checkParent = FALSE) {
        return RestoreWndPosition(window, HKEY_CURRENT_USER, kKey, kValue, checkParent);
    }

    // A top-level window the user can size.
    HWND Sizable() { return MakeParent(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME); }
    // A modeless dialog owned by *owner*, with or without a sizing border.
    HWND Dialog(HWND owner, bool sizable) {
        qx::DialogTemplate dialog;
        dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | (sizable ? WS_THICKFRAME : 0u);
        dialog.rect = CRect(0, 0, 120, 60);
        dialog.title = L"Raum";
        HWND hwnd = CreateDialogIndirectParam(dialog, owner, [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return FALSE; }, 0);
        dialogs_.push_back(hwnd);
        return hwnd;
    }

    qx::test::TempDir registry_;
    qx::test::ScopedEnv registryDir_{"QX_REGISTRY_DIR", registry_.path().string()};
    std::vector<HWND> dialogs_;
};

}  // namespace

TEST_F(WndPositionTest, APositionIsStoredAsTextAndRestored) {
    HWND window = Sizable();  // at (100, 50), 400 x 300
    EXPECT_TRUE(StoreWndPosition(window, HKEY_CURRENT_USER, kKey, kValue));
    EXPECT_EQ(Stored(), L"top=50, bottom=350, left=100, right=500");

    MoveWindow(window, 10, 10, 200, 100);
    EXPECT_TRUE(Restore(window));
    EXPECT_EQ(WindowRect(window), CRect(100, 50, 500, 350));

    // A window on the second monitor comes back there, at its stored size.
    Store(L"top=100, bottom=700, left=2000, right=2900");
    EXPECT_TRUE(Restore(window));
    EXPECT_EQ(WindowRect(window), CRect(2000, 100, 2900, 700));
}

TEST_F(WndPositionTest, StoringFailsForAGoneWindowOrAnUnknownRoot) {
    HWND window = Sizable();
    EXPECT_FALSE(StoreWndPosition(window, HKEY_USERS, kKey, kValue));
    DestroyWindow(window);
    EXPECT_FALSE(StoreWndPosition(window, HKEY_CURRENT_USER, kKey, kValue));
    EXPECT_EQ(Stored(), L"<none>");
}

TEST_F(WndPositionTest, StoredPositionsThatCannotBeTakenLeaveTheWindowWhereItIs) {
    struct Case {
        const char* name;
        const wchar_t* stored;
    } cases[] = {
        {"right of every monitor", L"top=100, bottom=400, left=3300, right=3700"},
        {"below the shorter second monitor", L"top=1050, bottom=1300, left=2000, right=2400"},
        // Most of the window would be on the screen, but not the strip the
        // user needs to move it.
        {"title strip above the screen", L"top=-100, bottom=500, left=100, right=500"},
        {"a field missing", L"top=100, bottom=400, left=100"},
        {"fields out of order", L"bottom=400, top=100, left=100, right=500"},
        {"no number", L"top=x, bottom=400, left=100, right=500"},
        {"empty rectangle", L"top=100, bottom=100, left=100, right=500"},
        {"inverted rectangle", L"top=100, bottom=400, left=500, right=100"},
        {"beyond any screen's coordinates", L"top=0, bottom=99999999999, left=0, right=500"},
        {"empty text", L""},
    };
    HWND window = Sizable();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Store(c.stored);
        EXPECT_FALSE(Restore(window));
        EXPECT_EQ(WindowRect(window), CRect(100, 50, 500, 350));
    }
}

TEST_F(WndPositionTest, TheStoredTextIsReadWithSpacesAndAnythingAfterTheLastNumber) {
    HWND window = Sizable();
    Store(L"top=  60,bottom=360 ,  left=-20, right=+380; by hand");
    EXPECT_TRUE(Restore(window));
    EXPECT_EQ(WindowRect(window), CRect(-20, 60, 380, 360));
}

TEST_F(WndPositionTest, AFixedSizeDialogOnlyMovesWhileASizableOneTakesTheStoredSize) {
    HWND owner = MakeParent();
    HWND fixed = Dialog(owner, false);
    HWND sizable = Dialog(owner, true);
    const CRect fixedSize = WindowRect(fixed);
    // Written when the dialogs were larger (another font, another layout).
    Store(L"top=200, bottom=900, left=300, right=1300");
    EXPECT_TRUE(Restore(fixed));
    EXPECT_EQ(WindowRect(fixed), CRect(300, 200, 300 + fixedSize.Width(), 200 + fixedSize.Height()));
    EXPECT_TRUE(Restore(sizable));
    EXPECT_EQ(WindowRect(sizable), CRect(300, 200, 1300, 900));
}

TEST_F(WndPositionTest, WithoutAStoredValueOnlyADialogOverAVisibleParentIsCentred) {
    HWND owner = MakeParent();  // (100, 50) - (500, 350)
    HWND dialog = Dialog(owner, false);
    HWND window = Sizable();
    MoveWindow(dialog, 1500, 900, WindowRect(dialog).Width(), WindowRect(dialog).Height());
    const CRect before = WindowRect(dialog);

    EXPECT_FALSE(Restore(dialog));  // the owner is hidden: nowhere to centre on
    EXPECT_EQ(WindowRect(dialog), before);

    ShowWindow(owner, SW_SHOW);
    EXPECT_FALSE(Restore(dialog));
    const CRect centred = WindowRect(dialog);
    EXPECT_EQ(centred.left, 100 + (400 - before.Width()) / 2);
    EXPECT_EQ(centred.top, 50 + (300 - before.Height()) / 2);
    EXPECT_EQ(centred.Width(), before.Width());

    EXPECT_FALSE(Restore(window));  // no dialog: left alone
    EXPECT_EQ(WindowRect(window), CRect(100, 50, 500, 350));
}

TEST_F(WndPositionTest, CheckingTheParentCentresAPositionSavedBesideAnotherParent) {
    HWND owner = MakeParent();  // (100, 50) - (500, 350)
    ShowWindow(owner, SW_SHOW);
    HWND dialog = Dialog(owner, true);
    // Saved next to a parent window that stood on the second monitor.
    Store(L"top=100, bottom=300, left=2000, right=2300");

    EXPECT_TRUE(Restore(dialog, TRUE));
    EXPECT_EQ(WindowRect(dialog), CRect(100 + (400 - 300) / 2, 50 + (300 - 200) / 2, 100 + (400 - 300) / 2 + 300,
                                        50 + (300 - 200) / 2 + 200));

    // Without the check the stored place is taken as it is.
    EXPECT_TRUE(Restore(dialog, FALSE));
    EXPECT_EQ(WindowRect(dialog), CRect(2000, 100, 2300, 300));

    // A place that meets the parent is kept with the check too.
    Store(L"top=300, bottom=500, left=450, right=750");
    EXPECT_TRUE(Restore(dialog, TRUE));
    EXPECT_EQ(WindowRect(dialog), CRect(450, 300, 750, 500));
}
