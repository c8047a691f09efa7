// Narrowing to int for values computed from hostile numbers: results beyond
// the int range stop at its ends instead of being undefined.
#pragma once

#include <cmath>
#include <limits>

namespace qx::detail {

// Cuts toward zero; NaN gives 0.
inline int ClampToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    if (value >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

inline int ClampToInt(long long value) {
    if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

}  // namespace qx::detail
