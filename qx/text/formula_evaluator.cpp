#include "qx/text/formula_evaluator.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "qx/message/message_table.h"
#include "qx/platform/base/ascii.h"
#include "qx/platform/base/format.h"
#include "qx/platform/base/unicode.h"
#include "qx/text/formula_state.h"
#include "qx/text/num_string.h"

namespace qx {
namespace {

constexpr size_t kMaxNumberLength = 29;
constexpr size_t kMaxNameLength = 260;
constexpr double kErrorValue = 59.0;  // what an erroneous part of a formula counts as
constexpr int kLineNumber = 1;        // a formula is one line

// German 8-bit texts, translated before they are shown.
constexpr const char* kSyntaxError = "Syntaxfehler";
constexpr const char* kOpenParenthesis = "Klammer nicht geschlossen";
constexpr const char* kDivisionByZero = "Division durch 0";
constexpr const char* kInLine = "in Zeile: %d";

enum class Token { End, Number, Plus, Minus, Times, Divide, Open, Close, Power, Or, Sin, Cos, Tan, Separator };

// Shared by an evaluation and the macro evaluations it starts, so that the
// limits hold for the whole chain.
struct Budget {
    int macroDepth = 0;
    int nesting = 0;
    int macroEvaluations = 0;
};

// Thrown when a limit is passed; caught where the evaluation began.
struct LimitExceeded {};

class NestingGuard {
public:
    explicit NestingGuard(Budget& budget) : budget_(budget) {
        if (budget_.nesting >= kMaxNesting) throw LimitExceeded{};
        ++budget_.nesting;
    }
    ~NestingGuard() { --budget_.nesting; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

private:
    Budget& budget_;
};

// White space other than the line feed, which separates like ';'.
bool IsSkippedSpace(wchar_t c) {
    if (c == L' ' || c == L'\t' || c == L'\r' || c == L'\v' || c == L'\f') return true;
    return c >= 0x80 && IsSpace(c);
}

bool IsNumberChar(wchar_t c) { return IsAsciiDigit(c) || c == L'.' || c == L',' || c == L'x' || c == L'X'; }

// Non-ASCII characters other than spaces count as letters, so that names
// such as "Länge" or "Maß" work; a name resolves only to macros and
// variables the application chose, so nothing else can match them.
bool IsNameChar(wchar_t c) {
    if (c < 0x80) return IsAsciiDigit(c) || IsAsciiLetter(c) || c == L'_';
    return !IsSpace(c);
}

// Each character of a hexadecimal run: digits by their value, any other
// character (x, X, the point) by its position after A, wrapping as the
// unsigned 32-bit sum does.
std::uint32_t HexValue(wchar_t c) {
    if (IsAsciiDigit(c)) return static_cast<std::uint32_t>(c - L'0');
    const wchar_t upper = c == L',' ? L'.' : AsciiUpper(c);
    return static_cast<std::uint32_t>(upper) - static_cast<std::uint32_t>(L'A') + 10u;
}

// SIN, COS and TAN in any case; nothing for other names.
std::optional<Token> FunctionToken(std::wstring_view name) {
    if (name.size() != 3) return std::nullopt;
    const wchar_t upper[3] = {AsciiUpper(name[0]), AsciiUpper(name[1]), AsciiUpper(name[2])};
    const std::wstring_view word(upper, 3);
    if (word == L"SIN") return Token::Sin;
    if (word == L"COS") return Token::Cos;
    if (word == L"TAN") return Token::Tan;
    return std::nullopt;
}

// Hands the message for *error* in *formula* to the owner's ErrorPrint, or
// to the default one when the formula is a macro's text.
void Report(CNumString* owner, const wchar_t* formula, const char* error) {
    CString message(TranslateMessage(error));
    message += L"\r\n";
    message += CString(Format(TranslateMessage(kInLine), kLineNumber));
    message += L"\r\n";
    message += formula;
    if (owner) owner->ErrorPrint(message);
    else FormulaState::Instance().ReportError(message);
}

// One recursive-descent pass over one formula text. The cursor and the
// current token are the evaluator's own, so macro evaluations nest without
// saving and restoring anything.
class Evaluator {
public:
    // *owner* is null for a macro's text: then no variables resolve and
    // errors go to the default ErrorPrint.
    Evaluator(const wchar_t* text, CNumString* owner, Budget& budget)
        : text_(text), cursor_(text), owner_(owner), budget_(budget) {}

    // The value of the whole text; false when an error was counted or the
    // text did not end where the expression did.
    bool Run(double& result) {
        const FormulaState& state = FormulaState::Instance();
        const unsigned long long errorsBefore = state.ErrorCount();
        Next();
        const double value = Expression();
        if (state.ErrorCount() != errorsBefore) return false;
        if (token_ != Token::End) {
            Fail(kSyntaxError);
            return false;
        }
        result = value;
        return true;
    }

private:
    void Next() {
        while (IsSkippedSpace(*cursor_)) ++cursor_;
        const wchar_t c = *cursor_;
        switch (c) {
            case 0: token_ = Token::End; return;
            case L'+': token_ = Token::Plus; break;
            case L'-': token_ = Token::Minus; break;
            case L'*': token_ = Token::Times; break;
            case L'/': token_ = Token::Divide; break;
            case L'(': token_ = Token::Open; break;
            case L')': token_ = Token::Close; break;
            case L'^': token_ = Token::Power; break;
            case L'|': token_ = Token::Or; break;
            default:
                if (IsAsciiDigit(c) || ((c == L'.' || c == L',') && IsAsciiDigit(cursor_[1]))) return ReadNumber();
                if (IsNameChar(c)) return ReadName();
                token_ = Token::Separator;  // ';', the line feed, a lone point and anything else
                break;
        }
        ++cursor_;
    }

    void ReadNumber() {
        const wchar_t* start = cursor_;
        while (IsNumberChar(*cursor_)) ++cursor_;
        const size_t length = std::min(static_cast<size_t>(cursor_ - start), kMaxNumberLength);
        token_ = Token::Number;
        if (length >= 2 && start[0] == L'0' && (start[1] == L'x' || start[1] == L'X')) {
            std::uint32_t value = 0;
            for (size_t i = 2; i < length; ++i) value = value * 16u + HexValue(start[i]);
            number_ = value;
            return;
        }
        // The run is ASCII; from_chars reads it by the standard decimal rule
        // and stops where it stops fitting ("1.2.3" is 1.2).
        char digits[kMaxNumberLength];
        for (size_t i = 0; i < length; ++i) digits[i] = start[i] == L',' ? '.' : static_cast<char>(start[i]);
        number_ = 0.0;
        std::from_chars(digits, digits + length, number_, std::chars_format::fixed);
    }

    void ReadName() {
        const wchar_t* start = cursor_;
        while (IsNameChar(*cursor_)) ++cursor_;
        const std::wstring_view name(start, std::min(static_cast<size_t>(cursor_ - start), kMaxNameLength));
        if (const std::optional<Token> function = FunctionToken(name)) token_ = *function;
        else Resolve(name);
    }

    // A name: callback macro, text macro, then the owner's variables. Any of
    // them gives a number token; none gives the separator.
    void Resolve(std::wstring_view name) {
        wchar_t terminated[kMaxNameLength + 1];
        std::copy(name.begin(), name.end(), terminated);
        terminated[name.size()] = 0;

        const FormulaState& state = FormulaState::Instance();
        if (state.HasMacros()) {
            if (FormulaMacroCallback callback = state.CallbackMacro(name)) {
                CString text;
                if (callback(CString(terminated), text)) return SetNumber(EvaluateMacro(text.GetString()));
            }
            // Held while it is evaluated: a callback met on the way may
            // redefine the macro.
            if (std::shared_ptr<const std::wstring> text = state.TextMacro(name))
                return SetNumber(EvaluateMacro(text->c_str()));
        }
        double value = 0.0;
        if (owner_ && owner_->examineVariables(value, terminated)) return SetNumber(value);
        token_ = Token::Separator;
    }

    void SetNumber(double value) {
        token_ = Token::Number;
        number_ = value;
    }

    // A macro's text evaluated as a plain formula; an empty text gives 0, a
    // failed one 0 (its error was counted, so this evaluation fails too).
    double EvaluateMacro(const wchar_t* text) {
        if (!*text) return 0.0;
        if (budget_.macroDepth >= kMaxMacroDepth || budget_.macroEvaluations >= kMaxMacroEvaluations)
            throw LimitExceeded{};
        ++budget_.macroEvaluations;
        ++budget_.macroDepth;
        Evaluator nested(text, nullptr, budget_);
        double value = 0.0;
        nested.Run(value);
        --budget_.macroDepth;
        return value;
    }

    double Expression() {
        double value = Term();
        for (;;) {
            switch (token_) {
                case Token::Plus: Next(); value += Term(); break;
                case Token::Minus: Next(); value -= Term(); break;
                case Token::Or: {
                    Next();
                    const int left = CutToInt(value);
                    value = static_cast<double>(left | CutToInt(Term()));
                    break;
                }
                default: return value;
            }
        }
    }

    double Term() {
        double value = Power();
        for (;;) {
            switch (token_) {
                case Token::Times: Next(); value *= Power(); break;
                case Token::Divide: {
                    Next();
                    const double divisor = Power();
                    value = divisor == 0.0 ? Fail(kDivisionByZero) : value / divisor;
                    break;
                }
                // SIN right after a term, without an operator, replaces the
                // term by the sine of the power that follows ("2 SIN 0" is 0).
                case Token::Sin: Next(); value = std::sin(Power()); break;
                default: return value;
            }
        }
    }

    double Power() {
        const double base = Factor();
        if (token_ != Token::Power) return base;
        Next();
        return std::pow(base, Factor());
    }

    double Factor() {
        const NestingGuard guard(budget_);
        switch (token_) {
            case Token::Number: {
                const double value = number_;
                Next();
                return value;
            }
            case Token::Minus: Next(); return -Factor();
            case Token::Plus: Next(); return Factor();
            case Token::Open: return Parenthesised();
            case Token::Sin:
            case Token::Cos:
            case Token::Tan: {
                const Token function = token_;
                Next();
                if (token_ != Token::Open) return Fail(kSyntaxError);
                const double argument = Parenthesised();
                return function == Token::Sin ? std::sin(argument)
                       : function == Token::Cos ? std::cos(argument)
                                                : std::tan(argument);
            }
            case Token::End: return 1.0;  // not consumed: "2+" is 3, "2*" is 2
            default: return Fail(kSyntaxError);
        }
    }

    // "(" expression ")", at the "(".
    double Parenthesised() {
        Next();
        const double value = Expression();
        if (token_ != Token::Close) return Fail(kOpenParenthesis);
        Next();
        return value;
    }

    double Fail(const char* error) {
        Report(owner_, text_, error);
        return kErrorValue;
    }

    const wchar_t* text_;
    const wchar_t* cursor_;
    CNumString* owner_;
    Budget& budget_;
    Token token_ = Token::End;
    double number_ = 0.0;
};

}  // namespace

bool EvaluateFormula(CNumString& formula, double& result) {
    result = 0.0;
    if (formula.IsEmpty()) return false;
    Budget budget;
    Evaluator evaluator(formula.GetString(), &formula, budget);
    try {
        return evaluator.Run(result);
    } catch (const LimitExceeded&) {
        result = 0.0;
        Report(&formula, formula.GetString(), kSyntaxError);
        return false;
    }
}

int CutToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483648.0) return INT_MAX;
    if (value <= -2147483649.0) return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace qx
