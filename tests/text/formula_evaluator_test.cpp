#include "qx/text/formula_evaluator.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "qx/message/message_table.h"
#include "qx/text/formula_state.h"
#include "qx/text/num_string.h"
#include "tests/text/formula_fixture.h"

namespace {

using qx::test::Evaluation;
using qx::test::FormulaTest;

const std::wstring kSyntax = L"Syntaxfehler";
const std::wstring kParenthesis = L"Klammer nicht geschlossen";
const std::wstring kDivision = L"Division durch 0";

std::wstring Repeat(const std::wstring& text, int count) {
    std::wstring out;
    for (int i = 0; i < count; ++i) out += text;
    return out;
}

TEST_F(FormulaTest, Values) {
    struct Case {
        const char* name;
        std::wstring formula;
        double want;
    } cases[] = {
        {"comma decimal in parentheses", L"2*(3,5+1)", 9},
        {"comma", L"1,5", 1.5},
        {"point", L"1.5", 1.5},
        {"leading point", L".5", 0.5},
        {"leading comma", L",5+1", 1.5},
        {"second point ends the number", L"1.2.3", 1.2},
        {"x ends a decimal number", L"1x5", 1},
        {"inner white space", L" 1 +\t2\r", 3},
        {"division", L"10/4", 2.5},
        {"power", L"2^3", 8},
        {"sign binds tighter than power", L"-2^2", 4},
        {"negative exponent", L"2^-1", 0.5},
        {"times before plus", L"1+2*3", 7},
        {"power before times", L"2*3^2", 18},
        {"minus left to right", L"1-2-3", -4},
        {"division left to right", L"8/4/2", 1},
        {"parentheses", L"(1+2)*3", 9},
        {"double minus", L"--3", 3},
        {"plus then minus", L"+-3", -3},
        {"or", L"5|2", 7},
        {"or cuts toward zero", L"5,9|2,9", 7},
        {"or of a negative", L"-5,5|0", -5},
        {"or below times", L"1|2*4", 9},
        {"or left to right with minus", L"6|1-2", 5},
        {"or saturates", L"99999999999|0", 2147483647},
        {"trailing plus counts 1", L"2+", 3},
        {"trailing times counts 1", L"2*", 2},
        {"sin", L"sin(0)", 0},
        {"SIN", L"SIN(0)", 0},
        {"cos", L"Cos(0)", 1},
        {"tan", L"tAN(0)", 0},
        {"radians", L"sin(3.141592653589793/2)", 1},
        {"function of an expression", L"2*cos(1-1)+1", 3},
        {"sin after a term", L"2 SIN 0", 0},
        {"sin after a term takes a power", L"3 sin 0^2 + 1", 1},
        {"hexadecimal", L"0x10", 16},
        {"upper-case X", L"0X10+1", 17},
        {"hexadecimal is unsigned", L"0x99999999", 2576980377.0},
        {"hexadecimal wraps at 32 bits", L"0x123456789", 0x23456789},
        {"x inside a hexadecimal run counts after A", L"0x1x", 16 + 33},
        {"a second zero makes it decimal", L"00x5", 0},
        {"29 characters of a number count", L"1" + std::wstring(40, L'0'), 1e28},
        {"29 characters of a hexadecimal run count", L"0x" + std::wstring(26, L'0') + L"11", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Evaluation e = Evaluate(c.formula);
        EXPECT_TRUE(e.ok);
        EXPECT_DOUBLE_EQ(e.value, c.want);
        EXPECT_TRUE(e.messages.empty());
    }
}

TEST_F(FormulaTest, ErrorsReportTheirMessageAndFail) {
    struct Case {
        const char* name;
        std::wstring formula;
        std::vector<std::wstring> errors;
    } cases[] = {
        {"second power", L"2^3^2", {kSyntax}},
        {"semicolon", L"3;4", {kSyntax}},
        {"two numbers", L"3 4", {kSyntax}},
        {"line feed", L"3\n4", {kSyntax}},
        {"unknown name", L"abc", {kSyntax}},
        {"no exponents", L"1e5", {kSyntax}},
        {"hexadecimal letters are a name", L"0x1F", {kSyntax}},
        {"lone point", L".", {kSyntax}},
        {"stray character", L"2*#", {kSyntax}},
        {"closing parenthesis first", L")", {kSyntax}},
        {"function without parenthesis", L"sin 0", {kSyntax}},
        {"cos after a term", L"2 cos(0)", {kSyntax}},
        {"unclosed parenthesis", L"(1+2", {kParenthesis}},
        {"unclosed function", L"sin(0", {kParenthesis}},
        {"parenthesis closed by a number", L"(1+2 3)", {kParenthesis}},
        {"division by zero", L"1/0", {kDivision}},
        {"divisor evaluates to zero", L"1/(2-2)", {kDivision}},
        {"each error is reported", L"1/0+1/0", {kDivision, kDivision}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Evaluation e = Evaluate(c.formula);
        EXPECT_FALSE(e.ok);
        EXPECT_EQ(e.value, 0.0);
        std::vector<std::wstring> want;
        for (const std::wstring& error : c.errors) want.push_back(Message(error, c.formula));
        EXPECT_EQ(e.messages, want);
        EXPECT_EQ(e.errorsCounted, c.errors.size());
    }
}

TEST_F(FormulaTest, EmptyTextFailsWithoutMessage) {
    Evaluation e = Evaluate(L"");
    EXPECT_FALSE(e.ok);
    EXPECT_TRUE(e.messages.empty());
    EXPECT_EQ(e.errorsCounted, 0u);
}

TEST_F(FormulaTest, MessagesAreTranslatedBeforeTheLineIsFormatted) {
    qx::ReplaceMessageTable({{L"Syntaxfehler", L"Syntax error"}, {L"in Zeile: %d", L"@Formel@in line %d"}});
    Evaluation e = Evaluate(L"3;4");
    EXPECT_EQ(e.messages, std::vector<std::wstring>{L"Syntax error\r\nin line 1\r\n3;4"});
}

TEST_F(FormulaTest, QuietNestsAndStillCounts) {
    CNumString::Quiet(1);
    CNumString::Quiet(1);
    CNumString::Quiet(0);
    Evaluation e = Evaluate(L"1/0");
    EXPECT_TRUE(e.messages.empty());
    EXPECT_EQ(e.errorsCounted, 1u);
    EXPECT_FALSE(e.ok);

    CNumString::Quiet(0);
    EXPECT_EQ(Evaluate(L"1/0").messages.size(), 1u);
    // A "quiet off" too many must not silence later messages.
    CNumString::Quiet(0);
    EXPECT_EQ(Evaluate(L"1/0").messages.size(), 1u);
}

// Records what it is given; with *count* it also calls the default, which
// counts the error.
class RecordingFormula : public CNumString {
public:
    explicit RecordingFormula(bool count) : count_(count) {}
    void ErrorPrint(const CString& message) override {
        seen.emplace_back(message.str());
        if (count_) CNumString::ErrorPrint(message);
    }
    int examineVariables(double& value, const wchar_t* name) override {
        if (std::wstring(name) != L"L") return 0;
        value = 2.5;
        return 1;
    }
    std::vector<std::wstring> seen;

private:
    bool count_;
};

TEST_F(FormulaTest, OverriddenOperations) {
    RecordingFormula counting(true);
    Evaluation e = Evaluate(L"L*2", counting);
    EXPECT_TRUE(e.ok);
    EXPECT_EQ(e.value, 5);

    e = Evaluate(L"L/0", counting);
    EXPECT_FALSE(e.ok);
    EXPECT_EQ(counting.seen, std::vector<std::wstring>{Message(kDivision, L"L/0")});
    EXPECT_EQ(e.messages.size(), 1u);

    // An override that does not count makes the evaluation succeed, with 59
    // for the erroneous part: the family's contract for ErrorPrint.
    RecordingFormula silent(false);
    e = Evaluate(L"1/0", silent);
    EXPECT_TRUE(e.ok);
    EXPECT_EQ(e.value, 59);
    EXPECT_EQ(silent.seen.size(), 1u);
    EXPECT_TRUE(e.messages.empty());
}

TEST_F(FormulaTest, TextMacros) {
    CNumString::DefineMacro(L"A", L"2*B");
    CNumString::DefineMacro(L"B", L"3");
    CNumString::DefineMacro(L"a", L"100");
    CNumString::DefineMacro(L"EMPTY", L"");
    CNumString::DefineMacro(std::wstring(260, L'n').c_str(), L"5");
    CNumString::DefineMacro(L"Länge", L"4");
    struct Case {
        const char* name;
        std::wstring formula;
        double want;
    } cases[] = {
        {"macro through macro", L"A+1", 7},
        {"names are case-sensitive", L"a", 100},
        {"empty macro text gives 0", L"EMPTY+2", 2},
        {"260 characters of a name count", std::wstring(300, L'n'), 5},
        {"non-ASCII letters", L"Länge*2", 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Evaluation e = Evaluate(c.formula);
        EXPECT_TRUE(e.ok);
        EXPECT_EQ(e.value, c.want);
    }

    CNumString::deleteContents();
    EXPECT_FALSE(Evaluate(L"A+1").ok);
}

int FillFour(const CString& name, CString& text) {
    if (name != L"X") return 0;
    text = L"4";
    return 1;
}

int Decline(const CString&, CString&) { return 0; }

TEST_F(FormulaTest, CallbackMacrosComeBeforeTextMacros) {
    CNumString::DefineMacro(L"X", L"1");
    CNumString::DefineMacro(L"Y", L"1");
    CNumString::DefineMacro(L"X", FillFour);
    CNumString::DefineMacro(L"Y", Decline);
    EXPECT_EQ(Evaluate(L"X*2").value, 8);
    EXPECT_EQ(Evaluate(L"Y*2").value, 2);  // a declining callback leaves the text macro

    CNumString::DefineMacro(L"X", static_cast<int (*)(const CString&, CString&)>(nullptr));
    EXPECT_EQ(Evaluate(L"X*2").value, 2);  // a null callback removes it
}

TEST_F(FormulaTest, MacroTextsSeeNoVariablesAndReportThemselves) {
    CNumString::DefineMacro(L"M", L"L+1");
    CNumString::DefineMacro(L"D", L"1/0");
    RecordingFormula formula(true);
    Evaluation e = Evaluate(L"M", formula);
    EXPECT_FALSE(e.ok);
    EXPECT_EQ(e.messages, std::vector<std::wstring>{Message(kSyntax, L"L+1")});
    EXPECT_TRUE(formula.seen.empty());  // the default ErrorPrint reported it

    e = Evaluate(L"D+1", formula);
    EXPECT_FALSE(e.ok);
    EXPECT_EQ(e.messages, std::vector<std::wstring>{Message(kDivision, L"1/0")});
}

int RedefineWhileInUse(const CString&, CString& text) {
    CNumString::DefineMacro(L"A", L"100");
    text = L"2";
    return 1;
}

TEST_F(FormulaTest, MacroRedefinedDuringItsOwnEvaluation) {
    CNumString::DefineMacro(L"A", L"B+1");
    CNumString::DefineMacro(L"B", RedefineWhileInUse);
    EXPECT_EQ(Evaluate(L"A").value, 3);
    EXPECT_EQ(Evaluate(L"A").value, 100);
}

int NameItself(const CString& name, CString& text) {
    text = name;
    return 1;
}

TEST_F(FormulaTest, SelfReferringMacrosFailWithOneSyntaxError) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::wstring, std::wstring>> macros;
        std::wstring formula;
    } cases[] = {
        {"direct", {{L"A", L"A+1"}}, L"A"},
        {"through another", {{L"A", L"B*2"}, {L"B", L"(A)"}}, L"1+A"},
        {"twice per level", {{L"A", L"A+A"}}, L"A"},
        {"callback", {}, L"C"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        qx::FormulaState::Instance().Reset();
        for (const auto& [name, text] : c.macros) CNumString::DefineMacro(name.c_str(), text.c_str());
        CNumString::DefineMacro(L"C", NameItself);
        Evaluation e = Evaluate(c.formula);
        EXPECT_FALSE(e.ok);
        EXPECT_EQ(e.messages, std::vector<std::wstring>{Message(kSyntax, c.formula)});
        EXPECT_EQ(e.errorsCounted, 1u);
    }
}

TEST_F(FormulaTest, MacroDepthLimit) {
    // M0 refers to M1 ... the last one is "1": a chain of kMaxMacroDepth
    // macros evaluates, one more fails.
    auto defineChain = [](int length) {
        qx::FormulaState::Instance().Reset();
        for (int i = 0; i < length; ++i) {
            std::wstring text = i + 1 < length ? L"M" + std::to_wstring(i + 1) : L"1";
            CNumString::DefineMacro((L"M" + std::to_wstring(i)).c_str(), text.c_str());
        }
    };
    defineChain(qx::kMaxMacroDepth);
    EXPECT_TRUE(Evaluate(L"M0").ok);
    defineChain(qx::kMaxMacroDepth + 1);
    EXPECT_FALSE(Evaluate(L"M0").ok);
}

TEST_F(FormulaTest, MacroEvaluationLimit) {
    // D0 names D1 twice, D1 names D2 twice ... the last one is "1": a chain
    // of n doublings evaluates 2^(n+1)-1 macro texts.
    auto defineDoublings = [](int n) {
        qx::FormulaState::Instance().Reset();
        for (int i = 0; i < n; ++i) {
            std::wstring next = L"D" + std::to_wstring(i + 1);
            CNumString::DefineMacro((L"D" + std::to_wstring(i)).c_str(), (next + L"+" + next).c_str());
        }
        CNumString::DefineMacro((L"D" + std::to_wstring(n)).c_str(), L"1");
    };
    defineDoublings(15);
    Evaluation e = Evaluate(L"D0");
    EXPECT_TRUE(e.ok);
    EXPECT_EQ(e.value, 32768);

    defineDoublings(40);  // would take hours
    e = Evaluate(L"D0");
    EXPECT_FALSE(e.ok);
    EXPECT_EQ(e.messages, std::vector<std::wstring>{Message(kSyntax, L"D0")});
}

TEST_F(FormulaTest, NestingLimit) {
    const int limit = qx::kMaxNesting;
    struct Case {
        const char* name;
        std::wstring formula;
        bool ok;
    } cases[] = {
        {"parentheses within the limit", Repeat(L"(", limit - 1) + L"1" + Repeat(L")", limit - 1), true},
        {"parentheses beyond the limit", Repeat(L"(", limit) + L"1" + Repeat(L")", limit), false},
        {"deep parentheses", Repeat(L"(", 100000) + L"1", false},
        {"deep signs", Repeat(L"-", 100000) + L"1", false},
        {"deep functions", Repeat(L"sin(", 100000) + L"1", false},
        {"deep powers", Repeat(L"2^(", 100000) + L"1", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Evaluation e = Evaluate(c.formula);
        EXPECT_EQ(e.ok, c.ok);
        if (c.ok) {
            EXPECT_EQ(e.value, 1);
            EXPECT_TRUE(e.messages.empty());
        } else {
            EXPECT_EQ(e.messages, std::vector<std::wstring>{Message(kSyntax, c.formula)});
        }
    }
}

TEST_F(FormulaTest, LimitsFailEvenWhenErrorPrintDoesNotCount) {
    RecordingFormula silent(false);
    Evaluation e = Evaluate(Repeat(L"(", 1000) + L"1", silent);
    EXPECT_FALSE(e.ok);
    EXPECT_EQ(silent.seen.size(), 1u);
}

TEST(CutToIntTest, SaturatesAndCutsTowardZero) {
    struct Case {
        double value;
        int want;
    } cases[] = {
        {2.9, 2},
        {-2.9, -2},
        {2147483647.9, 2147483647},
        {2147483648.0, 2147483647},
        {1e300, 2147483647},
        {-2147483648.9, -2147483647 - 1},
        {-1e300, -2147483647 - 1},
        {std::numeric_limits<double>::infinity(), 2147483647},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(qx::CutToInt(c.value), c.want);
    }
}

}  // namespace
