// Reading and writing large tree documents, decoding included, beside
// pugixml parsing the same content in the simple XML form.
//
// The inputs come from scripts/gen-tree-doc.py; QX_BENCH_TREE_DIR names the
// folder (scripts/run-bench.sh makes it).
//
// The readers also count the peak of the process's resident memory while
// they run, above what it held before (file bytes and tree together), as a
// multiple of the file's size: "peak_rss_x_file".
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <pugixml.hpp>

#include "qx/tree/node.h"

namespace {

std::filesystem::path Input(const char* name) {
    const char* dir = std::getenv("QX_BENCH_TREE_DIR");
    return dir ? std::filesystem::path(dir) / name : std::filesystem::path();
}

bool Present(benchmark::State& state, const std::filesystem::path& file) {
    if (!file.empty() && std::filesystem::exists(file)) return true;
    state.SkipWithError("set QX_BENCH_TREE_DIR to the output of scripts/gen-tree-doc.py");
    return false;
}

// A line of /proc/self/status in bytes, such as "VmRSS:" (0 when the
// system does not tell).
double StatusBytes(const char* key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(key, 0) == 0) return std::atof(line.c_str() + std::char_traits<char>::length(key)) * 1024;
    }
    return 0;
}

// Starts a new peak of resident memory from what the process holds now,
// with the heap's free memory given back first (Linux: clear_refs 5), and
// returns what it holds.
double ResetPeakMemory() {
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
    return StatusBytes("VmRSS:");
}

// The peak of resident memory since ResetPeakMemory gave *base*, above it.
double PeakMemoryAbove(double base) { return StatusBytes("VmHWM:") - base; }

void ReadTree(benchmark::State& state, const char* name) {
    std::filesystem::path file = Input(name);
    if (!Present(state, file)) return;
    const auto fileBytes = static_cast<double>(std::filesystem::file_size(file));
    const double base = ResetPeakMemory();
    for (auto _ : state) {
        std::unique_ptr<CNode> root(CNode::ReadFromFile(file.wstring().c_str()));
        if (!root) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(root.get());
    }
    state.counters["peak_rss_x_file"] = PeakMemoryAbove(base) / fileBytes;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fileBytes));
}

void WriteTree(benchmark::State& state, bool utf8) {
    std::filesystem::path file = Input("tree_utf8.txt");
    if (!Present(state, file)) return;
    std::unique_ptr<CNode> root(CNode::ReadFromFile(file.wstring().c_str()));
    std::filesystem::path out = std::filesystem::temp_directory_path() / "qxbench-tree-out.txt";
    for (auto _ : state) {
        if (!root->WriteToFile(out.wstring().c_str(), false, true, utf8, 1252)) state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * std::filesystem::file_size(out)));
    std::filesystem::remove(out);
}

void BM_ReadTreeUtf8(benchmark::State& state) { ReadTree(state, "tree_utf8.txt"); }
void BM_ReadTreeUtf16(benchmark::State& state) { ReadTree(state, "tree_utf16.txt"); }
void BM_ReadTreeCp1252(benchmark::State& state) { ReadTree(state, "tree_cp1252.txt"); }
// The very bytes pugixml parses below, read by the tree reader.
void BM_ReadTreeXmlForm(benchmark::State& state) { ReadTree(state, "tree.xml"); }
void BM_WriteTreeUtf8(benchmark::State& state) { WriteTree(state, true); }
void BM_WriteTreeCp1252(benchmark::State& state) { WriteTree(state, false); }

void BM_PugixmlParseXmlForm(benchmark::State& state) {
    std::filesystem::path file = Input("tree.xml");
    if (!Present(state, file)) return;
    const auto fileBytes = static_cast<double>(std::filesystem::file_size(file));
    const double base = ResetPeakMemory();
    for (auto _ : state) {
        pugi::xml_document doc;
        pugi::xml_parse_result result = doc.load_file(file.c_str());
        if (!result) state.SkipWithError(result.description());
        benchmark::DoNotOptimize(doc.first_child());
    }
    state.counters["peak_rss_x_file"] = PeakMemoryAbove(base) / fileBytes;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fileBytes));
}

BENCHMARK(BM_ReadTreeUtf8)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadTreeUtf16)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadTreeCp1252)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadTreeXmlForm)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PugixmlParseXmlForm)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteTreeUtf8)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteTreeCp1252)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
