#include "qx/ui/colors.h"

#include <algorithm>

namespace {

// value * numerator / denominator rounded to the nearest integer (halves
// away from zero), for the non-negative values of colour channels.
int MulDivChannel(int value, int numerator, int denominator) { return (2 * value * numerator + denominator) / (2 * denominator); }

int Channel(int value) { return std::clamp(value, 0, 255); }

}  // namespace

COLORREF MixedColor(COLORREF first, COLORREF second) {
    const auto mix = [](int a, int b) { return Channel(MulDivChannel(a, 86, 100) + MulDivChannel(b, 14, 100)); };
    return RGB(mix(GetRValue(first), GetRValue(second)), mix(GetGValue(first), GetGValue(second)),
               mix(GetBValue(first), GetBValue(second)));
}

COLORREF BleachColor(int amount, COLORREF color) {
    // In long long, so that an amount near the int range cannot overflow.
    const auto bleach = [amount](int channel) {
        return static_cast<int>(std::clamp<long long>(static_cast<long long>(channel) + amount, 0, 255));
    };
    return RGB(bleach(GetRValue(color)), bleach(GetGValue(color)), bleach(GetBValue(color)));
}
