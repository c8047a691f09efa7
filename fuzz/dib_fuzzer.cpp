// Device-independent bitmaps from hostile headers, drawn stretched and with
// a transparent colour onto a small image.
//
// Input: 40 bytes of header (the BITMAPINFOHEADER fields in order, little
// endian), 8 bytes of destination and source sizes, then 1024 bytes of
// palette when the input is long enough, then the bits. The image size the
// header states is replaced by the number of bytes of bits the input holds,
// as a caller states what it read from a file.
//
// What holds: nothing reads outside the bits and the palette handed over
// (AddressSanitizer checks, since both are copied into exact-size buffers).
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <vector>

#include "qx/platform/gfx/targets.h"

namespace {

template <class T>
T Take(const std::uint8_t*& data, std::size_t& size) {
    T value{};
    const std::size_t n = std::min(size, sizeof(T));
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    BITMAPINFOHEADER header;
    header.biSize = Take<std::uint32_t>(data, size);
    header.biWidth = Take<std::int32_t>(data, size);
    header.biHeight = Take<std::int32_t>(data, size);
    header.biPlanes = Take<std::uint16_t>(data, size);
    header.biBitCount = Take<std::uint16_t>(data, size);
    header.biCompression = Take<std::uint32_t>(data, size);
    Take<std::uint32_t>(data, size);  // the stated image size, replaced below
    header.biXPelsPerMeter = Take<std::int32_t>(data, size);
    header.biYPelsPerMeter = Take<std::int32_t>(data, size);
    header.biClrUsed = Take<std::uint32_t>(data, size);
    header.biClrImportant = Take<std::uint32_t>(data, size);
    const int destWidth = Take<std::int8_t>(data, size);
    const int destHeight = Take<std::int8_t>(data, size);
    const int srcX = Take<std::int8_t>(data, size);
    const int srcY = Take<std::int8_t>(data, size);
    const int srcWidth = Take<std::int16_t>(data, size);
    const int srcHeight = Take<std::int16_t>(data, size);

    std::vector<RGBQUAD> palette;
    if (size >= 256 * sizeof(RGBQUAD)) {
        palette.resize(256);
        std::memcpy(palette.data(), data, 256 * sizeof(RGBQUAD));
        data += 256 * sizeof(RGBQUAD);
        size -= 256 * sizeof(RGBQUAD);
    }
    if (size == 0) return 0;  // a zero image size would mean "as the rows need"
    const std::vector<std::uint8_t> bits(data, data + size);
    header.biSizeImage = static_cast<std::uint32_t>(bits.size());

    const RGBQUAD* paletteData = palette.empty() ? nullptr : palette.data();
    CImageDC dc(32, 32);
    dc.SetStretchBltMode(header.biXPelsPerMeter & 1 ? HALFTONE : COLORONCOLOR);
    dc.StretchDIBits(2, 2, destWidth, destHeight, srcX, srcY, srcWidth, srcHeight, bits.data(), header,
                     paletteData);
    dc.TransparentDIBits(0, 0, 32, 32, 0, 0, header.biWidth, header.biHeight, bits.data(), header, paletteData,
                         RGB(255, 0, 255));
    return 0;
}
