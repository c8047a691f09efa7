// Scanning a folder of 100,000 files with the family's searches, beside
// std::filesystem::directory_iterator over the same folder in the same run.
//
// The family's searches do more than the iterator: they match the pattern,
// hand out "." and ".." and sort the names as NTFS orders them, so that a
// listing is the same on every machine. The folder is created once, in the
// temporary folder, and removed when the program ends.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "qx/platform/base/cstring.h"
#include "qx/text/file_search.h"
#include "qx/text/find_files.h"

namespace {

constexpr int kEntries = 100'000;

class ScanFolder {
public:
    static const ScanFolder& Get() {
        static const ScanFolder folder;
        return folder;
    }

    ~ScanFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    const std::filesystem::path& path() const { return path_; }
    const std::wstring& library() const { return library_; }

private:
    ScanFolder() : path_(std::filesystem::temp_directory_path() / "qxbench-folder-scan") {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directory(path_);
        // The names are hard links to a few files: allocating 100,000 inodes
        // takes half a minute on some disks, a link next to nothing, and a
        // listing sees the same entries. (ext4 allows 65,000 links a file.)
        constexpr int kLinksPerFile = 50'000;
        std::filesystem::path file;
        char name[32];
        for (int i = 0; i < kEntries; ++i) {
            // Mixed letter case, so that the order is not that of the bytes.
            std::snprintf(name, sizeof name, "%s_%06d.dat", i % 3 == 0 ? "Data" : "data", (i * 7919) % kEntries);
            if (i % kLinksPerFile == 0) {
                file = path_ / name;
                std::ofstream(file).put('x');
            } else {
                std::filesystem::create_hard_link(file, path_ / name);
            }
        }
        library_ = path_.wstring();
    }

    std::filesystem::path path_;
    std::wstring library_;
};

void BM_GetFirstFileName(benchmark::State& state) {
    const ScanFolder& folder = ScanFolder::Get();
    for (auto _ : state) {
        int count = 0;
        CString name;
        for (int found = GetFirstFileName(folder.library().c_str(), L"*", name); found; found = GetNextFileName(name))
            ++count;
        if (count != kEntries) state.SkipWithError("wrong count");
        benchmark::DoNotOptimize(name);
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
}

void BM_FindFiles(benchmark::State& state) {
    const ScanFolder& folder = ScanFolder::Get();
    for (auto _ : state) {
        int count = 0;
        CFindFiles search(folder.library(), L"*.dat", 1);
        CString name;
        while (search.GetNext(name)) ++count;
        if (count != kEntries) state.SkipWithError("wrong count");
        benchmark::DoNotOptimize(name);
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
}

// A pattern that one name in ten matches, with a "?" that takes the general
// matcher rather than the comparison of both ends.
void BM_GetFirstFileName_Pattern(benchmark::State& state) {
    const ScanFolder& folder = ScanFolder::Get();
    for (auto _ : state) {
        int count = 0;
        CString name;
        for (int found = GetFirstFileName(folder.library().c_str(), L"data_*7.DA?", name); found;
             found = GetNextFileName(name))
            ++count;
        if (count != kEntries / 10) state.SkipWithError("wrong count");
        benchmark::DoNotOptimize(name);
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
}

// The same listing: every file's name as wide text.
void BM_Peer_DirectoryIterator(benchmark::State& state) {
    const ScanFolder& folder = ScanFolder::Get();
    for (auto _ : state) {
        int count = 0;
        std::wstring name;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
            if (entry.is_directory()) continue;
            name = entry.path().filename().wstring();
            ++count;
        }
        if (count != kEntries) state.SkipWithError("wrong count");
        benchmark::DoNotOptimize(name);
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
}

BENCHMARK(BM_GetFirstFileName)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetFirstFileName_Pattern)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Peer_DirectoryIterator)->Unit(benchmark::kMillisecond);

}  // namespace
