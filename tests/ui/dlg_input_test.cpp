#include <gtest/gtest.h>

#include <memory>

#include "qx/platform/wnd/script_host.h"
#include "qx/ui/dlg_input.h"

namespace {

class DlgInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto host = std::make_unique<qx::ScriptHost>();
        script_ = host.get();
        previous_ = qx::SetUiHost(std::move(host));
    }
    void TearDown() override { qx::SetUiHost(std::move(previous_)); }

    qx::ScriptHost* script_ = nullptr;

private:
    std::unique_ptr<qx::UiHost> previous_;
};

}  // namespace

TEST_F(DlgInputTest, ANumberIsShownWholeAndReadBackWithAComma) {
    CDlgInput dialog(L"Heizkreis 1", L"Vorlauf", L"Temperatur in °C", L"");
    dialog.m_dValue = 55.4;
    ASSERT_TRUE(script_->Load("type 3,25\npress OK\n"));
    SetCursorPos(1900, 1070);  // near the corner: the dialog stays on the screen
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_DOUBLE_EQ(dialog.m_dValue, 3.25);
    EXPECT_EQ(dialog.m_strValue, CString(L"3,25"));
    const std::string& shown = script_->Transcript()[0];
    EXPECT_NE(shown.find("\"text\":\"Vorlauf\""), std::string::npos);
    EXPECT_NE(shown.find("\"id\":1002,\"text\":\"55\""), std::string::npos);  // "%.f"
    EXPECT_NE(shown.find("\"id\":1004,\"text\":\"Heizkreis 1\""), std::string::npos);
    EXPECT_NE(shown.find("\"id\":1000,\"text\":\"\",\"rect\""), std::string::npos);
    EXPECT_NE(shown.find("\"kind\":\"check\",\"id\":1000,\"text\":\"\",\"rect\":"), std::string::npos);
    EXPECT_NE(shown.find("\"visible\":false"), std::string::npos);  // the list and the check box
}

TEST_F(DlgInputTest, AListReplacesTheEditAndItsFirstEntryIsChosen) {
    CDlgInput dialog(L"", L"Hersteller", L"", L"");
    dialog.m_List = {L"Alpha", L"Beta", L"Gamma"};
    dialog.m_strCheck = L"Merken";
    ASSERT_TRUE(script_->Load("check on\npress OK\n"));
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strValue, CString(L"Alpha"));
    EXPECT_EQ(dialog.m_nCheck, 1);
    ASSERT_TRUE(script_->Load("select Gamma\npress OK\n"));
    CDlgInput again(L"", L"Hersteller", L"", L"");
    again.m_List = {L"Alpha", L"Beta", L"Gamma"};
    EXPECT_EQ(again.DoModal(), IDOK);
    EXPECT_EQ(again.m_strValue, CString(L"Gamma"));
}

TEST_F(DlgInputTest, TextIsGivenBackAsTyped) {
    CDlgInput dialog(L"Name", L"Projekt", L"", L"Neubau");
    ASSERT_TRUE(script_->Load("key End\ntype  Nord\npress OK\n"));  // End: keep the text, type after it
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strValue, CString(L"Neubau Nord"));
    EXPECT_EQ(dialog.m_dValue, CDlgInput::kNoNumber);
}
