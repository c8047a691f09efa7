// Building and reading packed value lists, per value. Items are values
// (AddEnd: lists), so the reported items/s give the cost of one value.
//
// The peers split the same list text with std::wstring_view::find and
// convert with std::wcstod: what a caller would write by hand without
// escapes, without the ≈ marker and without rounding. They run in the same
// program so that the ratio does not depend on the machine's mood.
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cwchar>
#include <string>
#include <string_view>

#include "qx/text/sub_str.h"

namespace {

constexpr std::array<const wchar_t*, 8> kShortValues = {L"12.5", L"Rohr", L"DN50", L"0",
                                                        L"1",    L"Stahl", L"3.75", L"A"};
// Each needs escaping: a colon, a line end, both.
constexpr std::array<const wchar_t*, 4> kEscapedValues = {L"Heizung: Vorlauf", L"Zeile 1\r\nZeile 2", L"10:30",
                                                          L"a:b\nc"};
constexpr std::array<const wchar_t*, 8> kNumberValues = {L"12.5", L"0.125", L"3,75", L"1e-3",
                                                         L"1500", L"-0.5",  L"7",    L"2.000001"};

template <size_t N>
CString BuildList(const std::array<const wchar_t*, N>& values, int count) {
    CQxSubStr builder;
    builder.AddInit(L':');
    for (int i = 0; i < count; ++i) builder.Add(values[static_cast<size_t>(i) % N]);
    CString list;
    builder.AddEnd(list);
    return list;
}

template <size_t N>
void BuildLists(benchmark::State& state, const std::array<const wchar_t*, N>& values) {
    const int count = static_cast<int>(state.range(0));
    CQxSubStr builder;
    CString list;
    for (auto _ : state) {
        builder.AddInit(L':');
        for (int i = 0; i < count; ++i) builder.Add(values[static_cast<size_t>(i) % N]);
        builder.AddEnd(list);
        benchmark::DoNotOptimize(list.GetString());
    }
    state.SetItemsProcessed(state.iterations() * count);
}

void BM_AddShort(benchmark::State& state) { BuildLists(state, kShortValues); }
BENCHMARK(BM_AddShort)->Arg(8)->Arg(64);

void BM_AddEscaped(benchmark::State& state) { BuildLists(state, kEscapedValues); }
BENCHMARK(BM_AddEscaped)->Arg(64);

// AddEnd alone, timed by hand around the call: it copies the whole list out
// of the shared build buffer, so its cost grows with the list.
void BM_AddEnd(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    CQxSubStr builder;
    CString list;
    for (auto _ : state) {
        builder.AddInit(L':');
        for (int i = 0; i < count; ++i) builder.Add(kShortValues[static_cast<size_t>(i) % kShortValues.size()]);
        auto start = std::chrono::steady_clock::now();
        builder.AddEnd(list);
        auto stop = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(list.GetString());
        state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("items are lists");
}
BENCHMARK(BM_AddEnd)->Arg(8)->Arg(64)->UseManualTime();

void ReadTexts(benchmark::State& state, const CString& list) {
    const int count = static_cast<int>(state.range(0));
    CQxSubStr reader;
    CString value;
    for (auto _ : state) {
        reader.GetInit(list, L':');
        for (int i = 0; i < count; ++i) reader.Get(value);
        benchmark::DoNotOptimize(value.GetString());
    }
    state.SetItemsProcessed(state.iterations() * count);
}

void BM_GetText(benchmark::State& state) {
    ReadTexts(state, BuildList(kShortValues, static_cast<int>(state.range(0))));
}
BENCHMARK(BM_GetText)->Arg(64);

void BM_GetEscaped(benchmark::State& state) {
    ReadTexts(state, BuildList(kEscapedValues, static_cast<int>(state.range(0))));
}
BENCHMARK(BM_GetEscaped)->Arg(64);

void BM_GetDouble(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const CString list = BuildList(kNumberValues, count);
    CQxSubStr reader;
    double value = 0;
    for (auto _ : state) {
        reader.GetInit(list, L':');
        for (int i = 0; i < count; ++i) reader.Get(value, true);
        benchmark::DoNotOptimize(value);
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_GetDouble)->Arg(64);

// Calls *use* with each ':'-separated piece of *list*.
template <typename Use>
void SplitByColon(std::wstring_view list, Use use) {
    for (size_t start = 0;;) {
        size_t end = list.find(L':', start);
        use(list.substr(start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start));
        if (end == std::wstring_view::npos) return;
        start = end + 1;
    }
}

void BM_Peer_SplitText(benchmark::State& state) {
    const CString list = BuildList(kShortValues, static_cast<int>(state.range(0)));
    std::wstring value;
    for (auto _ : state) {
        SplitByColon(list.str(), [&](std::wstring_view piece) { value.assign(piece); });
        benchmark::DoNotOptimize(value.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Peer_SplitText)->Arg(64);

void BM_Peer_SplitDouble(benchmark::State& state) {
    const CString list = BuildList(kNumberValues, static_cast<int>(state.range(0)));
    std::wstring value;
    double number = 0;
    for (auto _ : state) {
        SplitByColon(list.str(), [&](std::wstring_view piece) {
            value.assign(piece);
            for (wchar_t& c : value) {
                if (c == L',') c = L'.';
            }
            number = std::wcstod(value.c_str(), nullptr);
        });
        benchmark::DoNotOptimize(number);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Peer_SplitDouble)->Arg(64);

}  // namespace
