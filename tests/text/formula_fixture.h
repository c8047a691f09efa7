// A clean formula state (no macros, not quiet, an empty message table) and
// a message handler that keeps every message box text instead of showing it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qx/message/message_table.h"
#include "qx/platform/wnd/message_box.h"
#include "qx/text/formula_evaluator.h"
#include "qx/text/formula_state.h"
#include "qx/text/num_string.h"

namespace qx::test {

struct Evaluation {
    bool ok;
    double value;
    std::vector<std::wstring> messages;  // shown during the evaluation
    unsigned long long errorsCounted;
};

class FormulaTest : public testing::Test {
protected:
    void SetUp() override {
        FormulaState::Instance().Reset();
        ClearMessageTable();
    }
    void TearDown() override {
        FormulaState::Instance().Reset();
        ClearMessageTable();
    }

    // Evaluates *formula* as it stands (not trimmed) with *owner*'s
    // operations.
    Evaluation Evaluate(const std::wstring& formula, CNumString& owner) {
        static_cast<CString&>(owner) = formula.c_str();
        messages.clear();
        const unsigned long long before = FormulaState::Instance().ErrorCount();
        Evaluation e{};
        e.ok = EvaluateFormula(owner, e.value);
        e.messages = messages;
        e.errorsCounted = FormulaState::Instance().ErrorCount() - before;
        return e;
    }
    Evaluation Evaluate(const std::wstring& formula) {
        CNumString plain;
        return Evaluate(formula, plain);
    }

    // The message box text of *error* in *formula*.
    static std::wstring Message(const std::wstring& error, const std::wstring& formula) {
        return error + L"\r\nin Zeile: 1\r\n" + formula;
    }

    std::vector<std::wstring> messages;
    ScopedMessageHandler handler{[this](const wchar_t* text, const wchar_t*, unsigned) {
        messages.emplace_back(text);
        return IDOK;
    }};
};

}  // namespace qx::test
