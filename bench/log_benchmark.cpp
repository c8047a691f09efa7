// Logging 1,000,000 records with CLogger, beside fprintf with a flush after
// every line (the C library's way of making each record durable) in the same
// run. Both write to files in the temporary folder.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "qx/log/logger.h"
#include "qx/platform/os/native_path.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRecords = 1'000'000;

fs::path Folder() { return fs::temp_directory_path() / "qxbench-log"; }

void BM_LogRecords(benchmark::State& state) {
    fs::remove_all(Folder());
    fs::create_directories(Folder());
    CLogger& logger = CLogger::GetInstance();
    logger.SetLogDir(qx::FromNativePath(Folder().string()).c_str());
    logger.SetCurrentFile(L"C:\\Projekte\\Haus 12\\plan.qxp");
    if (!logger.Start()) {
        state.SkipWithError("cannot start the logger");
        return;
    }
    for (auto _ : state) {
        for (int i = 0; i < kRecords; ++i) logger.Write(L"Calc", "calc.cpp", 120, L"Raum %d: %d W", i, i * 7);
    }
    logger.Stop();
    state.SetItemsProcessed(state.iterations() * kRecords);
    std::uintmax_t bytes = 0;
    for (const auto& entry : fs::directory_iterator(Folder())) bytes += entry.file_size();
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    fs::remove_all(Folder());
}
BENCHMARK(BM_LogRecords)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_Peer_FprintfFlush(benchmark::State& state) {
    fs::remove_all(Folder());
    fs::create_directories(Folder());
    std::FILE* file = std::fopen((Folder() / "peer.csv").c_str(), "ab");
    if (!file) {
        state.SkipWithError("cannot open the file");
        return;
    }
    for (auto _ : state) {
        for (int i = 0; i < kRecords; ++i) {
            std::fprintf(file, "Calc;Raum %d: %d W;C:\\Projekte\\Haus 12\\plan.qxp;calc.cpp;120;12:00:00.%03d\r\n", i,
                         i * 7, i % 1000);
            std::fflush(file);
        }
    }
    std::fclose(file);
    state.SetItemsProcessed(state.iterations() * kRecords);
    state.SetBytesProcessed(static_cast<std::int64_t>(fs::file_size(Folder() / "peer.csv")));
    fs::remove_all(Folder());
}
BENCHMARK(BM_Peer_FprintfFlush)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace
