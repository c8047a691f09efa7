// TIFF files: the first directory's fields (each value inline or at an
// offset), the strips, the colour map and the region list at the position
// of the private tag 0xFFD6.
//
// Input: the file's bytes, copied into a buffer of their own size.
//
// What holds: nothing past the bytes is read, nothing larger than the
// picture bound is allocated, the result is a well-formed bitmap or a
// refusal that leaves none (raster_fuzz_check.h), and every region's name
// and four values were read from the file (a name of at most 255 bytes,
// values of 16 bits).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz/raster_fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> file(data, data + size);
    qx::RasterPixels picture;
    qx::fuzz::CheckRaster(qx::DecodeTiff(file, &picture), picture);
    std::size_t regionBytes = 0;
    for (const qx::ImageRegion& region : picture.regions) {
        if (region.name.size() > 255) std::abort();
        for (int value : {region.left, region.right, region.top, region.bottom}) {
            if (value < 0 || value > 0xFFFF) std::abort();
        }
        regionBytes += 1 + region.name.size() + 8;
    }
    if (regionBytes > size) std::abort();
    return 0;
}
