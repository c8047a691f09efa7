// Advance widths of the characters of simple scripts for one face: Latin
// letters with their accents, digits, symbols and the common punctuation.
// Laid out without kerning and ligatures, such characters never change one
// another's glyphs or positions, so a line made only of them is as wide as
// the sum of their advances; a new string costs a few additions instead of
// a layout.
#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <optional>
#include <string_view>

namespace qx::gfx {

class AdvanceTable {
public:
    // The table's slot for a character, or -1 when the character may need
    // shaping (combining marks, other scripts) or is a control character.
    static int SlotFor(wchar_t c);

    // Sum of the advances of `text` in the layout's units, or nothing when a
    // character has no slot. `measure(c)` gives the advance of a character
    // the table does not know yet; it is asked once per character.
    template <class Measure>
    std::optional<std::int64_t> Sum(std::wstring_view text, Measure&& measure) {
        std::int64_t sum = 0;
        for (wchar_t c : text) {
            const int slot = SlotFor(c);
            if (slot < 0) return std::nullopt;
            sum += Advance(slot, c, measure);
        }
        return sum;
    }

    // The advance of character `c` in its slot (SlotFor(c) >= 0).
    template <class Measure>
    int Advance(int slot, wchar_t c, Measure&& measure) {
        int& advance = advances_[static_cast<std::size_t>(slot)];
        if (advance == kUnknown) advance = measure(c);
        return advance;
    }

    static constexpr int kSlots = 0x250 - 0x20 + 18;

private:
    static constexpr int kUnknown = INT_MIN;
    std::array<int, kSlots> advances_ = MakeUnknown();

    static constexpr std::array<int, kSlots> MakeUnknown() {
        std::array<int, kSlots> advances{};
        advances.fill(kUnknown);
        return advances;
    }
};

}  // namespace qx::gfx
