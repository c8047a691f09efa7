// Formulas from arbitrary bytes, evaluated with a few macros defined, some
// of which refer to themselves directly, through each other, twice per
// level or through a callback.
//
// Input: UTF-8. When it holds a zero byte, the part before the first one is
// the text of the macro F (so the fuzzer writes macros too, F may name
// itself), the part after it is the formula; otherwise all of it is the
// formula.
//
// What holds: nothing crashes or overflows, every evaluation ends (the
// limits stop self-reference and deep nesting), a failed evaluation gives
// 0, and Int agrees with the value (the ints are cut from it, saturating).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "qx/platform/base/utf.h"
#include "qx/text/formula_evaluator.h"
#include "qx/text/formula_state.h"
#include "qx/text/num_string.h"

namespace {

int Callback(const CString& name, CString& text) {
    if (name == L"CB") text = L"CB*2";        // refers to itself
    else if (name == L"CV") text = L"0x10+A";  // an ordinary one
    else return 0;
    return 1;
}

// A formula with variables, as a dialog class supplies them.
class FieldWithVariables : public CNumString {
public:
    using CNumString::operator=;
    int examineVariables(double& value, const wchar_t* name) override {
        if (std::wstring_view(name) != L"V") return 0;
        value = 2.5;
        return 1;
    }
};

void DefineMacros() {
    CNumString::DefineMacro(L"A", L"2*B");
    CNumString::DefineMacro(L"B", L"3,5");
    CNumString::DefineMacro(L"SELF", L"SELF+1");
    CNumString::DefineMacro(L"P", L"(Q)");
    CNumString::DefineMacro(L"Q", L"-P");
    CNumString::DefineMacro(L"TWICE", L"TWICE^TWICE");
    CNumString::DefineMacro(L"E", L"");
    CNumString::DefineMacro(L"CB", Callback);
    CNumString::DefineMacro(L"CV", Callback);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool initialised = [] {
        DefineMacros();
        CNumString::Quiet(1);  // errors are counted, not shown
        return true;
    }();
    (void)initialised;

    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const size_t zero = bytes.find('\0');
    if (zero != std::string_view::npos) {
        CNumString::DefineMacro(L"F", qx::Utf8ToWide(bytes.substr(0, zero)).c_str());
        bytes.remove_prefix(zero + 1);
    }
    FieldWithVariables field;
    field = qx::Utf8ToWide(bytes).c_str();

    double value = 1.0;
    const bool ok = qx::EvaluateFormula(field, value);
    if (!ok && value != 0.0) __builtin_trap();
    if (field.Int() != (ok ? qx::CutToInt(value) : 0)) __builtin_trap();
    (void)field.Float();
    return 0;
}
