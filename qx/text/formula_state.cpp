#include "qx/text/formula_state.h"

#include "qx/platform/wnd/message_box.h"

namespace qx {

FormulaState& FormulaState::Instance() {
    static FormulaState state;
    return state;
}

void FormulaState::Reset() {
    RemoveMacros();
    quiet_ = 0;
    errors_ = 0;
}

void FormulaState::DefineMacro(std::wstring_view name, std::wstring_view text) {
    texts_.insert_or_assign(std::wstring(name), std::make_shared<const std::wstring>(text));
}

void FormulaState::DefineMacro(std::wstring_view name, FormulaMacroCallback callback) {
    if (!callback) {
        if (auto it = callbacks_.find(name); it != callbacks_.end()) callbacks_.erase(it);
        return;
    }
    callbacks_.insert_or_assign(std::wstring(name), callback);
}

void FormulaState::RemoveMacros() {
    texts_.clear();
    callbacks_.clear();
}

std::shared_ptr<const std::wstring> FormulaState::TextMacro(std::wstring_view name) const {
    auto it = texts_.find(name);
    return it == texts_.end() ? nullptr : it->second;
}

FormulaMacroCallback FormulaState::CallbackMacro(std::wstring_view name) const {
    auto it = callbacks_.find(name);
    return it == callbacks_.end() ? nullptr : it->second;
}

void FormulaState::Quiet(bool on) {
    if (on) ++quiet_;
    else if (quiet_ > 0) --quiet_;
}

void FormulaState::ReportError(const CString& message) {
    ++errors_;
    // An empty caption: the window layer shows the application's name there.
    if (!IsQuiet()) ShowMessage(message, L"", MB_OK);
}

}  // namespace qx
