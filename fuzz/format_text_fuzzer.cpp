// FormatText with an arbitrary format and a choice of typed parameters.
//
// Input: bytes 0-2 choose the eight parameters, three bits each, from the
// palette below (0 is none, so the parameters end early as often as not);
// the rest is the format as UTF-8, up to its first zero character.
//
// What holds: no fault under the sanitizers, the result stays within a
// fixed multiple of the format's length (a width in the format must not
// become megabytes), and a format without a typed first parameter gives "".
#include <cstddef>
#include <cstdint>
#include <cwchar>
#include <string>
#include <string_view>

#include "qx/platform/base/utf.h"
#include "qx/text/format_text.h"

namespace {

FmtPar Palette(unsigned choice) {
    switch (choice & 7) {
        case 1: return FmtPar(42);
        case 2: return FmtPar(static_cast<short>(-7));
        case 3: return FmtPar(4000000000UL);
        case 4: return FmtPar(-1.0e300);
        case 5: return FmtPar(0.5f);
        case 6: return FmtPar(L"Rohr 1!%d 2!%s %n");  // a text that looks like placeholders
        case 7: return FmtPar(static_cast<unsigned char>(0xE4));
        default: return FmtPar();
    }
}

// A placeholder of at least four characters gives at most a 4096-wide
// field or a real with 4096 decimals (about 300 digits before the point);
// texts in the palette are shorter.
constexpr size_t kMaxGrowthPerCharacter = 1200;
constexpr size_t kMaxValue = 4096 + 512;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const unsigned choices = data[0] | (data[1] << 8) | (data[2] << 16);
    std::wstring format = qx::Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data) + 3, size - 3));
    format.resize(std::wcslen(format.c_str()));

    FmtPar p[8];
    for (unsigned k = 0; k < 8; ++k) p[k] = Palette(choices >> (3 * k));
    CString result = FormatText(format.c_str(), p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]);

    if (static_cast<size_t>(result.GetLength()) > format.size() * kMaxGrowthPerCharacter + kMaxValue) {
        __builtin_trap();
    }
    if (p[0].m_value.type == qx::kFmtNone && !result.IsEmpty()) __builtin_trap();
    return 0;
}
