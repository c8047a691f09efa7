// Automation values: each kind a spreadsheet call passes, copies that own
// their text, and the automation error.
#include <gtest/gtest.h>

#include "qx/platform/base/exceptions.h"
#include "qx/platform/base/variant.h"

namespace {

TEST(Variant, EachConstructorGivesItsKind) {
    EXPECT_EQ(COleVariant().vt, VT_EMPTY);
    const COleVariant i2(short{7});
    EXPECT_EQ(i2.vt, VT_I2);
    EXPECT_EQ(i2.iVal, 7);
    const COleVariant i4(70000);
    EXPECT_EQ(i4.vt, VT_I4);
    EXPECT_EQ(i4.lVal, 70000);
    const COleVariant fromLong(5L);
    EXPECT_EQ(fromLong.vt, VT_I4);
    EXPECT_EQ(fromLong.lVal, 5);
    const COleVariant r4(1.5f);
    EXPECT_EQ(r4.vt, VT_R4);
    EXPECT_EQ(r4.fltVal, 1.5f);
    const COleVariant r8(2.25);
    EXPECT_EQ(r8.vt, VT_R8);
    EXPECT_EQ(r8.dblVal, 2.25);
    const COleVariant text(L"Menge");
    EXPECT_EQ(text.vt, VT_BSTR);
    EXPECT_EQ(text.Text(), CString(L"Menge"));
    const COleVariant truth(short{1}, VT_BOOL);
    EXPECT_EQ(truth.vt, VT_BOOL);
    EXPECT_EQ(truth.boolVal, VARIANT_TRUE);
    const COleVariant falsehood(0L, VT_BOOL);
    EXPECT_EQ(falsehood.boolVal, VARIANT_FALSE);
    const COleVariant missing(DISP_E_PARAMNOTFOUND, VT_ERROR);
    EXPECT_EQ(missing.vt, VT_ERROR);
    EXPECT_EQ(static_cast<std::uint32_t>(missing.scode), 0x80020004u);
}

TEST(Variant, CopiesOwnTheirTextAndAssignmentReplacesIt) {
    COleVariant original(CString(L"Ventil"));
    COleVariant copy(original);
    ASSERT_NE(copy.bstrVal, original.bstrVal);
    original = COleVariant(3.0);
    EXPECT_EQ(copy.Text(), CString(L"Ventil"));
    EXPECT_EQ(original.vt, VT_R8);
    COleVariant& same = copy;
    copy = same;  // assigning itself keeps the text
    EXPECT_EQ(copy.Text(), CString(L"Ventil"));
    VARIANT plain;
    VariantCopy(&plain, &copy);
    EXPECT_EQ(std::wstring(plain.bstrVal), L"Ventil");
    VariantClear(&plain);
    EXPECT_EQ(plain.vt, VT_EMPTY);
    copy.Clear();
    EXPECT_EQ(copy.vt, VT_EMPTY);
    EXPECT_EQ(copy.Text(), CString());
}

TEST(Variant, TheAutomationErrorIsThrownByValueWithItsDescription) {
    try {
        throw COleDispatchException(L"Die Tabelle fehlt", 0, 7);
    } catch (const CException& error) {
        EXPECT_EQ(error.GetMessageText(), CString(L"Die Tabelle fehlt"));
        const auto* dispatch = dynamic_cast<const COleDispatchException*>(&error);
        ASSERT_NE(dispatch, nullptr);
        EXPECT_EQ(dispatch->m_wCode, 7);
    }
}

}  // namespace
