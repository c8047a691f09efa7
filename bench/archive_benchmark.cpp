// Extracting a 200 MB member from "data.zip" and from "data.cab" through
// CCabinetHandling, and asking again for files whose decision is remembered.
//
// The archives are made once per run in $TMPDIR/qxbench-archive (minizip
// writes the zip, gcab the cabinet, both from the same text-like content),
// with the cache folder below it, and removed at the end unless
// QX_BENCH_KEEP_ARCHIVES is set: scripts/bench-archive.sh keeps them to time
// unzip and cabextract on the very same files.
#include <benchmark/benchmark.h>
#include <minizip/zip.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "qx/archive/cabinet_handling.h"
#include "qx/platform/os/native_path.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kMemberBytes = 200ull << 20;
constexpr int kSmallMembers = 100;

// Lines of a room list: compresses about as well as the family's data files.
std::string ContentChunk(std::uint32_t& seed) {
    std::string chunk;
    chunk.reserve(1 << 20);
    char line[96];
    while (chunk.size() < (1u << 20) - sizeof line) {
        seed = seed * 1664525u + 1013904223u;
        const int n = std::snprintf(line, sizeof line, "Raum %u;Flaeche %u.%02u;Heizlast %u W;Zone %c\r\n",
                                    seed >> 20, (seed >> 8) & 0xFF, seed & 0x63, (seed >> 4) & 0x3FFF,
                                    'A' + static_cast<char>(seed % 7));
        chunk.append(line, static_cast<size_t>(n));
    }
    return chunk;
}

class Archives {
public:
    static const Archives& Get() {
        static const Archives archives;
        return archives;
    }
    // The copies in the cache folder go with the folder; the archive layer's
    // own state may be gone by now (static objects end in reverse order).
    ~Archives() {
        if (!std::getenv("QX_BENCH_KEEP_ARCHIVES")) fs::remove_all(root_);
    }

    std::wstring Path(const char* kind, const std::string& name) const {
        return qx::FromNativePath((root_ / kind / name).string());
    }
    bool ok() const { return ok_; }

private:
    Archives() : root_(fs::temp_directory_path() / "qxbench-archive") {
        // The cache folder goes below ours, not into the user's own.
        fs::create_directories(root_ / "tmp");
        ::setenv("TMPDIR", (root_ / "tmp").c_str(), 1);
        fs::create_directories(root_ / "zip");
        fs::create_directories(root_ / "cab");
        fs::create_directories(root_ / "staging");
        std::uint32_t seed = 1;
        {
            std::ofstream out(root_ / "staging" / "big.txt", std::ios::binary);
            for (std::uint64_t written = 0; written < kMemberBytes;) {
                std::string chunk = ContentChunk(seed);
                chunk.resize(std::min<std::uint64_t>(chunk.size(), kMemberBytes - written));
                out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
                written += chunk.size();
            }
        }
        for (int i = 0; i < kSmallMembers; ++i)
            std::ofstream(root_ / "staging" / ("s" + std::to_string(i) + ".txt")) << "small " << i << "\r\n";
        ok_ = WriteZip() && std::system(("cd '" + (root_ / "staging").string() + "' && gcab -c -z '" +
                                         (root_ / "cab" / "data.cab").string() + "' big.txt >/dev/null")
                                            .c_str()) == 0;
        fs::remove_all(root_ / "staging");
    }

    bool WriteZip() {
        zipFile zip = zipOpen64((root_ / "zip" / "data.zip").c_str(), APPEND_STATUS_CREATE);
        if (!zip) return false;
        bool ok = true;
        for (const auto& entry : fs::directory_iterator(root_ / "staging")) {
            zip_fileinfo info{};
            info.dosDate = (40u << 25) | (6u << 21) | (15u << 16);
            const std::string name = entry.path().filename().string();
            ok = ok && zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                             Z_DEFAULT_COMPRESSION, 0) == ZIP_OK;
            std::ifstream in(entry.path(), std::ios::binary);
            std::string buffer(1 << 20, '\0');
            while (ok && in) {
                in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
                ok = zipWriteInFileInZip(zip, buffer.data(), static_cast<unsigned>(in.gcount())) == ZIP_OK;
            }
            ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
        }
        return zipClose(zip, nullptr) == ZIP_OK && ok;
    }

    fs::path root_;
    bool ok_ = false;
};

void Extract(benchmark::State& state, const char* kind) {
    const Archives& archives = Archives::Get();
    if (!archives.ok()) {
        state.SkipWithError("the archives could not be made (is gcab installed?)");
        return;
    }
    const std::wstring path = archives.Path(kind, "big.txt");
    for (auto _ : state) {
        CCabinetHandling::destroy();  // forget the copy, so it is extracted again
        CString usable;
        if (!CCabinetHandling::getUncabedPathName(path.c_str(), usable)) {
            state.SkipWithError("extraction failed");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kMemberBytes));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kMemberBytes));
}

void BM_ExtractZip200MB(benchmark::State& state) { Extract(state, "zip"); }
void BM_ExtractCab200MB(benchmark::State& state) { Extract(state, "cab"); }
BENCHMARK(BM_ExtractZip200MB)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ExtractCab200MB)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// 10,000 requests for files already extracted (a remembered FromArchive
// decision): the cost an application pays on every open of a data file.
void BM_RememberedLookups(benchmark::State& state) {
    const Archives& archives = Archives::Get();
    CCabinetHandling::destroy();
    std::vector<std::wstring> paths;
    for (int i = 0; i < kSmallMembers; ++i) paths.push_back(archives.Path("zip", "s" + std::to_string(i) + ".txt"));
    CString usable;
    for (const std::wstring& path : paths) CCabinetHandling::getUncabedPathName(path.c_str(), usable);
    for (auto _ : state) {
        for (int i = 0; i < 10'000; ++i) {
            benchmark::DoNotOptimize(CCabinetHandling::getUncabedPathName(paths[i % kSmallMembers].c_str(), usable));
        }
    }
    state.SetItemsProcessed(state.iterations() * 10'000);
}
BENCHMARK(BM_RememberedLookups)->Unit(benchmark::kMillisecond);

}  // namespace
