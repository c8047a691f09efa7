#include "qx/text/numeric_exchange.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "qx/message/message_table.h"
#include "qx/platform/wnd/cdialog.h"
#include "qx/platform/wnd/cwnd.h"
#include "qx/platform/wnd/script_host.h"
#include "qx/platform/wnd/window.h"
#include "tests/text/formula_fixture.h"

namespace {

constexpr int kEdit = 101;
constexpr int kCombo = 102;
constexpr int kList = 103;

LRESULT PlainParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProc(hwnd, message, wParam, lParam);
}

// A parent window with an edit, an editable combo box and a drop-down list,
// exchanged the way a dialog's DoDataExchange does it.
class NumericExchangeTest : public qx::test::FormulaTest {
protected:
    void SetUp() override {
        FormulaTest::SetUp();
        RegisterWindowProc(L"QxExchangeParent", PlainParentProc);
        parent_ = CreateWindowEx(0, L"QxExchangeParent", L"Rohrnetz", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, 0);
        edit_ = CreateWindowEx(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 100, 20, parent_, kEdit);
        combo_ = CreateWindowEx(0, L"ComboBox", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 10, 40, 100, 100, parent_, kCombo);
        list_ = CreateWindowEx(0, L"ComboBox", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 10, 70, 100, 100, parent_, kList);
        for (HWND box : {combo_, list_}) {
            for (const wchar_t* entry : {L"10", L"25 (Vorgabe)", L"40"}) SendMessage(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        }
    }
    void TearDown() override {
        DestroyWindow(parent_);
        FormulaTest::TearDown();
    }

    // Runs one exchange; false when it failed.
    bool Exchange(bool save, const std::function<void(CDataExchange*)>& exchange) {
        CDataExchange dx(CWnd::FromHandle(parent_), save ? TRUE : FALSE);
        try {
            exchange(&dx);
        } catch (CUserException&) {
            return false;
        }
        return true;
    }
    bool Save(const std::function<void(CDataExchange*)>& exchange) { return Exchange(true, exchange); }
    void Load(const std::function<void(CDataExchange*)>& exchange) { ASSERT_TRUE(Exchange(false, exchange)); }

    static std::wstring Text(HWND hwnd) {
        CString text;
        CWnd::FromHandle(hwnd)->GetWindowText(text);
        return text.str();
    }
    std::pair<DWORD, DWORD> Selection() const {
        DWORD start = 0, end = 0;
        SendMessage(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }

    HWND parent_ = nullptr;
    HWND edit_ = nullptr;
    HWND combo_ = nullptr;
    HWND list_ = nullptr;
};

}  // namespace

TEST_F(NumericExchangeTest, AWholeNumberFormulaIsCheckedAndMayBeReplacedByItsResult) {
    struct Case {
        const char* name;
        const wchar_t* typed;
        int replaceByResult;
        bool ok;
        const wchar_t* stored;  // the formula afterwards, also the edit's text when it passed
        std::vector<std::wstring> messages;
    } cases[] = {
        {"a formula stays as typed", L"  2*(3,5+1)", 0, true, L"2*(3,5+1)", {}},
        {"replaced by its result", L"2*(3,5+1)", 1, true, L"9", {}},
        {"the result is rounded", L"7/4", 1, true, L"2", {}},
        {"empty passes", L"", 1, true, L"", {}},
        {"no formula", L"abc", 0, false, L"abc", {Message(L"Syntaxfehler", L"abc")}},
        {"division by zero", L"1/0", 1, false, L"1/0", {Message(L"Division durch 0", L"1/0")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        SetWindowText(edit_, c.typed);
        SetFocus(combo_);
        CNumString value;
        value.replaceByResult = c.replaceByResult;
        EXPECT_EQ(Save([&](CDataExchange* dx) { DDX_NumiString(dx, kEdit, value); }), c.ok);
        EXPECT_EQ(value, CString(c.stored));
        EXPECT_EQ(messages, c.messages);
        if (c.ok) {
            EXPECT_EQ(Text(edit_), c.stored);
        } else {
            // The user is sent back to the field, its text selected.
            EXPECT_EQ(GetFocus(), edit_);
            EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, static_cast<DWORD>(Text(edit_).size())));
        }
    }
    CNumString shown;
    shown = L"3*4";
    Load([&](CDataExchange* dx) { DDX_NumiString(dx, kEdit, shown); });
    EXPECT_EQ(Text(edit_), L"3*4");
}

TEST_F(NumericExchangeTest, ComboBoxFormulasSelectTheirEntryAndTakeTheirFormatWhenReplaced) {
    CNumString value;
    value = L"25";
    Load([&](CDataExchange* dx) { DDX_CBNumfString(dx, kCombo, value); });
    EXPECT_EQ(SendMessage(combo_, CB_GETCURSEL), 1);  // the entry that begins with it
    EXPECT_EQ(Text(combo_), L"25");
    // An empty formula selects nothing, rather than the first entry.
    value = L"";
    Load([&](CDataExchange* dx) { DDX_CBNumiString(dx, kList, value); });
    EXPECT_EQ(SendMessage(list_, CB_GETCURSEL), -1);
    EXPECT_EQ(Text(list_), L"");

    struct Case {
        const char* name;
        CString format;  // given to the constructor
        const wchar_t* stored;
    } cases[] = {
        {"the default format", CString(), L"5.00"},
        {"a format of its own", CString(L"%.1f"), L"5.0"},
        {"a text instead of a format: the default", CString(L"1"), L"5.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CNumString real = c.format.IsEmpty() ? CNumString() : CNumString(c.format);
        real.replaceByResult = 1;
        SetWindowText(combo_, L"2,5*2");
        EXPECT_TRUE(Save([&](CDataExchange* dx) { DDX_CBNumfString(dx, kCombo, real); }));
        EXPECT_EQ(real, CString(c.stored));
        EXPECT_EQ(Text(combo_), c.stored);
    }

    CNumString whole;
    whole.replaceByResult = 1;
    SetWindowText(combo_, L"2,5*3");
    EXPECT_TRUE(Save([&](CDataExchange* dx) { DDX_CBNumiString(dx, kCombo, whole); }));
    EXPECT_EQ(whole, CString(L"8"));  // 7.5 rounds to even

    // A drop-down list gives its chosen entry; one that is no formula fails.
    SendMessage(list_, CB_SETCURSEL, 2);
    EXPECT_TRUE(Save([&](CDataExchange* dx) { DDX_CBNumiString(dx, kList, whole); }));
    EXPECT_EQ(whole, CString(L"40"));
    SendMessage(list_, CB_SETCURSEL, 1);
    EXPECT_FALSE(Save([&](CDataExchange* dx) { DDX_CBNumiString(dx, kList, whole); }));
    EXPECT_EQ(messages, std::vector<std::wstring>{Message(L"Syntaxfehler", L"25 (Vorgabe)")});
    EXPECT_EQ(GetFocus(), list_);
}

TEST_F(NumericExchangeTest, APlainNumberAcceptsADecimalCommaAndNothingElse) {
    struct Case {
        const char* name;
        const wchar_t* typed;
        bool ok;
        double value;
        const wchar_t* shown;  // the edit's text afterwards
    } cases[] = {
        {"decimal comma", L"3,25", true, 3.25, L"3.25"},
        {"decimal point", L"3.25", true, 3.25, L"3.25"},
        {"zero", L"0", true, 0, L"0"},
        {"negative zero", L"-0", true, 0, L"-0"},
        {"spaces and tabs around", L" \t12,5 \t", true, 12.5, L" \t12.5 \t"},
        {"an exponent", L"1,5e3", true, 1500, L"1.5e3"},
        // Longer than a short buffer: read whole, not cut.
        {"many digits", L"0,000000000000000000000000000000000001", true, 1e-36, L"0.000000000000000000000000000000000001"},
        {"only the first comma is a point", L"1,5,3", false, 0, L"1.5,3"},
        {"letters", L"abc", false, 0, L"abc"},
        {"a unit after it", L"5 mm", false, 0, L"5 mm"},
        {"empty", L"", false, 0, L""},
        {"a line feed before it", L"\n5", false, 0, L"\n5"},
        {"beyond a double", L"1e999", false, 0, L"1e999"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        SetWindowText(edit_, c.typed);
        SendMessage(edit_, EM_SETSEL, 0, 1);
        double value = -1;
        EXPECT_EQ(Save([&](CDataExchange* dx) { DDX_BFText(dx, kEdit, value); }), c.ok);
        EXPECT_EQ(Text(edit_), c.shown);
        if (c.ok) {
            EXPECT_DOUBLE_EQ(value, c.value);
            EXPECT_TRUE(messages.empty());
            EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{1}));  // kept through the comma's change
        } else {
            EXPECT_EQ(value, -1);
            EXPECT_EQ(messages, std::vector<std::wstring>{L"Geben Sie eine Zahl ein."});
        }
    }
}

TEST_F(NumericExchangeTest, APlainFloatRefusesWhatAFloatCannotHoldAndBothShowSixDigits) {
    float value = 0;
    SetWindowText(edit_, L"3,25");
    EXPECT_TRUE(Save([&](CDataExchange* dx) { DDX_BFText(dx, kEdit, value); }));
    EXPECT_FLOAT_EQ(value, 3.25f);
    SetWindowText(edit_, L"1e39");
    EXPECT_FALSE(Save([&](CDataExchange* dx) { DDX_BFText(dx, kEdit, value); }));
    EXPECT_FLOAT_EQ(value, 3.25f);
    EXPECT_EQ(messages, std::vector<std::wstring>{L"Geben Sie eine Zahl ein."});

    struct Case {
        double value;
        const wchar_t* shown;
    } cases[] = {{3.14159265, L"3.14159"}, {1234567.0, L"1.23457e+06"}, {0.0001, L"0.0001"}, {-2.5, L"-2.5"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        double number = c.value;
        Load([&](CDataExchange* dx) { DDX_BFText(dx, kEdit, number); });
        EXPECT_EQ(Text(edit_), c.shown);
        float single = static_cast<float>(c.value);
        Load([&](CDataExchange* dx) { DDX_BFText(dx, kEdit, single); });
        EXPECT_EQ(Text(edit_), c.shown);
    }
}

TEST_F(NumericExchangeTest, TheExtendedDoubleExchangeTurnsEveryCommaAndSavesAnEmptyFieldAsZero) {
    double value = -1;
    SetWindowText(edit_, L"1,5");
    SendMessage(edit_, EM_SETSEL, 0, 1);
    EXPECT_TRUE(Save([&](CDataExchange* dx) { DDX_TextEx(dx, kEdit, value); }));
    EXPECT_DOUBLE_EQ(value, 1.5);
    EXPECT_EQ(Text(edit_), L"1.5");
    EXPECT_EQ(Selection(), std::make_pair(DWORD{0}, DWORD{1}));

    SetWindowText(edit_, L"");
    EXPECT_TRUE(Save([&](CDataExchange* dx) { DDX_TextEx(dx, kEdit, value); }));
    EXPECT_EQ(value, 0.0);
    EXPECT_TRUE(messages.empty());

    // Every comma is turned, so a thousands separator makes it no number.
    SetWindowText(edit_, L"1,000,5");
    value = -1;
    EXPECT_FALSE(Save([&](CDataExchange* dx) { DDX_TextEx(dx, kEdit, value); }));
    EXPECT_EQ(Text(edit_), L"1.000.5");
    EXPECT_EQ(value, -1);
    EXPECT_EQ(messages, std::vector<std::wstring>{L"Geben Sie eine Zahl ein."});

    value = 0.1;
    Load([&](CDataExchange* dx) { DDX_TextEx(dx, kEdit, value); });
    EXPECT_EQ(Text(edit_), L"0.1");
}

TEST_F(NumericExchangeTest, TheFrameworksMessagesAreTranslated) {
    qx::ReplaceMessageTable({{L"Geben Sie eine Zahl ein.", L"Enter a number."},
                             {L"Geben Sie eine ganze Zahl ein.", L"Enter a whole number."}});
    double real = 0;
    int whole = 0;
    SetWindowText(edit_, L"x");
    EXPECT_FALSE(Save([&](CDataExchange* dx) { DDX_BFText(dx, kEdit, real); }));
    EXPECT_FALSE(Save([&](CDataExchange* dx) { DDX_TextEx(dx, kEdit, real); }));
    EXPECT_FALSE(Save([&](CDataExchange* dx) { DDX_Text(dx, kEdit, whole); }));
    EXPECT_EQ(messages, (std::vector<std::wstring>{L"Enter a number.", L"Enter a number.", L"Enter a whole number."}));
}

namespace {

constexpr int kDiameter = 104;

// A dialog of the family with a formula field and a plain number.
class PipeDialog : public CDialog {
public:
    PipeDialog() {
        qx::DialogTemplate dialog;
        dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
        dialog.rect = CRect(0, 0, 160, 70);
        dialog.title = L"Rohr";
        dialog.items = {
            {WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE, CRect(7, 7, 100, 21), kEdit, L"Edit", L""},
            {WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE, CRect(7, 25, 100, 39), kDiameter, L"Edit", L""},
            {WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, CRect(50, 50, 100, 64), IDOK, L"Button", L"OK"},
            {WS_VISIBLE | WS_TABSTOP, 0, CRect(103, 50, 153, 64), IDCANCEL, L"Button", L"Abbrechen"},
        };
        InitModalIndirect(dialog);
        length.replaceByResult = 1;
        length = L"12";
    }
    CNumString length;
    double diameter = 0.5;

protected:
    void DoDataExchange(CDataExchange* exchange) override {
        DDX_NumiString(exchange, kEdit, length);
        DDX_BFText(exchange, kDiameter, diameter);
    }
};

}  // namespace

TEST_F(NumericExchangeTest, ADialogStaysOpenUntilItsFieldsHoldNumbers) {
    auto host = std::make_unique<qx::ScriptHost>();
    qx::ScriptHost* script = host.get();
    std::unique_ptr<qx::UiHost> previous = qx::SetUiHost(std::move(host));
    // The length is a formula, the diameter is no number at first.
    ASSERT_TRUE(script->Load("type 3*(4+1)\nkey Tab\ntype 0,8x\npress OK\nkey End\nkey Back\npress OK\n"));
    PipeDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    qx::SetUiHost(std::move(previous));
    EXPECT_EQ(dialog.length, CString(L"15"));
    EXPECT_DOUBLE_EQ(dialog.diameter, 0.8);
    EXPECT_EQ(messages, std::vector<std::wstring>{L"Geben Sie eine Zahl ein."});
}
