// Formulas of numeric input fields evaluated once from their text, as a
// dialog does when the user leaves a field, per formula (items are
// formulas).
//
// The peer is muParser doing the same job: one parser object, kept between
// formulas as a caller would keep it, given the text (SetExpr) and asked for
// the value (Eval), which parses the text into its byte code. The formulas
// are the same up to the decimal separator (muParser reads only the point)
// and the names: macros here, muParser variables there.
#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include <muParser.h>

#include "qx/text/formula_state.h"
#include "qx/text/num_string.h"

namespace {

struct Formula {
    const char* label;
    const wchar_t* text;   // as a user types it
    const char* peerText;  // the same for muParser
};

constexpr std::array<Formula, 8> kFormulas = {{
    {"plain number", L"9", "9"},
    {"decimal comma", L"12,5", "12.5"},
    {"parentheses", L"2*(3,5+1)", "2*(3.5+1)"},
    {"four operators", L"1500/4-25+3*2", "1500/4-25+3*2"},
    {"power", L"3,14159*0,25^2/4", "3.14159*0.25^2/4"},
    {"nested", L"(1,2+0,8)*(2,5-0,5)/(3+1)", "(1.2+0.8)*(2.5-0.5)/(3+1)"},
    {"functions", L"sin(0,5)+cos(0,5)", "sin(0.5)+cos(0.5)"},
    {"names", L"L*B*H+L", "L*B*H+L"},
}};

void DefineNames() {
    qx::FormulaState::Instance().Reset();
    CNumString::DefineMacro(L"L", L"2,5");
    CNumString::DefineMacro(L"B", L"1,2");
    CNumString::DefineMacro(L"H", L"0,8");
}

struct PeerVariables {
    double l = 2.5, b = 1.2, h = 0.8;
};

void DefineNames(mu::Parser& parser, PeerVariables& v) {
    parser.DefineVar("L", &v.l);
    parser.DefineVar("B", &v.b);
    parser.DefineVar("H", &v.h);
}

double EvaluateOnce(CNumString& field, const wchar_t* text) {
    field = text;
    return field.Value();
}

// Every formula in turn.
void BM_FormulaMix(benchmark::State& state) {
    DefineNames();
    CNumString field;
    for (auto _ : state) {
        for (const Formula& f : kFormulas) benchmark::DoNotOptimize(EvaluateOnce(field, f.text));
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kFormulas.size()));
}
BENCHMARK(BM_FormulaMix);

void BM_Peer_MuParserMix(benchmark::State& state) {
    mu::Parser parser;
    PeerVariables variables;
    DefineNames(parser, variables);
    for (auto _ : state) {
        for (const Formula& f : kFormulas) {
            parser.SetExpr(f.peerText);
            benchmark::DoNotOptimize(parser.Eval());
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kFormulas.size()));
}
BENCHMARK(BM_Peer_MuParserMix);

// One formula, chosen by the argument.
void BM_Formula(benchmark::State& state) {
    DefineNames();
    const Formula& f = kFormulas[static_cast<size_t>(state.range(0))];
    CNumString field;
    for (auto _ : state) benchmark::DoNotOptimize(EvaluateOnce(field, f.text));
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(f.label);
}
BENCHMARK(BM_Formula)->DenseRange(0, kFormulas.size() - 1);

void BM_Peer_MuParser(benchmark::State& state) {
    const Formula& f = kFormulas[static_cast<size_t>(state.range(0))];
    mu::Parser parser;
    PeerVariables variables;
    DefineNames(parser, variables);
    for (auto _ : state) {
        parser.SetExpr(f.peerText);
        benchmark::DoNotOptimize(parser.Eval());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(f.label);
}
BENCHMARK(BM_Peer_MuParser)->DenseRange(0, kFormulas.size() - 1);

}  // namespace
