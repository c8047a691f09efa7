#include "qx/platform/gfx/internal/advance_table.h"

#include <algorithm>
#include <iterator>

namespace qx::gfx {
namespace {

// Basic Latin to Latin Extended-B: one slot per code point from the space.
constexpr wchar_t kFirstLatin = 0x20;
constexpr wchar_t kEndLatin = 0x250;

// Dashes, quotes, daggers, bullet, ellipsis, per mille, single guillemets,
// euro and trade mark sign, in slots after the Latin ones.
constexpr wchar_t kPunctuation[] = {0x2013, 0x2014, 0x2018, 0x2019, 0x201A, 0x201B, 0x201C, 0x201D, 0x201E,
                                    0x2020, 0x2021, 0x2022, 0x2026, 0x2030, 0x2039, 0x203A, 0x20AC, 0x2122};
static_assert(AdvanceTable::kSlots == (kEndLatin - kFirstLatin) + std::size(kPunctuation));

}  // namespace

int AdvanceTable::SlotFor(wchar_t c) {
    if (c >= kFirstLatin && c < kEndLatin) {
        // Delete and the C1 controls are control characters; the soft hyphen
        // shows only where a line breaks.
        if ((c >= 0x7F && c <= 0x9F) || c == 0xAD) return -1;
        return static_cast<int>(c - kFirstLatin);
    }
    const wchar_t* found = std::find(std::begin(kPunctuation), std::end(kPunctuation), c);
    if (found == std::end(kPunctuation)) return -1;
    return static_cast<int>(kEndLatin - kFirstLatin + (found - std::begin(kPunctuation)));
}

}  // namespace qx::gfx
