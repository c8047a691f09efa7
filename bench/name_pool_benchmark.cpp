// Memory for the names of 1,000,000 leaves carrying 50 distinct names: the
// name pool (each item holds one pointer into it) against the peer, one
// std::wstring per item as a string member would store it.
//
// Heap bytes are counted by replacing the global operator new and delete of
// this program, so the library's pool and the peer's strings are measured
// the same way in the same run. Two figures per side:
//   bytes_per_leaf        what the item holds plus the heap bytes requested;
//   block_bytes_per_leaf  the same with each heap request rounded up to the
//                         block a 64-bit glibc malloc hands out (16-byte
//                         steps, 8 bytes of bookkeeping, at least 32).
// Each benchmark runs once; its time is that of naming all the leaves.
#include <benchmark/benchmark.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "qx/tree/leaf.h"
#include "qx/tree/tree_item.h"

namespace {

std::atomic<size_t> g_liveBytes{0};
std::atomic<size_t> g_liveBlockBytes{0};

// Every block carries its requested size in front of it, so that delete
// can take it off the count. 16 bytes keep operator new's alignment.
constexpr size_t kHeader = 16;

size_t BlockBytes(size_t n) {
    size_t block = (n + 8 + 15) & ~size_t{15};
    return block < 32 ? 32 : block;
}

void* CountedAllocate(size_t n) {
    void* raw = std::malloc(n + kHeader);
    if (!raw) throw std::bad_alloc();
    *static_cast<size_t*>(raw) = n;
    g_liveBytes += n;
    g_liveBlockBytes += BlockBytes(n);
    return static_cast<char*>(raw) + kHeader;
}

void CountedRelease(void* p) noexcept {
    if (!p) return;
    void* raw = static_cast<char*>(p) - kHeader;
    size_t n = *static_cast<size_t*>(raw);
    g_liveBytes -= n;
    g_liveBlockBytes -= BlockBytes(n);
    std::free(raw);
}

}  // namespace

void* operator new(size_t n) { return CountedAllocate(n); }
void* operator new[](size_t n) { return CountedAllocate(n); }
void operator delete(void* p) noexcept { CountedRelease(p); }
void operator delete[](void* p) noexcept { CountedRelease(p); }
void operator delete(void* p, size_t) noexcept { CountedRelease(p); }
void operator delete[](void* p, size_t) noexcept { CountedRelease(p); }

namespace {

constexpr size_t kLeaves = 1'000'000;

// 50 names as the family's documents use them: 10 circuits x 5 quantities.
std::vector<std::wstring> Names() {
    const std::array<const wchar_t*, 10> circuits = {L"Vorlauf", L"Ruecklauf", L"Zuluft",    L"Abluft",
                                                     L"Kaltwasser", L"Warmwasser", L"Heizkreis", L"Kessel",
                                                     L"Pumpe",   L"Ventil"};
    const std::array<const wchar_t*, 5> quantities = {L"Temperatur", L"Druck", L"Volumenstrom", L"Nennweite",
                                                      L"Laenge"};
    std::vector<std::wstring> names;
    for (const wchar_t* c : circuits) {
        for (const wchar_t* q : quantities) names.push_back(std::wstring(c) + q);
    }
    return names;
}

struct HeapMark {
    size_t bytes = g_liveBytes;
    size_t blocks = g_liveBlockBytes;
};

void ReportPerLeaf(benchmark::State& state, const HeapMark& before, size_t heldPerLeaf) {
    HeapMark after;
    state.counters["bytes_per_leaf"] =
        static_cast<double>(heldPerLeaf) + static_cast<double>(after.bytes - before.bytes) / kLeaves;
    state.counters["block_bytes_per_leaf"] =
        static_cast<double>(heldPerLeaf) + static_cast<double>(after.blocks - before.blocks) / kLeaves;
    state.SetItemsProcessed(static_cast<int64_t>(kLeaves));
}

void BM_NameLeaves_Pool(benchmark::State& state) {
    const std::vector<std::wstring> names = Names();
    auto leaves = std::make_unique<CLeaf[]>(kLeaves);
    const size_t poolNamesBefore = qx::NamePoolSize();
    HeapMark before;
    for (auto _ : state) {
        for (size_t i = 0; i < kLeaves; ++i) leaves[i].SetName(names[i % names.size()].c_str());
    }
    // What each item holds for its name is the pointer into the pool.
    ReportPerLeaf(state, before, sizeof(const CString*));
    state.counters["pool_names"] = static_cast<double>(qx::NamePoolSize() - poolNamesBefore);
    state.counters["pool_bytes"] = static_cast<double>(qx::NamePoolBytes());
}
BENCHMARK(BM_NameLeaves_Pool)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_NameLeaves_Peer(benchmark::State& state) {
    const std::vector<std::wstring> names = Names();
    std::vector<std::wstring> peer;
    peer.reserve(kLeaves);
    HeapMark before;
    for (auto _ : state) {
        for (size_t i = 0; i < kLeaves; ++i) peer.emplace_back(names[i % names.size()]);
    }
    // The strings' own bodies sit in the reserved vector, as they would sit
    // in the items; only their heap parts are counted from the mark.
    ReportPerLeaf(state, before, sizeof(std::wstring));
}
BENCHMARK(BM_NameLeaves_Peer)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
