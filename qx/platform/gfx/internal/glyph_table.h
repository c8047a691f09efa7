// Glyph ids of the characters of simple scripts in one face, slot by slot as
// the advance table keeps their advances: such a character is always drawn
// with the face's own glyph for it (no kerning, no ligatures), so a line of
// them is drawn without shaping.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "qx/platform/gfx/internal/advance_table.h"

namespace qx::gfx {

class GlyphTable {
public:
    // The glyph of character `c` in its advance-table slot, or nothing when
    // the face has none (the layout draws it from a fallback face).
    // `find(c)` looks a character up in the face, once per character.
    template <class Find>
    std::optional<std::uint32_t> Glyph(int slot, wchar_t c, Find&& find) {
        std::uint32_t& glyph = glyphs_[static_cast<std::size_t>(slot)];
        if (glyph == kUnknown) glyph = find(c).value_or(kMissing);
        if (glyph == kMissing) return std::nullopt;
        return glyph;
    }

private:
    static constexpr std::uint32_t kUnknown = UINT32_MAX;
    static constexpr std::uint32_t kMissing = UINT32_MAX - 1;
    std::array<std::uint32_t, AdvanceTable::kSlots> glyphs_ = MakeUnknown();

    static constexpr std::array<std::uint32_t, AdvanceTable::kSlots> MakeUnknown() {
        std::array<std::uint32_t, AdvanceTable::kSlots> glyphs{};
        glyphs.fill(kUnknown);
        return glyphs;
    }
};

}  // namespace qx::gfx
