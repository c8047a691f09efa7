#include "qx/text/format_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FmtParTest, TypeCodesFollowTheArgument) {
    struct Case {
        const char* name;
        FmtPar par;
        std::uint16_t type;
    } cases[] = {
        {"default", FmtPar(), qx::kFmtNone},
        {"char", FmtPar('x'), qx::kFmtInt8},
        {"signed char", FmtPar(static_cast<signed char>(-1)), qx::kFmtInt8},
        {"unsigned char", FmtPar(static_cast<unsigned char>(200)), qx::kFmtUInt8},
        {"short", FmtPar(static_cast<short>(-2)), qx::kFmtInt16},
        {"unsigned short", FmtPar(static_cast<unsigned short>(2)), qx::kFmtUInt16},
        {"int", FmtPar(5), qx::kFmtInt},
        {"unsigned", FmtPar(5u), qx::kFmtUInt},
        {"long", FmtPar(5L), qx::kFmtInt32},
        {"unsigned long", FmtPar(5UL), qx::kFmtUInt32},
        {"float", FmtPar(1.5f), qx::kFmtFloat},
        {"double", FmtPar(1.5), qx::kFmtDouble},
        {"text", FmtPar(L"a"), qx::kFmtText},
        {"CString", FmtPar(CString(L"a")), qx::kFmtText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.par.m_value.type, c.type);
    }
}

TEST(FormatTextTest, PositionalPlaceholders) {
    const short i16 = -3;
    const unsigned short u16 = 7;
    const unsigned char u8 = 65;
    struct Case {
        const char* name;
        CString got;
        const wchar_t* want;
    } cases[] = {
        {"reordered", FormatText(L"Wert 2!%.1f von 1!%d", 5L, 2.5), L"Wert 2.5 von 5"},
        {"repeated placeholder", FormatText(L"1!%d + 1!%d", 4), L"4 + 4"},
        {"text and width", FormatText(L"[1!%5s] 2!%03d", L"ab", 7), L"[   ab] 007"},
        {"capital S takes a wide text", FormatText(L"1!%S", L"äb"), L"äb"},
        {"16-bit integers", FormatText(L"1!%d/2!%u", i16, u16), L"-3/7"},
        {"float", FormatText(L"1!%g", 0.25f), L"0.25"},
        {"hex of anything", FormatText(L"1!%x 2!%X", 255, 2.9), L"ff 2"},
        {"character", FormatText(L"1!%c2!%C", L'ö', 0xE4), L"öä"},
        // Unsuited parameters leave their placeholder empty.
        {"d wants a 16- or 32-bit integer", FormatText(L"<1!%d>", u8), L"<>"},
        {"d of a real", FormatText(L"<1!%d>", 2.5), L"<>"},
        {"f of an integer", FormatText(L"<1!%f>", 2), L"<>"},
        {"s of an integer", FormatText(L"<1!%s>", 2), L"<>"},
        {"parameter that is none", FormatText(L"<1!%d><2!%d>", 1), L"<1><2!%d>"},
        {"names a missing parameter", FormatText(L"<3!%d>", 1), L"<>"},
        // The search stops at the first "!%" that is no placeholder; with
        // none found the text is a plain format, here with two conversions.
        {"bad number stops", FormatText(L"9!%d 1!%d", 1, 2), L""},
        {"bad letter stops", FormatText(L"1!%d 2!%q 2!%d", 1, 2), L"1 2!%q 2!%d"},
        // Values are not searched again for placeholders.
        {"value looks like a placeholder", FormatText(L"1!%s 2!%d", L"2!%d", 3), L"2!%d 3"},
        {"malformed number", FormatText(L"<1!%1.2.3f>", 1.0), L"<>"},
        {"huge width", FormatText(L"<1!%99999999d>", 1), L"<>"},
        {"zero character ends the value", FormatText(L"<1!%c>", 0), L"<>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.got.str(), c.want);
    }
}

// Without a placeholder the text is an ordinary printf format for parameter
// 1 - but only one conversion that suits it is ever formatted, so the text
// cannot read arguments that were not passed or write through %n.
TEST(FormatTextTest, PlainFormatTakesExactlyOneSuitedConversion) {
    const unsigned char u8 = 200;
    struct Case {
        const char* name;
        CString got;
        const wchar_t* want;
    } cases[] = {
        {"text", FormatText(L"Datei %s fehlt", L"a.txt"), L"Datei a.txt fehlt"},
        {"integer with literal percent", FormatText(L"%d%% fertig", 50), L"50% fertig"},
        {"8-bit integer", FormatText(L"%u", u8), L"200"},
        {"long modifier", FormatText(L"%ld", 7L), L"7"},
        {"64-bit modifier", FormatText(L"%I64d", 7), L"7"},
        {"short modifier cuts", FormatText(L"%hd", 65537), L"1"},
        {"real", FormatText(L"%.2f m", 1.005), L"1.00 m"},
        {"no typed parameter", FormatText(L"Hallo", FmtPar()), L""},
        {"no conversion", FormatText(L"Hallo", 5), L""},
        {"two conversions", FormatText(L"%d und %d", 5), L""},
        {"%n", FormatText(L"%n", 5), L""},
        {"%n after a conversion", FormatText(L"%d%n", 5), L""},
        {"star width", FormatText(L"%*d", 5), L""},
        {"star precision", FormatText(L"%.*f", 1.5), L""},
        {"pointer", FormatText(L"%p", L"x"), L""},
        {"unsuited: text for %d", FormatText(L"%d", L"x"), L""},
        {"unsuited: integer for %s", FormatText(L"%s", 5), L""},
        {"unsuited: real for %x", FormatText(L"%x", 1.5), L""},
        {"unsuited: narrow text", FormatText(L"%hs", L"x"), L""},
        {"unknown conversion", FormatText(L"%y %d", 5), L""},
        {"percent at the end", FormatText(L"%d %", 5), L""},
        {"huge width", FormatText(L"%100000d", 5), L""},
        {"wide text", FormatText(L"%ls", L"ok"), L"ok"},
        {"null format", FormatText(nullptr, 5), L""},
        {"exclamation that is no placeholder", FormatText(L"Achtung!%d", 5), L"Achtung!5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.got.str(), c.want);
    }
}

}  // namespace
