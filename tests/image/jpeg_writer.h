// JPEG files written with libjpeg-turbo's compressor for tests and
// benchmarks: grey, colour or CMYK pictures, baseline or progressive, with
// application segments of the caller's placed after the start of the image.
#pragma once

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE
#include <jpeglib.h>
// clang-format on

#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "tests/image/image_writers.h"

namespace qx::test {

struct JpegSegmentToWrite {
    int marker = JPEG_APP0;
    Bytes data;
};

struct JpegWriteOptions {
    J_COLOR_SPACE space = JCS_RGB;  // JCS_GRAYSCALE (the red samples), JCS_RGB or JCS_CMYK
    int quality = 90;
    bool progressive = false;
    bool jfif = true;  // libjpeg's own JFIF header, without a thumbnail
    std::vector<JpegSegmentToWrite> segments = {};
};

// CMYK samples of an RGB picture as Adobe's programs store them (inverted:
// 255 = no ink), so that a reader that multiplies gets the colours back.
inline Bytes InvertedCmyk(const TestPicture& picture) {
    Bytes cmyk;
    for (std::size_t k = 0; k + 2 < picture.samples.size(); k += 3) {
        cmyk.insert(cmyk.end(), {picture.samples[k], picture.samples[k + 1], picture.samples[k + 2], 255});
    }
    return cmyk;
}

inline Bytes WriteJpeg(const TestPicture& picture, const JpegWriteOptions& options = {}) {
    const TestPicture rgb = picture.AsRgb();
    Bytes samples = rgb.samples;
    int components = 3;
    if (options.space == JCS_GRAYSCALE) {
        samples.clear();
        for (std::size_t k = 0; k < rgb.samples.size(); k += 3) samples.push_back(rgb.samples[k]);
        components = 1;
    } else if (options.space == JCS_CMYK) {
        samples = InvertedCmyk(rgb);
        components = 4;
    }
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(picture.width);
    cinfo.image_height = static_cast<JDIMENSION>(picture.height);
    cinfo.input_components = components;
    cinfo.in_color_space = options.space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, options.quality, TRUE);
    if (options.progressive) jpeg_simple_progression(&cinfo);
    cinfo.write_JFIF_header = options.jfif ? TRUE : FALSE;
    jpeg_start_compress(&cinfo, TRUE);
    for (const JpegSegmentToWrite& segment : options.segments) {
        jpeg_write_marker(&cinfo, segment.marker, segment.data.data(), static_cast<unsigned>(segment.data.size()));
    }
    const std::size_t stride = static_cast<std::size_t>(picture.width) * components;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = samples.data() + cinfo.next_scanline * stride;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes file(buffer, buffer + size);
    std::free(buffer);
    return file;
}

}  // namespace qx::test
