// Wildcard matching, per match of one text against one pattern, beside the
// C library's fnmatch(3) with FNM_CASEFOLD on the same texts and patterns
// (converted to narrow text beforehand, outside the timing). Both ignore
// case; the texts are ASCII, so both fold the same letters. fnmatch also
// knows brackets and backslash escapes, which the texts and patterns avoid.
//
// The label reports how many pairs matched, so that a disagreement between
// the two shows in the output.
#include <benchmark/benchmark.h>
#include <fnmatch.h>

#include <array>
#include <string>
#include <vector>

#include "qx/text/str_util.h"

namespace {

constexpr std::array<const wchar_t*, 8> kPatterns = {
    L"*.txt", L"Map_*.Region?", L"*heizung*vorlauf*.csv", L"data*", L"*_20??_*.pdf", L"report.txt", L"*", L"*a*b*c*",
};

// File names as the family's folders hold them.
std::vector<std::wstring> FileNames() {
    const wchar_t* stems[] = {L"Report", L"Map_DE", L"Map_AT", L"data", L"Heizung_Vorlauf", L"VDI3805_Teil",
                              L"Stueckliste_2023_Projekt", L"abc"};
    const wchar_t* extensions[] = {L".txt", L".TXT", L".csv", L".Region1", L".zip", L".pdf", L".Region12", L""};
    std::vector<std::wstring> names;
    for (int i = 0; i < 16; ++i) {
        for (const wchar_t* stem : stems) {
            for (const wchar_t* extension : extensions) names.push_back(stem + (L"_" + std::to_wstring(i)) + extension);
        }
    }
    return names;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

struct Workload {
    std::vector<std::wstring> texts;
    std::vector<std::wstring> patterns;
    std::vector<std::string> narrowTexts;
    std::vector<std::string> narrowPatterns;
};

Workload MakeWorkload(std::vector<std::wstring> texts, std::vector<std::wstring> patterns) {
    Workload w{std::move(texts), std::move(patterns), {}, {}};
    for (const auto& t : w.texts) w.narrowTexts.push_back(Narrow(t));
    for (const auto& p : w.patterns) w.narrowPatterns.push_back(Narrow(p));
    return w;
}

const Workload& FileNameWorkload() {
    static const Workload w = MakeWorkload(FileNames(), {kPatterns.begin(), kPatterns.end()});
    return w;
}

// The pattern that makes a matcher which backtracks into every star take
// exponential time, against a run of a's of the benchmark's length.
Workload ManyStarsWorkload(int length) {
    return MakeWorkload({std::wstring(static_cast<size_t>(length), L'a')}, {L"a*a*a*a*a*a*a*a*a*a*a*b"});
}

void RunQx(benchmark::State& state, const Workload& w) {
    long matches = 0;
    for (auto _ : state) {
        matches = 0;
        for (const auto& p : w.patterns) {
            for (const auto& t : w.texts) matches += qxStrUtil::MatchesWildcardPattern(t.c_str(), p.c_str(), 0);
        }
        benchmark::DoNotOptimize(matches);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(w.texts.size() * w.patterns.size()));
    state.SetLabel("matches=" + std::to_string(matches));
}

void RunFnmatch(benchmark::State& state, const Workload& w) {
    long matches = 0;
    for (auto _ : state) {
        matches = 0;
        for (const auto& p : w.narrowPatterns) {
            for (const auto& t : w.narrowTexts) matches += fnmatch(p.c_str(), t.c_str(), FNM_CASEFOLD) == 0;
        }
        benchmark::DoNotOptimize(matches);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(w.texts.size() * w.patterns.size()));
    state.SetLabel("matches=" + std::to_string(matches));
}

void BM_WildcardFileNames(benchmark::State& state) { RunQx(state, FileNameWorkload()); }
BENCHMARK(BM_WildcardFileNames);

void BM_Peer_FnmatchFileNames(benchmark::State& state) { RunFnmatch(state, FileNameWorkload()); }
BENCHMARK(BM_Peer_FnmatchFileNames);

void BM_WildcardManyStars(benchmark::State& state) { RunQx(state, ManyStarsWorkload(static_cast<int>(state.range(0)))); }
BENCHMARK(BM_WildcardManyStars)->Arg(1000);

void BM_Peer_FnmatchManyStars(benchmark::State& state) {
    RunFnmatch(state, ManyStarsWorkload(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_Peer_FnmatchManyStars)->Arg(1000);

}  // namespace
