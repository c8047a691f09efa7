// Raster picture decoding from memory, 1024 x 768 pictures made in the
// setup with the image tests' writers: PCX (one and three planes), BMP (8
// and 24 bits), TIFF (RGB in strips of 16 rows) and JPEG (quality 90, no
// thumbnail). Each decode is timed from the file's bytes to the bitmap.
//
// Peers: gdk-pixbuf loading the same bytes through a GdkPixbufLoader (its
// BMP, TIFF and JPEG loaders), and for JPEG also libjpeg-turbo's plain
// decode into RGB rows. gdk-pixbuf has no PCX loader; the PCX figures stand
// beside its loader of run-length coded TGA files of the same pictures, the
// nearest kind of work it does.
#include <benchmark/benchmark.h>
#include <gdk-pixbuf/gdk-pixbuf.h>

#include <vector>

#include "qx/image/raster_decoder.h"
#include "tests/image/image_writers.h"
#include "tests/image/jpeg_writer.h"

namespace {

using qx::test::Bytes;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

const qx::test::TestPicture& Colour() {
    static const qx::test::TestPicture picture = qx::test::ColourPicture(kWidth, kHeight, 1);
    return picture;
}

const qx::test::TestPicture& Indexed() {
    static const qx::test::TestPicture picture = qx::test::IndexedPicture(kWidth, kHeight);
    return picture;
}

// A run-length coded TGA (image type 10 for colour, 9 for a colour map),
// bottom-up, runs within a row: gdk-pixbuf's peer of the PCX decoder.
Bytes WriteRleTga(const qx::test::TestPicture& picture) {
    qx::test::ByteWriter out;
    const bool indexed = picture.indexed();
    out.U8(0).U8(indexed ? 1 : 0).U8(indexed ? 9 : 10);
    out.U16(0).U16(indexed ? 256 : 0).U8(indexed ? 24 : 0);
    out.U16(0).U16(0).U16(picture.width).U16(picture.height).U8(indexed ? 8 : 24).U8(0);
    if (indexed) {
        for (int k = 0; k < 256; ++k) out.U8(picture.palette[k][2]).U8(picture.palette[k][1]).U8(picture.palette[k][0]);
    }
    const auto pixel = [&](int x, int y) {
        const qx::test::Rgb c = picture.At(x, y);
        return indexed ? Bytes{picture.samples[static_cast<std::size_t>(y) * picture.width + x]} : Bytes{c[2], c[1], c[0]};
    };
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width;) {
            int run = 1;
            while (x + run < picture.width && run < 128 && pixel(x + run, y) == pixel(x, y)) ++run;
            if (run > 1) {
                out.U8(0x80 | (run - 1)).Append(pixel(x, y));
                x += run;
                continue;
            }
            int raw = 1;
            while (x + raw < picture.width && raw < 128 && !(x + raw + 1 < picture.width && pixel(x + raw, y) == pixel(x + raw + 1, y))) {
                ++raw;
            }
            out.U8(raw - 1);
            for (int k = 0; k < raw; ++k) out.Append(pixel(x + k, y));
            x += raw;
        }
    }
    return out.bytes();
}

struct Files {
    Bytes pcx8 = qx::test::WritePcx(Indexed());
    Bytes pcx24 = qx::test::WritePcx(Colour());
    Bytes tga8 = WriteRleTga(Indexed());
    Bytes tga24 = WriteRleTga(Colour());
    Bytes bmp8 = qx::test::WriteBmp(Indexed());
    Bytes bmp24 = qx::test::WriteBmp(Colour());
    Bytes tiff = qx::test::WriteTiff(Colour(), {.rowsPerStrip = 16});
    Bytes jpeg = qx::test::WriteJpeg(Colour(), {.quality = 90});
};

const Files& Samples() {
    static const Files files;
    return files;
}

void DecodeWithQx(benchmark::State& state, const Bytes& file) {
    for (auto _ : state) {
        qx::RasterPixels picture;
        if (qx::DecodeRaster(file, &picture) != IMAGE_OK) {
            state.SkipWithError("the picture does not decode");
            return;
        }
        benchmark::DoNotOptimize(picture.bits.data());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(std::to_string(file.size() / 1024) + " KiB");
}

void DecodeWithPixbuf(benchmark::State& state, const Bytes& file) {
    for (auto _ : state) {
        GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
        const bool read = gdk_pixbuf_loader_write(loader, file.data(), file.size(), nullptr) &&
                          gdk_pixbuf_loader_close(loader, nullptr);
        if (!read || !gdk_pixbuf_loader_get_pixbuf(loader)) {
            g_object_unref(loader);
            state.SkipWithError("gdk-pixbuf cannot read the picture");
            return;
        }
        benchmark::DoNotOptimize(gdk_pixbuf_read_pixels(gdk_pixbuf_loader_get_pixbuf(loader)));
        g_object_unref(loader);
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_DecodePcx8(benchmark::State& state) { DecodeWithQx(state, Samples().pcx8); }
void BM_DecodePcx24(benchmark::State& state) { DecodeWithQx(state, Samples().pcx24); }
void BM_DecodeBmp8(benchmark::State& state) { DecodeWithQx(state, Samples().bmp8); }
void BM_DecodeBmp24(benchmark::State& state) { DecodeWithQx(state, Samples().bmp24); }
void BM_DecodeTiff(benchmark::State& state) { DecodeWithQx(state, Samples().tiff); }
void BM_DecodeJpeg(benchmark::State& state) { DecodeWithQx(state, Samples().jpeg); }
void BM_Peer_PixbufTga8(benchmark::State& state) { DecodeWithPixbuf(state, Samples().tga8); }
void BM_Peer_PixbufTga24(benchmark::State& state) { DecodeWithPixbuf(state, Samples().tga24); }
void BM_Peer_PixbufBmp8(benchmark::State& state) { DecodeWithPixbuf(state, Samples().bmp8); }
void BM_Peer_PixbufBmp24(benchmark::State& state) { DecodeWithPixbuf(state, Samples().bmp24); }
void BM_Peer_PixbufTiff(benchmark::State& state) { DecodeWithPixbuf(state, Samples().tiff); }
void BM_Peer_PixbufJpeg(benchmark::State& state) { DecodeWithPixbuf(state, Samples().jpeg); }

// libjpeg-turbo on its own: the whole picture into RGB rows.
void BM_Peer_LibjpegJpeg(benchmark::State& state) {
    const Bytes& file = Samples().jpeg;
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(kWidth) * kHeight * 3);
    for (auto _ : state) {
        jpeg_decompress_struct cinfo{};
        jpeg_error_mgr errors{};
        cinfo.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, file.data(), static_cast<unsigned long>(file.size()));
        jpeg_read_header(&cinfo, TRUE);
        cinfo.out_color_space = JCS_RGB;
        jpeg_start_decompress(&cinfo);
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW row = rows.data() + static_cast<std::size_t>(cinfo.output_scanline) * kWidth * 3;
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_DecodePcx8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Peer_PixbufTga8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePcx24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Peer_PixbufTga24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeBmp8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Peer_PixbufBmp8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeBmp24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Peer_PixbufBmp24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeTiff)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Peer_PixbufTiff)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Peer_PixbufJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Peer_LibjpegJpeg)->Unit(benchmark::kMillisecond);

}  // namespace
