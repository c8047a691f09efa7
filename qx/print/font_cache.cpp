#include "qx/print/font_cache.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "qx/platform/gfx/dc.h"

namespace {

// Character heights of the mark-up's font sizes 1 to 6 (size -1 to -6); any
// other negative size takes the largest, kOtherFixedHeight.
constexpr std::array<int, 6> kFixedHeights = {86, 115, 134, 152, 204, 270};
constexpr int kOtherFixedHeight = 400;
constexpr double kSizeToHeight = 1.3375;

// Escapement in tenths of a degree, counter-clockwise, for an angle in
// degrees turning clockwise. Taken modulo a full turn so that no angle
// overflows.
int EscapementOf(int angle) {
    const std::int64_t tenths = -10 * (static_cast<std::int64_t>(angle) % 360);
    return static_cast<int>(tenths);
}

std::vector<std::unique_ptr<CDynamicFont>>& Cache() {
    static std::vector<std::unique_ptr<CDynamicFont>> cache;
    return cache;
}

}  // namespace

namespace qx {

int FontCharacterHeight(const DynamicFontInfo& description, int multiplier) {
    const std::int64_t m = std::max(multiplier, 1);
    std::int64_t height;
    if (description.size >= 0) {
        height = static_cast<std::int64_t>(description.size * kSizeToHeight);
    } else {
        const std::int64_t index = -static_cast<std::int64_t>(description.size) - 1;
        height = index < static_cast<std::int64_t>(kFixedHeights.size()) ? kFixedHeights[index]
                                                                        : kOtherFixedHeight;
    }
    height = std::min<std::int64_t>(height * m, kMaxFontHeight);
    if (description.superscript || description.subscript) height = height * 3 / 4;
    return -static_cast<int>(height);
}

CDynamicFont& GetFont(const DynamicFontInfo& description) {
    auto& cache = Cache();
    for (const auto& font : cache) {
        if (static_cast<const DynamicFontInfo&>(*font) == description) return *font;
    }
    cache.push_back(std::make_unique<CDynamicFont>(description));
    return *cache.back();
}

int FontCacheSize() { return static_cast<int>(Cache().size()); }

void ClearFontCache() { Cache().clear(); }

}  // namespace qx

CDynamicFont::CDynamicFont(const DynamicFontInfo& description) : DynamicFontInfo(description) {}

CDynamicFont::~CDynamicFont() = default;

CFont* CDynamicFont::Select(CDC& dc, int multiplier) {
    multiplier = std::max(multiplier, 1);
    if (multiplier_ != multiplier) {
        font_.CreateFont(qx::FontCharacterHeight(*this, multiplier), 0, EscapementOf(angle), 0,
                         bold ? FW_BOLD : FW_NORMAL, italic, underline, false, charset, face);
        multiplier_ = multiplier;
    }
    CFont* previous = dc.SelectObject(&font_);
    TEXTMETRIC metrics;
    if (dc.GetTextMetrics(&metrics)) {
        characterHeight_ = metrics.tmHeight - metrics.tmInternalLeading;
        descent_ = metrics.tmDescent;
    }
    return previous;
}
