#include <iconv.h>

#include <string>

#include "qx/platform/base/internal/codepage_source.h"

namespace qx::detail {
namespace {

// Owns one iconv descriptor for the duration of a table build.
class Converter {
public:
    explicit Converter(const std::string& from)
        : cd_(iconv_open("UTF-32LE", from.c_str())) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // The one character *byte* stands for, or kUndefinedByte. Each byte is
    // converted from a fresh state and flushed on its own: glibc's 1255 and
    // 1258 converters hold a base letter back to combine it with a following
    // mark, and a table needs each byte's own character.
    char32_t Decode(unsigned char byte) {
        char in = static_cast<char>(byte);
        char* inPtr = &in;
        size_t inLeft = 1;
        unsigned char out[16];
        char* outPtr = reinterpret_cast<char*>(out);
        size_t outLeft = sizeof out;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) ||
            iconv(cd_, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1) ||
            sizeof out - outLeft != 4) {
            return kUndefinedByte;
        }
        return static_cast<char32_t>(out[0]) | static_cast<char32_t>(out[1]) << 8 |
               static_cast<char32_t>(out[2]) << 16 | static_cast<char32_t>(out[3]) << 24;
    }

private:
    iconv_t cd_;
};

}  // namespace

bool LoadCodePageHighHalf(unsigned cp, std::array<char32_t, 128>& highHalf) {
    // glibc knows every supported page as "CP" + number (CP1252, CP437, CP850).
    Converter converter("CP" + std::to_string(cp));
    if (!converter.ok()) return false;
    for (unsigned i = 0; i < highHalf.size(); ++i) {
        highHalf[i] = converter.Decode(static_cast<unsigned char>(0x80 + i));
    }
    return true;
}

}  // namespace qx::detail
