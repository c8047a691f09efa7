// PCX files: the header, the run-length coded scanlines (a run may go on into the next scanline) and the palette at the end.
//
// Input: the file's bytes, copied into a buffer of their own size.
//
// What holds: nothing past the bytes is read, nothing larger than the
// picture bound is allocated, and the result is a well-formed bitmap or a
// refusal that leaves none (raster_fuzz_check.h).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/raster_fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> file(data, data + size);
    qx::RasterPixels picture;
    qx::fuzz::CheckRaster(qx::DecodePcx(file, &picture), picture);
    return 0;
}
