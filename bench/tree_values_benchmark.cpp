// Leaf values by path on a tree of 100,000 leaves: 1,000 nodes "Group<n>"
// under the root, 100 leaves "Value<n>" in each, every leaf a list of five
// numbers. Items are look-ups.
//
// A look-up scans the root's children for the path component and then the
// node's leaves for the name, one comparison each (the family's trees keep
// their order and allow repeated names, so there is no index). "First" and
// "Last" bound the cost; "Spread" visits nodes, leaves and value positions
// evenly, which is what a typical look-up in a tree this size costs.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "qx/platform/base/format.h"
#include "qx/tree/node.h"

namespace {

constexpr int kNodes = 1000;
constexpr int kLeavesPerNode = 100;
constexpr int kValuesPerLeaf = 5;

CNode& Tree() {
    static CNode* root = [] {
        auto* tree = new CNode(L"Root");
        for (int n = 0; n < kNodes; ++n) {
            CNode* node = tree->AddChild(qx::Format(L"Group%d", n).c_str());
            for (int l = 0; l < kLeavesPerNode; ++l) {
                node->AddLeaf(qx::Format(L"Value%d", l).c_str(), L"1.5:2.5:3.5:4.5:5.5", true);
            }
        }
        return tree;
    }();
    return *root;
}

struct Lookup {
    CString path;
    CString leaf;
    int index;
};

enum Placement { kFirst, kSpread, kLast };

Lookup MakeLookup(int node, int leaf, int index) {
    return {qx::Format(L"Group%d\\", node), qx::Format(L"Value%d", leaf), index};
}

// Look-ups cycled through by the benchmarks; Spread draws nodes, leaves and
// indexes from a fixed pseudo-random sequence, so every run sees the same.
std::vector<Lookup> Lookups(Placement placement) {
    switch (placement) {
        case kFirst: return {MakeLookup(0, 0, 1)};
        case kLast: return {MakeLookup(kNodes - 1, kLeavesPerNode - 1, kValuesPerLeaf)};
        case kSpread: break;
    }
    std::vector<Lookup> lookups;
    uint32_t seed = 12345;
    auto next = [&seed](int bound) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<uint32_t>(bound));
    };
    for (int i = 0; i < 4096; ++i) {
        int node = next(kNodes);
        int leaf = next(kLeavesPerNode);
        lookups.push_back(MakeLookup(node, leaf, 1 + next(kValuesPerLeaf)));
    }
    return lookups;
}

const char* PlacementLabel(Placement placement) {
    switch (placement) {
        case kFirst: return "first leaf of the first node";
        case kLast: return "last leaf of the last node";
        case kSpread: break;
    }
    return "spread over the tree";
}

void BM_GetStrLeafValue(benchmark::State& state) {
    auto placement = static_cast<Placement>(state.range(0));
    CNode& tree = Tree();
    const std::vector<Lookup> lookups = Lookups(placement);
    size_t i = 0;
    for (auto _ : state) {
        const Lookup& l = lookups[i++ % lookups.size()];
        CString value = tree.GetStrLeafValue(l.path, l.leaf, l.index);
        benchmark::DoNotOptimize(value.GetString());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(PlacementLabel(placement));
}
BENCHMARK(BM_GetStrLeafValue)->Arg(kFirst)->Arg(kSpread)->Arg(kLast);

void BM_SetStrLeafValue(benchmark::State& state) {
    auto placement = static_cast<Placement>(state.range(0));
    CNode& tree = Tree();
    const std::vector<Lookup> lookups = Lookups(placement);
    size_t i = 0;
    for (auto _ : state) {
        const Lookup& l = lookups[i++ % lookups.size()];
        // Same width as the values it replaces, so the tree stays as built.
        benchmark::DoNotOptimize(tree.SetStrLeafValue(l.path, l.leaf, l.index, L"9.5"));
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(PlacementLabel(placement));
}
BENCHMARK(BM_SetStrLeafValue)->Arg(kFirst)->Arg(kSpread)->Arg(kLast);

}  // namespace
