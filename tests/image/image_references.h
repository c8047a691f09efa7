// What the image tests compare decoded pictures with: the public sample
// files, gdk-pixbuf's decode of the same bytes, and the layout every
// decoded bitmap must have.
#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/image/image_writers.h"
#include "tests/support/test_support.h"

namespace qx::test {

inline Bytes SampleFile(const std::string& name) {
    const std::string bytes = ReadBytes(std::string(QX_TEST_DATA_DIR "/images/") + name);
    return Bytes(bytes.begin(), bytes.end());
}

// gdk-pixbuf's decode of the bytes as RGB rows from the top (alpha dropped);
// an empty picture when it cannot read them.
inline TestPicture PixbufDecode(std::span<const std::uint8_t> file) {
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    TestPicture picture;
    if (gdk_pixbuf_loader_write(loader, file.data(), file.size(), nullptr) &&
        gdk_pixbuf_loader_close(loader, nullptr)) {
        GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader);
        picture.width = gdk_pixbuf_get_width(pixbuf);
        picture.height = gdk_pixbuf_get_height(pixbuf);
        const int channels = gdk_pixbuf_get_n_channels(pixbuf);
        const int stride = gdk_pixbuf_get_rowstride(pixbuf);
        const guchar* pixels = gdk_pixbuf_read_pixels(pixbuf);
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                const guchar* p =
                    pixels + static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * channels;
                picture.samples.insert(picture.samples.end(), {p[0], p[1], p[2]});
            }
        }
    } else {
        gdk_pixbuf_loader_close(loader, nullptr);
    }
    g_object_unref(loader);
    return picture;
}

// The bitmap layout: positive height (bottom-up), rows padded to 4 bytes,
// the image size stated and held, a palette of 256 for 8 bits only.
inline void ExpectWellFormed(const RasterPixels& picture) {
    const BITMAPINFOHEADER& h = picture.header;
    ASSERT_GT(h.biWidth, 0);
    ASSERT_GT(h.biHeight, 0);
    const std::size_t stride = (static_cast<std::size_t>(h.biWidth) * h.biBitCount + 31) / 32 * 4;
    EXPECT_EQ(stride % 4, 0u);
    EXPECT_EQ(h.biSizeImage, stride * h.biHeight);
    EXPECT_EQ(picture.bits.size(), h.biSizeImage);
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(picture.palette.size(), h.biBitCount == 8 ? 256u : 0u);
}

}  // namespace qx::test
