// Slides: loading and drawing a slide of 100,000 vectors.
//
// The slide is 2,000 polylines of 50 touching vectors each on a 1000 x 1000
// drawing area, every polyline in the next of the colours 1 to 6, written as
// absolute vectors (800 KB). "Load" reads it from a temporary file into the
// point list; "Draw" draws it into a 1000 x 1000 CImageDC at one slide unit
// per pixel. The peer draws the same points straight with Cairo on an image
// surface of the same size: one path per colour (cairo_move_to and
// cairo_line_to) stroked at each colour change, one-pixel lines on the
// pixel centres as the device context draws them. A second peer strokes
// every vector on its own, as the device context does for each LineTo, and
// so shows what the context adds to Cairo. Items are vectors.
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "qx/image/slide_image.h"
#include "qx/platform/gfx/targets.h"

namespace {

constexpr int kPolylines = 2000;
constexpr int kVectorsPerPolyline = 50;
constexpr int kVectors = kPolylines * kVectorsPerPolyline;
constexpr int kSide = 1000;
constexpr int kExtent = kSide - 1;

void AppendWord(std::string& bytes, int value) {
    bytes += static_cast<char>(value & 0xFF);
    bytes += static_cast<char>((value >> 8) & 0xFF);
}

std::string SlideBytes() {
    std::string bytes("AutoCAD Slide\r\n\x1a", 16);
    bytes += '\0';
    bytes += static_cast<char>(86);
    bytes += static_cast<char>(2);
    AppendWord(bytes, kExtent);
    AppendWord(bytes, kExtent);
    bytes.append("\x80\x96\x98\x00", 4);  // aspect ratio 1
    AppendWord(bytes, 2);
    AppendWord(bytes, 0x1234);
    std::mt19937 random(42);
    std::uniform_int_distribution<int> anywhere(0, kExtent);
    std::uniform_int_distribution<int> step(-20, 20);
    for (int line = 0; line < kPolylines; ++line) {
        AppendWord(bytes, 0xFF00 | (1 + line % 6));
        int x = anywhere(random);
        int y = anywhere(random);
        for (int k = 0; k < kVectorsPerPolyline; ++k) {
            const int toX = std::clamp(x + step(random), 0, kExtent);
            const int toY = std::clamp(y + step(random), 0, kExtent);
            AppendWord(bytes, x);
            AppendWord(bytes, y);
            AppendWord(bytes, toX);
            AppendWord(bytes, toY);
            x = toX;
            y = toY;
        }
    }
    AppendWord(bytes, 0xFC00);
    return bytes;
}

// The slide's file, written once and removed at exit.
class SlideFile {
public:
    SlideFile() : path_(std::filesystem::temp_directory_path() / ("qx-slide-bench-" + std::to_string(getpid()) + ".sld")) {
        const std::string bytes = SlideBytes();
        std::ofstream(path_, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    ~SlideFile() { std::filesystem::remove(path_); }
    std::wstring Path() const { return path_.wstring(); }

private:
    std::filesystem::path path_;
};

const SlideFile& File() {
    static const SlideFile file;
    return file;
}

void BM_LoadSlide(benchmark::State& state) {
    const std::wstring path = File().Path();
    CSlideImage slide;
    for (auto _ : state) {
        if (slide.Load(nullptr, path.c_str()) != 1) state.SkipWithError("the slide did not load");
        benchmark::DoNotOptimize(slide.GetPoints().data());
    }
    state.SetItemsProcessed(state.iterations() * kVectors);
}
BENCHMARK(BM_LoadSlide)->Unit(benchmark::kMillisecond);

void BM_DrawSlide(benchmark::State& state) {
    CSlideImage slide;
    if (slide.Load(nullptr, File().Path().c_str()) != 1) state.SkipWithError("the slide did not load");
    CImageDC image(kSide, kSide);
    const CRect rect{0, 0, kExtent, kExtent};
    for (auto _ : state) benchmark::DoNotOptimize(slide.Draw(&image, rect, FALSE));
    state.SetItemsProcessed(state.iterations() * kVectors);
}
BENCHMARK(BM_DrawSlide)->Unit(benchmark::kMillisecond);

struct Rgb {
    double r, g, b;
};

Rgb IndexRgb(int index) {
    switch (index) {
        case 1: return {1, 0, 0};
        case 2: return {1, 1, 0};
        case 3: return {0, 1, 0};
        case 4: return {0, 1, 1};
        case 5: return {0, 0, 1};
        case 6: return {1, 0, 1};
        default: return {0, 0, 0};
    }
}

// The peer: with *strokeEachLine* every vector is a path of its own (as the
// device context strokes a LineTo), else a path runs to the next colour
// change.
void CairoLines(benchmark::State& state, bool strokeEachLine) {
    CSlideImage slide;
    if (slide.Load(nullptr, File().Path().c_str()) != 1) state.SkipWithError("the slide did not load");
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kSide, kSide);
    cairo_t* cr = cairo_create(surface);
    cairo_set_line_width(cr, 1);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    for (auto _ : state) {
        int color = -1;
        for (const SlidePoint& point : slide.GetPoints()) {
            const double x = point.x + 0.5;
            const double y = kExtent - point.y + 0.5;
            if (point.color == 0) {
                cairo_move_to(cr, x, y);
                continue;
            }
            if (point.color != color) {
                double cx = 0, cy = 0;
                cairo_get_current_point(cr, &cx, &cy);
                cairo_stroke(cr);
                const Rgb rgb = IndexRgb(point.color);
                cairo_set_source_rgb(cr, rgb.r, rgb.g, rgb.b);
                color = point.color;
                cairo_move_to(cr, cx, cy);
            }
            cairo_line_to(cr, x, y);
            if (strokeEachLine) {
                cairo_stroke(cr);
                cairo_move_to(cr, x, y);
            }
        }
        cairo_stroke(cr);
        cairo_surface_flush(surface);
    }
    state.SetItemsProcessed(state.iterations() * kVectors);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

void BM_Peer_CairoLines(benchmark::State& state) { CairoLines(state, false); }
BENCHMARK(BM_Peer_CairoLines)->Unit(benchmark::kMillisecond);

void BM_Peer_CairoStrokePerLine(benchmark::State& state) { CairoLines(state, true); }
BENCHMARK(BM_Peer_CairoStrokePerLine)->Unit(benchmark::kMillisecond);

}  // namespace
