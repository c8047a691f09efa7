// Wordbook translation: loading a wordbook of 100,000 lines, and 1,000,000
// translate calls over its keys, against the peer: a
// std::unordered_map<std::wstring, std::wstring> looked up with the same
// keys, as an application would keep its own table.
//
// translate pays for what the family's interface asks of it: a lock, the key
// passed as a zero-terminated text (so its length is found first), and two
// look-ups (key to identifier, identifier to the current language's text).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <system_error>
#include <string>
#include <unordered_map>
#include <vector>

#include "qx/locale/ctr_string.h"
#include "qx/platform/base/codepage.h"

namespace {

constexpr int kLines = 100000;
constexpr int kCalls = 1000000;

std::string Key(int i) { return "Eintrag Nummer " + std::to_string(i) + " im Dialog f\xFCr Einstellungen"; }
std::string Translation(int i) { return "Entry number " + std::to_string(i) + " in the settings dialog"; }

// The wordbook file, written once per run.
struct Wordbook {
    std::filesystem::path folder;
    std::wstring base;
    std::vector<std::wstring> keys;
    std::vector<std::string> narrowKeys;
    std::unordered_map<std::wstring, std::wstring> peer;

    static const Wordbook& Get() {
        static const Wordbook wordbook;
        return wordbook;
    }

    ~Wordbook() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

private:
    Wordbook() {
        folder = std::filesystem::temp_directory_path() / ("qx-translate-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        base = (folder / "Prog").wstring();
        std::ofstream out(folder / "Prog.en", std::ios::binary);
        for (int i = 0; i < kLines; ++i) {
            out << Key(i) << " <*> " << Translation(i) << "\r\n";
            narrowKeys.push_back(Key(i));
            keys.push_back(qx::CodePageToWide(narrowKeys.back(), 1252));
            peer.emplace(keys.back(), qx::CodePageToWide(Translation(i), 1252));
        }
    }
};

void Load() {
    const Wordbook& wordbook = Wordbook::Get();
    qx::ResetWordbooks();
    CtrString::scanMiniWordBooks(wordbook.base.c_str());
    CtrString::setLanguage(L"en");
}

void BM_LoadWordbook(benchmark::State& state) {
    Wordbook::Get();
    for (auto _ : state) {
        Load();
        benchmark::DoNotOptimize(CtrString::translate(L"x"));
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_LoadWordbook)->Unit(benchmark::kMillisecond);

// The calls walk the keys with a stride, so that successive look-ups do not
// share cache lines.
template <typename Lookup>
void RunCalls(benchmark::State& state, size_t count, Lookup lookup) {
    for (auto _ : state) {
        size_t index = 0;
        for (int call = 0; call < kCalls; ++call) {
            benchmark::DoNotOptimize(lookup(index));
            index = (index + 7919) % count;
        }
    }
    state.SetItemsProcessed(state.iterations() * kCalls);
}

void BM_Translate(benchmark::State& state) {
    Load();
    const auto& keys = Wordbook::Get().keys;
    RunCalls(state, keys.size(), [&](size_t i) { return CtrString::translate(keys[i].c_str()); });
}
BENCHMARK(BM_Translate)->Unit(benchmark::kMillisecond);

void BM_TranslateNarrow(benchmark::State& state) {
    Load();
    const auto& keys = Wordbook::Get().narrowKeys;
    RunCalls(state, keys.size(), [&](size_t i) { return CtrString::translate(keys[i].c_str()); });
}
BENCHMARK(BM_TranslateNarrow)->Unit(benchmark::kMillisecond);

void BM_Peer_UnorderedMap(benchmark::State& state) {
    const Wordbook& wordbook = Wordbook::Get();
    RunCalls(state, wordbook.keys.size(), [&](size_t i) { return wordbook.peer.find(wordbook.keys[i])->second.c_str(); });
}
BENCHMARK(BM_Peer_UnorderedMap)->Unit(benchmark::kMillisecond);

}  // namespace
