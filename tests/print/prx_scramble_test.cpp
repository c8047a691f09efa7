#include "qx/print/prx_scramble.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

TEST(PrxScrambleTest, KnownLines) {
    // Each unit moves by 1 to 3; the amounts depend on the line's length.
    EXPECT_EQ(ScrambleLine(L"VER(2.0)"), L"YHT*513*");
    EXPECT_EQ(UnscrambleLine(L"YHT*513*"), L"VER(2.0)");
    EXPECT_EQ(ScrambleLine(L"DOC(2100,0)"), L"GQD+5323.2+");
    EXPECT_EQ(ScrambleLine(L""), L"");
}

TEST(PrxScrambleTest, UnscramblingUndoesScrambling) {
    const std::wstring lines[] = {
        L"OBJ(0,Gr\u00FC\u00DFe \u20AC,Arial,10,0,0,0,0,0,0,100,20,0,0,0,0,0,0,0,0,0,STATIC,0,0,0,255,255,255)",
        L"\U0001F600 outside the basic plane",  // two UTF-16 units, each shifted
        std::wstring(5000, L'x'),
    };
    for (const std::wstring& line : lines) {
        SCOPED_TRACE(line.size());
        const std::wstring scrambled = ScrambleLine(line);
        EXPECT_NE(scrambled, line);
        EXPECT_EQ(UnscrambleLine(scrambled), line);
    }
}

TEST(PrxScrambleTest, UnitsWrapAtSixteenBits) {
    const std::wstring scrambled = ScrambleLine(L"\uFFFF");
    ASSERT_EQ(scrambled.size(), 1u);
    EXPECT_LT(scrambled[0], 3) << "0xFFFF + 1..3 wraps to 0..2";
    const std::wstring low = UnscrambleLine(std::wstring(1, L'\0'));
    ASSERT_EQ(low.size(), 1u);
    EXPECT_GE(low[0], 0xFFFD);
}

}  // namespace
}  // namespace qx
