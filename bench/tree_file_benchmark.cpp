// Reading and writing large tree documents, decoding included, beside
// pugixml parsing the same content in the simple XML form.
//
// The inputs come from scripts/gen-tree-doc.py; QX_BENCH_TREE_DIR names the
// folder (scripts/run-bench.sh makes it).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
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

void ReadTree(benchmark::State& state, const char* name) {
    std::filesystem::path file = Input(name);
    if (!Present(state, file)) return;
    for (auto _ : state) {
        std::unique_ptr<CNode> root(CNode::ReadFromFile(file.wstring().c_str()));
        if (!root) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(root.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * std::filesystem::file_size(file)));
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
    for (auto _ : state) {
        pugi::xml_document doc;
        pugi::xml_parse_result result = doc.load_file(file.c_str());
        if (!result) state.SkipWithError(result.description());
        benchmark::DoNotOptimize(doc.first_child());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * std::filesystem::file_size(file)));
}

BENCHMARK(BM_ReadTreeUtf8)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadTreeUtf16)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadTreeCp1252)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadTreeXmlForm)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PugixmlParseXmlForm)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteTreeUtf8)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WriteTreeCp1252)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
