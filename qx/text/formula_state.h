// The process-wide state behind CNumString: the macros that resolve names in
// formulas, the quiet counter that silences error messages, and the error
// counter by which an evaluation notices that something went wrong.
//
// One owner object, created on first use; tests put it back with Reset().
// Single-threaded, like the dialogs that evaluate formulas.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

namespace qx {

// Fills *text* with the formula for *name* and returns non-zero, or returns
// 0 when it has none (then the text macro of that name is tried).
using FormulaMacroCallback = int (*)(const CString& name, CString& text);

class QX_API FormulaState {
public:
    static FormulaState& Instance();

    // No macros, not quiet, error counter 0.
    void Reset();

    // Names compare exactly (case-sensitive). Defining a name again replaces
    // its macro; a null callback removes the callback macro of that name, so
    // that a lookup never calls through a null pointer.
    void DefineMacro(std::wstring_view name, std::wstring_view text);
    void DefineMacro(std::wstring_view name, FormulaMacroCallback callback);
    void RemoveMacros();

    bool HasMacros() const { return !texts_.empty() || !callbacks_.empty(); }
    // Null when there is no such macro. The text is shared, so that it
    // outlives a redefinition while it is being evaluated.
    std::shared_ptr<const std::wstring> TextMacro(std::wstring_view name) const;
    FormulaMacroCallback CallbackMacro(std::wstring_view name) const;

    // Quiet(true) nests; Quiet(false) undoes one Quiet(true). The counter
    // never goes below 0: an unmatched Quiet(false) must not silence every
    // later message.
    void Quiet(bool on);
    bool IsQuiet() const { return quiet_ > 0; }

    // What CNumString::ErrorPrint does by default: counts the error, then
    // shows *message* in a plain message box unless quiet.
    void ReportError(const CString& message);
    // Only its changes matter: an evaluation fails when it moved.
    unsigned long long ErrorCount() const { return errors_; }

private:
    FormulaState() = default;

    // std::less<> lets a name be looked up as it stands in the formula,
    // without building a string for it.
    std::map<std::wstring, std::shared_ptr<const std::wstring>, std::less<>> texts_;
    std::map<std::wstring, FormulaMacroCallback, std::less<>> callbacks_;
    int quiet_ = 0;
    unsigned long long errors_ = 0;
};

}  // namespace qx
