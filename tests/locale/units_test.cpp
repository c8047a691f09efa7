#include "qx/locale/units.h"

#include <gtest/gtest.h>

#include <string>

#include "qx/locale/ctr_string.h"
#include "tests/support/test_support.h"

namespace {

class UnitsTest : public testing::Test {
protected:
    void SetUp() override { qx::ResetWordbooks(); }
    void TearDown() override { qx::ResetWordbooks(); }
};

struct LabelCase {
    int unit;
    const wchar_t* label;
};

TEST_F(UnitsTest, LabelsWithoutWordbook) {
    const LabelCase cases[] = {
        {1010, L"m"},     {1060, L"ft"},          {1070, L"-"},        {1110, L"m²"},     {1170, L"in²"},
        {1310, L"m³"},    {1370, L"in³"},         {3020, L"°C"},       {3040, L"°C"},     {3140, L"°R"},
        {4040, L"kcal/h"}, {4150, L"kcal/(m²h)"}, {5250, L"(ft²s*°F)/Btu"}, {7230, L"gal(UK)/s"},
        {8010, L" h"},    {8020, L" m"},          {8030, L" s"},       {9010, L"pa"},     {9070, L"m"},
        {9210, L"m/s"},   {9230, L"yd/s"},
        // codes that name no unit
        {0, L""}, {1000, L""}, {1080, L""}, {7200, L""}, {9999, L""}, {-1010, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.unit);
        EXPECT_EQ(std::wstring(qxUnits::getUnitLabel(c.unit)), c.label);
    }
}

TEST_F(UnitsTest, LabelsFollowTheWordbookLanguage) {
    qx::test::TempDir dir;
    qx::test::WriteBytes(dir.path() / "Prog.en",
                         "@Einheit @m/s <*> m/sec\n@Einheit Minute@ m <*>  min\n@Einheit Meter@m <*> metre\n- <*> none\n");
    CtrString::scanMiniWordBooks(dir.Wide("Prog").c_str());
    CtrString::setLanguage(L"en");
    const LabelCase cases[] = {
        {9210, L"m/sec"},
        {8020, L" min"},  // minute and metre are distinct keys
        {1010, L"metre"},
        {9070, L"metre"},  // the pressure head shares the metre's key
        {1070, L"-"},      // fixed labels are not translated
        {9220, L"ft/s"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.unit);
        EXPECT_EQ(std::wstring(qxUnits::getUnitLabel(c.unit)), c.label);
    }
}

}  // namespace
