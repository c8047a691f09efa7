// qxtool formula: evaluates a formula as the family's numeric input fields do.
#include <algorithm>
#include <charconv>
#include <string>
#include <utility>
#include <vector>

#include "qx/platform/base/utf.h"
#include "qx/platform/wnd/message_box.h"
#include "qx/text/formula_evaluator.h"
#include "qx/text/num_string.h"
#include "tools/qxtool/command.h"

namespace qxtool {
namespace {

int Formula(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    // "--" ends the options, for a formula that itself begins with "--".
    std::vector<std::string> formulas;
    if (auto dashes = std::find(args.begin(), args.end(), "--"); dashes != args.end()) {
        formulas.assign(dashes + 1, args.end());
        args.erase(dashes, args.end());
    }
    std::vector<std::pair<std::wstring, std::wstring>> macros;
    std::string definition;
    while (TakeOption(args, "--define", definition)) {
        const size_t equals = definition.find('=');
        if (equals == std::string::npos || equals == 0) throw UsageError("--define takes NAME=TEXT");
        macros.emplace_back(Wide(definition.substr(0, equals)), Wide(definition.substr(equals + 1)));
    }
    RejectUnknownOptions(args);
    formulas.insert(formulas.begin(), args.begin(), args.end());
    if (formulas.size() != 1) throw UsageError("expects exactly one formula");

    // The messages the evaluation would show go to stderr once, through the
    // failure, instead of through the default message handler as well.
    std::wstring shown;
    qx::ScopedMessageHandler collect([&shown](const wchar_t* text, const wchar_t*, unsigned flags) {
        if (!shown.empty()) shown += L"\n";
        shown += text;
        return qx::DefaultMessageButton(flags);
    });
    for (const auto& [name, text] : macros) CNumString::DefineMacro(name.c_str(), text.c_str());
    CNumString formula;
    formula = Wide(formulas[0]).c_str();
    double value = 0.0;
    if (!qx::EvaluateFormula(formula, value)) {
        if (formula.IsEmpty()) throw Failure("the formula is empty");
        std::string message = qx::WideToUtf8(shown);
        for (size_t at; (at = message.find("\r\n")) != std::string::npos;) message.erase(at, 1);
        throw Failure(message);
    }
    // The shortest text that reads back as the same double: 9, not 9.000000.
    char text[64];
    const auto written = std::to_chars(text, text + sizeof text, value);
    PrintUtf8(Wide(std::string(text, written.ptr)) + L"\n");
    return kExitOk;
}

constexpr Command kCommands[] = {
    {"formula", "[--define NAME=TEXT]... [--] FORMULA", "evaluate a numeric input formula",
     "Numbers may use the comma as decimal separator; + - * / ^ (one only),\n"
     "| (bitwise or), parentheses, SIN/COS/TAN (radians) and 0x hexadecimal\n"
     "digits are understood. --define makes NAME a macro for the formula TEXT.\n"
     "Prints the value in its shortest exact form; on an error prints the\n"
     "message and exits with 1.\n"
     "  qxtool formula '2*(3,5+1)'            -> 9\n"
     "  qxtool formula --define B=3 'B^2+1'  -> 10",
     Formula},
};

const CommandRegistrar registrar(kCommands);

}  // namespace

}  // namespace qxtool
