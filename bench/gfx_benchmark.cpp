// Text measuring and page drawing.
//
// Measuring: GetTextExtent of 20-character Latin strings with a 10-point
// Arial on a memory context. "Repeated" cycles through 1,000 different
// strings, as a report measures its labels and values again and again;
// "unique" makes a new string for every call; "distinct" walks through
// 1,000,000 different strings made beforehand (words with umlauts, ß and
// the euro sign, and a running number), so no string is measured twice
// within a million calls and making the strings costs nothing. "Repeated,
// Greek" cycles through 1,000 strings with a Greek capital delta, which
// Latin advances cannot measure (the width cache answers them). The peer is
// a bare Pango layout in a context set up the same way (no hinting,
// unrounded positions, no kerning or ligatures): pango_layout_set_text and
// pango_layout_get_extents per string, no cache, over the 1,000 strings.
//
// Drawing: one A4 page of 200 text lines in engine units (1322 per inch),
// written as a 150 dpi PNG and as a 600 dpi PDF print job.
#include <benchmark/benchmark.h>
#include <pango/pangocairo.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "qx/platform/base/utf.h"
#include "qx/platform/gfx/targets.h"

namespace {

constexpr int kPoolSize = 1000;
constexpr int kEngineUnitsPerInch = 1322;

// "Rohr DN 50 L=1234 mm"-like strings of exactly 20 characters.
std::wstring SampleText(long n) {
    static const wchar_t* kWords[] = {L"Rohr", L"Heizkoerper", L"Ventil", L"Bogen", L"Pumpe", L"Kessel"};
    std::wstring text = kWords[n % 6];
    text += L" DN " + std::to_wstring(10 + n % 90) + L" L=" + std::to_wstring(n);
    text.resize(20, L'.');
    return text;
}

const std::vector<std::wstring>& Pool() {
    static const std::vector<std::wstring> pool = [] {
        std::vector<std::wstring> texts;
        for (int i = 0; i < kPoolSize; ++i) texts.push_back(SampleText(i * 7919L));
        return texts;
    }();
    return pool;
}

std::unique_ptr<CFont> TenPointArial() {
    auto font = std::make_unique<CFont>();
    font->CreateFont(-13, 0, 0, 0, FW_NORMAL, false, false, false, DEFAULT_CHARSET, L"Arial");
    return font;
}

void BM_MeasureRepeated(benchmark::State& state) {
    CMemoryDC dc;
    auto font = TenPointArial();
    dc.SelectObject(font.get());
    const std::vector<std::wstring>& pool = Pool();
    std::size_t i = 0;
    for (auto _ : state) {
        const std::wstring& text = pool[i];
        benchmark::DoNotOptimize(dc.GetTextExtent(text.data(), 20));
        if (++i == pool.size()) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
    dc.SelectStockObject(DEFAULT_GUI_FONT);
}
BENCHMARK(BM_MeasureRepeated);

void BM_MeasureRepeatedGreek(benchmark::State& state) {
    CMemoryDC dc;
    auto font = TenPointArial();
    dc.SelectObject(font.get());
    std::vector<std::wstring> pool;
    for (const std::wstring& text : Pool()) pool.push_back(L"\u0394" + text.substr(1));
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(dc.GetTextExtent(pool[i].data(), 20));
        if (++i == pool.size()) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
    dc.SelectStockObject(DEFAULT_GUI_FONT);
}
BENCHMARK(BM_MeasureRepeatedGreek);

void BM_MeasureUnique(benchmark::State& state) {
    CMemoryDC dc;
    auto font = TenPointArial();
    dc.SelectObject(font.get());
    long n = 1000000;
    for (auto _ : state) {
        std::wstring text = SampleText(n++);
        benchmark::DoNotOptimize(dc.GetTextExtent(text.data(), 20));
    }
    state.SetItemsProcessed(state.iterations());
    dc.SelectStockObject(DEFAULT_GUI_FONT);
}
BENCHMARK(BM_MeasureUnique);

constexpr std::size_t kDistinctCount = 1000000;
constexpr std::size_t kDistinctLength = 20;

// One million different 20-character strings, end to end.
const std::vector<wchar_t>& DistinctTexts() {
    static const std::vector<wchar_t> texts = [] {
        static const wchar_t* kWords[] = {L"Heizk\u00F6rper", L"Rohr", L"\u00DCbergang", L"Stra\u00DFe",
                                          L"Ventil", L"Gr\u00F6\u00DFe", L"Preis \u20AC", L"Bogen"};
        std::vector<wchar_t> all;
        all.reserve(kDistinctCount * kDistinctLength);
        for (std::size_t i = 0; i < kDistinctCount; ++i) {
            std::wstring text = kWords[i % 8];
            text += L" " + std::to_wstring(i) + L" mm";
            text.resize(kDistinctLength, L'.');
            all.insert(all.end(), text.begin(), text.end());
        }
        return all;
    }();
    return texts;
}

void BM_MeasureDistinct(benchmark::State& state) {
    CMemoryDC dc;
    auto font = TenPointArial();
    dc.SelectObject(font.get());
    const std::vector<wchar_t>& texts = DistinctTexts();
    // Warm-up: the face and its characters' advances.
    constexpr int kLength = static_cast<int>(kDistinctLength);
    dc.GetTextExtent(texts.data(), kLength);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(dc.GetTextExtent(texts.data() + i * kDistinctLength, kLength));
        if (++i == kDistinctCount) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
    dc.SelectStockObject(DEFAULT_GUI_FONT);
}
BENCHMARK(BM_MeasureDistinct);

void BM_Peer_PangoLayoutExtents(benchmark::State& state) {
    PangoFontMap* fontMap = pango_cairo_font_map_new();
    PangoContext* context = pango_font_map_create_context(fontMap);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(context, FALSE);
    PangoLayout* layout = pango_layout_new(context);
    PangoFontDescription* description = pango_font_description_from_string("Liberation Sans");
    pango_font_description_set_absolute_size(description, 13 * PANGO_SCALE);
    pango_layout_set_font_description(layout, description);
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_font_features_new("kern 0, liga 0, clig 0"));
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
    std::vector<std::string> pool;
    for (const std::wstring& text : Pool()) pool.push_back(qx::WideToUtf8(text));
    std::size_t i = 0;
    for (auto _ : state) {
        pango_layout_set_text(layout, pool[i].data(), static_cast<int>(pool[i].size()));
        PangoRectangle logical;
        pango_layout_get_extents(layout, nullptr, &logical);
        benchmark::DoNotOptimize(logical.width);
        if (++i == pool.size()) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
    pango_font_description_free(description);
    g_object_unref(layout);
    g_object_unref(context);
    g_object_unref(fontMap);
}
BENCHMARK(BM_Peer_PangoLayoutExtents);

class ScratchFolder {
public:
    ScratchFolder()
        : path_(std::filesystem::temp_directory_path() / ("qx-gfx-bench-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() { std::filesystem::remove_all(path_); }
    std::wstring File(const char* name) const { return (path_ / name).wstring(); }

private:
    std::filesystem::path path_;
};

// 200 lines of text down an A4 page in engine units.
void DrawPage(CDC& dc) {
    CFont engineFont;
    engineFont.CreateFont(-10 * kEngineUnitsPerInch / 72, 0, 0, 0, FW_NORMAL, false, false, false, DEFAULT_CHARSET,
                          L"Arial");
    CFont* previous = dc.SelectObject(&engineFont);
    dc.SetBkMode(TRANSPARENT);
    for (int line = 0; line < 200; ++line) {
        const int column = line / 50;
        const int row = line % 50;
        dc.TextOut(300 + column * 2400, 300 + row * 280, Pool()[static_cast<std::size_t>(line)].c_str());
    }
    dc.SelectObject(previous);
}

void UseEngineUnits(CDC& dc) {
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(kEngineUnitsPerInch, kEngineUnitsPerInch);
    dc.SetViewportExt(dc.GetDeviceCaps(LOGPIXELSX), dc.GetDeviceCaps(LOGPIXELSY));
}

constexpr int kPageWidth150 = 210 * 150 * 10 / 254;
constexpr int kPageHeight150 = 297 * 150 * 10 / 254;

// The page drawn into the image only: what the PNG figure spends on drawing.
void BM_DrawPageImage(benchmark::State& state) {
    for (auto _ : state) {
        CImageDC dc(kPageWidth150, kPageHeight150, {.dpi = 150});
        UseEngineUnits(dc);
        DrawPage(dc);
        benchmark::DoNotOptimize(dc.GetPixel(0, 0));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawPageImage)->Unit(benchmark::kMillisecond);

void BM_DrawPagePng(benchmark::State& state) {
    ScratchFolder folder;
    for (auto _ : state) {
        CImageDC dc(kPageWidth150, kPageHeight150, {.dpi = 150});
        UseEngineUnits(dc);
        DrawPage(dc);
        if (!dc.SavePng(folder.File("page.png").c_str())) state.SkipWithError("PNG not written");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawPagePng)->Unit(benchmark::kMillisecond);

void BM_DrawPagePdf(benchmark::State& state) {
    ScratchFolder folder;
    PrinterSettings settings;
    settings.outputPath = folder.File("page.pdf").c_str();
    for (auto _ : state) {
        CPrinterDC dc(settings);
        UseEngineUnits(dc);
        dc.StartDoc(L"bench");
        dc.StartPage();
        DrawPage(dc);
        dc.EndPage();
        if (dc.EndDoc() <= 0) state.SkipWithError("PDF not written");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawPagePdf)->Unit(benchmark::kMillisecond);

}  // namespace
