#include "qx/platform/base/ascii.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace {

TEST(AsciiTest, ClassesAndDigitsFoldOnlyAscii) {
    EXPECT_TRUE(qx::IsAsciiLetter(L'q') && qx::IsAsciiLetter('Z'));
    EXPECT_FALSE(qx::IsAsciiLetter(L'\u00E4') || qx::IsAsciiLetter(L'[') || qx::IsAsciiLetter(L'@'));
    EXPECT_TRUE(qx::IsAsciiDigit('0') && qx::IsAsciiDigit(L'9'));
    EXPECT_FALSE(qx::IsAsciiDigit(L'\u0660'));  // an Arabic-Indic zero is no ASCII digit
    const std::pair<wchar_t, int> hex[] = {{L'0', 0}, {L'9', 9}, {L'a', 10}, {L'F', 15}, {L'g', -1}, {L'G', -1},
                                           {L'\uFF21', -1}};
    for (const auto& [digit, value] : hex) EXPECT_EQ(qx::HexDigitValue(digit), value) << static_cast<int>(digit);
    EXPECT_EQ(qx::AsciiLower(L'\u00C4'), L'\u00C4');
    EXPECT_EQ(qx::AsciiUpper('m'), 'M');
}

TEST(AsciiTest, ComparisonsIgnoringCase) {
    using namespace std::literals;
    EXPECT_TRUE(qx::EqualsIgnoringAsciiCase(L"Tessel.DLL"sv, L"tessel.dll"sv));
    EXPECT_FALSE(qx::EqualsIgnoringAsciiCase(L"\u00C4"sv, L"\u00E4"sv));
    EXPECT_TRUE(qx::StartsWithIgnoringAsciiCase("REGEDIT4 x"sv, "regedit4"sv));
    EXPECT_FALSE(qx::StartsWithIgnoringAsciiCase("REG"sv, "regedit4"sv));
    EXPECT_TRUE(qx::EndsWithIgnoringAsciiCase(L"Liste.PRX"sv, L".prx"sv));
    EXPECT_FALSE(qx::EndsWithIgnoringAsciiCase(L"prx"sv, L".prx"sv));
}

TEST(AsciiTest, TrimAndSplit) {
    using namespace std::literals;
    EXPECT_EQ(qx::TrimBlanks(L" \t Wert \t"sv), L"Wert"sv);
    EXPECT_EQ(qx::TrimBlanks("  "sv), ""sv);
    EXPECT_EQ(qx::TrimBlanks(L"\nx\n"sv), L"\nx\n"sv);  // line ends are not blanks
    const std::vector<std::wstring_view> pieces = qx::SplitList(L"C=/srv;;D=/mnt"sv, L';');
    EXPECT_EQ(pieces, (std::vector<std::wstring_view>{L"C=/srv", L"", L"D=/mnt"}));
    EXPECT_EQ(qx::SplitList(""sv, ';'), (std::vector<std::string_view>{""}));
}

}  // namespace
