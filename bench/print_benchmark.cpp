// The print engine on the example parts list: composing and rendering
// reports of 1,000 to 100,000 items to PDF, and the peak memory of printing
// 1,000,000. Neither the cost per page nor the memory should grow with the
// report. scripts/run-bench.sh runs bench/reportlab_report.py on the
// same rows as the peer and prints the ratio.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <tuple>
#include <utility>

#include "qx/platform/base/format.h"
#include "qx/platform/gfx/targets.h"
#include "qx/print/print_engine.h"

namespace {

// The rows reportlab_report.py makes: groups of 25 items.
constexpr int kGroupSize = 25;
const wchar_t* const kDescriptions[] = {
    L"Kugelhahn DN 20 mit Entleerung",
    L"Plattenheizkörper Typ 22, 600 x 1200 mm, mit seitlichem Anschluss und Befestigungssatz, weiß lackiert",
    L"Thermostatventil mit Voreinstellung",
    L"Rohr Kupfer 18 x 1 mm, Stangenware 5 m",
};

std::unique_ptr<CDataTree> MakeReport(int items) {
    auto root = std::make_unique<CDataTree>();
    CDataTree* list = root->AddChild();
    list->AddValue(L"PROJEKT", L"Benchmark");
    CDataTree* group = nullptr;
    for (int i = 0; i < items; ++i) {
        if (i % kGroupSize == 0) {
            group = list->AddChild();
            group->AddValue(L"BAUGRUPPE", qx::Format(L"Baugruppe %d", i / kGroupSize + 1).c_str());
            group->AddValue(L"GRUPPENSUMME", L"0,00");
        }
        CDataTree* item = group->AddChild();
        item->AddValue(L"POS", i + 1);
        item->AddValue(L"ARTIKEL", qx::Format(L"ART-%05d", i).c_str());
        item->AddValue(L"BESCHREIBUNG", kDescriptions[i % 4]);
        item->AddValue(L"MENGE", i % 7 + 1);
        item->AddValue(L"PREIS", qx::Format(L"%.2f", (i % 97) * 3.25 + 10).c_str());
    }
    return root;
}

// The example layout without its page break after each group, so that pages
// fill as the peer's do.
std::filesystem::path BenchLayout() {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "qx-print-bench";
    std::filesystem::create_directories(folder);
    const std::filesystem::path examples = QX_EXAMPLES_DIR "/report";
    std::ifstream in(examples / "parts_list.msk", std::ios::binary);
    std::ofstream out(folder / "parts_list.msk", std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (line.find("PAGE_WRAP") == std::string::npos) out << line << '\n';
    }
    std::filesystem::copy_file(examples / "logo.png", folder / "logo.png",
                               std::filesystem::copy_options::overwrite_existing);
    return folder / "parts_list.msk";
}

// Composes *report* and prints every page into *pdf*; returns the pages.
int PrintReport(CDataTree& report, const std::filesystem::path& layout, const std::filesystem::path& pdf) {
    std::unique_ptr<CPrintEngine> engine(CPrintEngine::newInstance());
    PrinterSettings settings;
    settings.outputPath = pdf.wstring().c_str();
    CPrinterDC printer(settings);
    engine->SetEngineDC(&printer);
    engine->SetMaskFilePath(layout.wstring().c_str());
    engine->SetDataPtr(&report);
    engine->WriteTempFile(0);
    const int pages = engine->GetPageCount();
    printer.StartDoc(L"bench");
    for (int page = 0; page < pages; ++page) {
        printer.StartPage();
        engine->SetCurPage(page);
        engine->RenderPage(0, 0);
        printer.EndPage();
    }
    printer.EndDoc();
    return pages;
}

void BM_ComposeAndRenderPdf(benchmark::State& state) {
    const auto report = MakeReport(static_cast<int>(state.range(0)));
    const std::filesystem::path layout = BenchLayout();
    const std::filesystem::path pdf = layout.parent_path() / "report.pdf";
    int pages = 0;
    for (auto _ : state) pages = PrintReport(*report, layout, pdf);
    state.SetItemsProcessed(state.iterations() * pages);
    state.counters["pages"] = pages;
}
BENCHMARK(BM_ComposeAndRenderPdf)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

// Runs *job* in a child process; its peak resident memory in MB and what it
// wrote to the pipe (an int), or -1 for both when it failed.
template <typename Job>
std::pair<double, int> PeakMemoryOf(Job job) {
    int channel[2];
    if (pipe(channel) != 0) return {-1, -1};
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const int result = job();
        const bool written = write(channel[1], &result, sizeof result) == sizeof result;
        _exit(written ? 0 : 1);
    }
    close(channel[1]);
    int result = -1;
    if (child < 0 || read(channel[0], &result, sizeof result) != sizeof result) result = -1;
    close(channel[0]);
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return {-1, -1};
    }
    return {static_cast<double>(usage.ru_maxrss) / 1024.0, result};  // ru_maxrss is in KiB
}

// The whole print job of a large report in a child of its own: its peak
// memory (counter peak_mb), of which the data tree the application hands
// over (tree_mb, measured alone in another child). Memory should not grow
// with the report beyond its data.
void BM_PrintPeakMemory(benchmark::State& state) {
    const int items = static_cast<int>(state.range(0));
    const std::filesystem::path layout = BenchLayout();
    const std::filesystem::path pdf = layout.parent_path() / "large-report.pdf";
    double peak = -1;
    double tree = -1;
    int pages = 0;
    for (auto _ : state) {
        tree = PeakMemoryOf([&] { return MakeReport(items) ? 0 : 1; }).first;
        std::tie(peak, pages) = PeakMemoryOf([&] { return PrintReport(*MakeReport(items), layout, pdf); });
    }
    std::filesystem::remove(pdf);
    if (peak < 0 || tree < 0) state.SkipWithError("the print job in the child process failed");
    state.counters["peak_mb"] = peak;
    state.counters["tree_mb"] = tree;
    state.counters["pages"] = pages;
}
BENCHMARK(BM_PrintPeakMemory)->Arg(1000000)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

void BM_Compose(benchmark::State& state) {
    const auto report = MakeReport(static_cast<int>(state.range(0)));
    const std::filesystem::path layout = BenchLayout();
    int pages = 0;
    for (auto _ : state) {
        std::unique_ptr<CPrintEngine> engine(CPrintEngine::newInstance());
        CPrinterDC printer(PrinterSettings{});
        engine->SetEngineDC(&printer);
        engine->SetMaskFilePath(layout.wstring().c_str());
        engine->SetDataPtr(report.get());
        engine->WriteTempFile(0);
        pages = engine->GetPageCount();
    }
    state.SetItemsProcessed(state.iterations() * pages);
    state.counters["pages"] = pages;
}
BENCHMARK(BM_Compose)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
