#include "qx/text/num_string.h"

#include <cmath>
#include <limits>

#include "qx/text/formula_evaluator.h"
#include "qx/text/formula_state.h"

namespace {

constexpr const wchar_t* kDefaultFormat = L"%.02f";

}  // namespace

CNumString::CNumString() : format(kDefaultFormat) {}

CNumString::CNumString(const CString& text) {
    if (text.Find(L"%.") >= 0) format = text;
    else CString::operator=(text);
}

CNumString& CNumString::operator=(const wchar_t* text) {
    CString::operator=(text);
    Trim();
    return *this;
}

CNumString& CNumString::operator=(wchar_t* text) { return *this = static_cast<const wchar_t*>(text); }

CNumString& CNumString::operator=(CString text) {
    str() = std::move(text.str());
    Trim();
    return *this;
}

CNumString& CNumString::operator=(double value) {
    Format(format.IsEmpty() ? kDefaultFormat : format.GetString(), value);
    Trim();
    return *this;
}

CNumString& CNumString::operator=(float value) { return *this = static_cast<double>(value); }

CNumString& CNumString::operator=(int value) {
    Format(L"%d", value);
    Trim();
    return *this;
}

double CNumString::Value() const {
    double result = 0.0;
    // Evaluation calls the virtual operations, which the family declared
    // non-const; the formula text itself is not changed.
    return qx::EvaluateFormula(const_cast<CNumString&>(*this), result) ? result : 0.0;
}

float CNumString::Float() {
    const double value = Value();
    // Beyond float's range the conversion would be undefined; infinity is
    // what the hardware gives.
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    if (std::isfinite(value) && std::fabs(value) > std::numeric_limits<float>::max())
        return value > 0 ? kInfinity : -kInfinity;
    return static_cast<float>(value);
}

int CNumString::Int() {
    double result = 0.0;
    return qx::EvaluateFormula(*this, result) ? qx::CutToInt(result) : 0;
}

void CNumString::DefineMacro(const wchar_t* name, const wchar_t* text) {
    if (name) qx::FormulaState::Instance().DefineMacro(name, text ? text : L"");
}

void CNumString::DefineMacro(const wchar_t* name, int (*callback)(const CString& name, CString& text)) {
    if (name) qx::FormulaState::Instance().DefineMacro(name, callback);
}

void CNumString::deleteContents() { qx::FormulaState::Instance().RemoveMacros(); }

void CNumString::Quiet(int on) { qx::FormulaState::Instance().Quiet(on != 0); }

void CNumString::ErrorPrint(const CString& message) { qx::FormulaState::Instance().ReportError(message); }

int CNumString::examineVariables(double&, const wchar_t*) { return 0; }
