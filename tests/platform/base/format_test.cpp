#include "qx/platform/base/format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <climits>
#include <cstdint>
#include <string>

#include "qx/platform/base/cstring.h"

namespace {

struct FormatCase {
    const char* name;
    std::wstring got;
    std::wstring want;
};

TEST(FormatTest, ConversionsFollowTheWideConventions) {
    const char narrow[] = "narrow";
    const char latin1[] = "\xC4rger";  // "Ärger" in code page 1252
    const FormatCase cases[] = {
        {"plain text", qx::Format(L"no conversions"), L"no conversions"},
        {"percent", qx::Format(L"100%%"), L"100%"},
        {"%s is wide", qx::Format(L"[%s]", L"wide"), L"[wide]"},
        {"%ls is wide", qx::Format(L"[%ls]", L"wide"), L"[wide]"},
        {"%ws is wide", qx::Format(L"[%ws]", L"wide"), L"[wide]"},
        {"%S is narrow", qx::Format(L"[%S]", narrow), L"[narrow]"},
        {"%hs is narrow", qx::Format(L"[%hs]", narrow), L"[narrow]"},
        {"narrow text is code page 1252", qx::Format(L"%S", latin1), L"\u00C4rger"},
        {"%c is wide", qx::Format(L"%c", L'\u20AC'), L"\u20AC"},
        {"%C is narrow", qx::Format(L"%C", 'x'), L"x"},
        {"%hc is narrow", qx::Format(L"%hc", 'y'), L"y"},
        {"null wide string", qx::Format(L"%s", static_cast<const wchar_t*>(nullptr)), L"(null)"},
        {"null narrow string", qx::Format(L"%S", static_cast<const char*>(nullptr)), L"(null)"},
        {"string width", qx::Format(L"[%6s]", L"ab"), L"[    ab]"},
        {"string left", qx::Format(L"[%-6s]", L"ab"), L"[ab    ]"},
        {"string precision", qx::Format(L"[%.2s]", L"abcdef"), L"[ab]"},
        {"string star width", qx::Format(L"[%*s]", 4, L"ab"), L"[  ab]"},
        {"negative star width aligns left", qx::Format(L"[%*s]", -4, L"ab"), L"[ab  ]"},
        {"star precision", qx::Format(L"[%.*s]", 3, L"abcdef"), L"[abc]"},
        {"int", qx::Format(L"%d", -42), L"-42"},
        {"int width zero", qx::Format(L"%05d", 42), L"00042"},
        {"int plus", qx::Format(L"%+d", 42), L"+42"},
        {"int space", qx::Format(L"% d", 42), L" 42"},
        {"int left", qx::Format(L"[%-4d]", 7), L"[7   ]"},
        {"int precision", qx::Format(L"%.3d", 7), L"007"},
        {"int min", qx::Format(L"%d", INT_MIN), L"-2147483648"},
        {"unsigned", qx::Format(L"%u", 4000000000u), L"4000000000"},
        {"hex", qx::Format(L"%x %X %#x", 255, 255, 255), L"ff FF 0xff"},
        {"octal", qx::Format(L"%o", 8), L"10"},
        {"short", qx::Format(L"%hd", 70000), L"4464"},
        {"long", qx::Format(L"%ld", 1234567890123L), L"1234567890123"},
        {"long long", qx::Format(L"%lld", -1234567890123LL), L"-1234567890123"},
        {"I64d", qx::Format(L"%I64d", -1234567890123LL), L"-1234567890123"},
        {"I64u", qx::Format(L"%I64u", 18446744073709551615ULL), L"18446744073709551615"},
        {"I32d", qx::Format(L"%I32d", -5), L"-5"},
        {"zu", qx::Format(L"%zu", static_cast<size_t>(99)), L"99"},
        {"Iu", qx::Format(L"%Iu", static_cast<size_t>(99)), L"99"},
        {"fixed", qx::Format(L"%f", 1.5), L"1.500000"},
        {"fixed precision", qx::Format(L"%.2f", 2.345), L"2.35"},
        {"fixed width", qx::Format(L"%8.3f", -1.5), L"  -1.500"},
        {"%.0f", qx::Format(L"%.0f", 2.5), L"2"},
        {"exponent", qx::Format(L"%e", 12345.678), L"1.234568e+04"},
        {"exponent upper", qx::Format(L"%.2E", 0.000123), L"1.23E-04"},
        {"general", qx::Format(L"%g", 0.0001), L"0.0001"},
        {"general large", qx::Format(L"%g", 1e20), L"1e+20"},
        {"general star precision", qx::Format(L"%.*g", 3, 3.14159), L"3.14"},
        {"general alt keeps zeros", qx::Format(L"%#g", 1.5), L"1.50000"},
        {"long double", qx::Format(L"%Lf", 1.25L), L"1.250000"},
        {"several", qx::Format(L"%s=%d (%S)", L"k", 3, "n"), L"k=3 (n)"},
        {"unknown conversion printed as is", qx::Format(L"a%kb"), L"a%kb"},
        {"format ends inside a spec", qx::Format(L"abc%"), L"abc"},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.got, c.want);
    }
}

TEST(FormatTest, DecimalPointIgnoresTheProcessLocale) {
    // A locale with a decimal comma, when the machine has one.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous ? previous : "C";
    bool switched = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "de_DE");
    EXPECT_EQ(qx::Format(L"%.2f %g", 1.5, 0.25), L"1.50 0.25");
    std::setlocale(LC_NUMERIC, saved.c_str());
    if (!switched) GTEST_SKIP() << "no German locale installed; checked under the C locale only";
}

TEST(FormatTest, OutputHasNoLengthLimit) {
    std::wstring big(300000, L'x');
    std::wstring out = qx::Format(L"<%s>%d", big.c_str(), 5);
    ASSERT_EQ(out.size(), big.size() + 3);
    EXPECT_EQ(out.substr(out.size() - 2), L">5");
    EXPECT_EQ(qx::Format(L"%400000d", 1).size(), 400000u);
}

TEST(FormatTest, CStringFormatAndAppendFormat) {
    CString s;
    s.Format(L"%d-%s", 1, L"a");
    EXPECT_EQ(s, L"1-a");
    s.AppendFormat(L"/%.1f", 0.25);
    EXPECT_EQ(s, L"1-a/0.2");
    // Formatting into itself through its own text works, since the result
    // is built aside.
    s.Format(L"[%s]", s.GetString());
    EXPECT_EQ(s, L"[1-a/0.2]");
}

}  // namespace
