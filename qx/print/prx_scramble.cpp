#include "qx/print/prx_scramble.h"

#include <cstdint>

#include "qx/platform/base/utf.h"

namespace qx {
namespace {

constexpr std::uint32_t kSeed = 1593728461u;

// Adds (*direction* 1) or subtracts (-1) each unit's amount.
std::wstring Shift(std::wstring_view line, int direction) {
    std::u16string units = WideToUtf16(line);
    std::uint32_t state = static_cast<std::uint32_t>(units.size()) + kSeed;
    for (char16_t& unit : units) {
        state = state * 214013u + 2531011u;
        const int amount = static_cast<int>(((state >> 16) & 0x7FFFu) % 3u) + 1;
        unit = static_cast<char16_t>(static_cast<std::uint16_t>(unit + direction * amount));
    }
    return Utf16ToWide(units);
}

}  // namespace

std::wstring UnscrambleLine(std::wstring_view line) { return Shift(line, -1); }

std::wstring ScrambleLine(std::wstring_view line) { return Shift(line, 1); }

}  // namespace qx
