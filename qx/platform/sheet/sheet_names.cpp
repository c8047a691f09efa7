#include "qx/platform/sheet/internal/sheet_names.h"

#include "qx/platform/base/unicode.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/sheet/internal/formula_refs.h"
#include "qx/platform/sheet/internal/text_escape.h"
#include "qx/platform/sheet/internal/xml.h"

namespace qx::sheet::detail {

namespace {

// The formula texts of a kept worksheet element tree: conditional formats,
// validations and their extensions keep them in elements of these names.
bool HoldsFormula(std::string_view name) {
    return name == "formula" || name == "formula1" || name == "formula2" || name == "f";
}

void RenameInTree(pugi::xml_node top, std::string_view from, std::string_view to) {
    for (pugi::xml_node node = top; node; node = NextInTree(node, top)) {
        if (node.type() != pugi::node_element || !HoldsFormula(LocalName(node))) continue;
        for (pugi::xml_node text = node.first_child(); text; text = text.next_sibling()) {
            if (text.type() == pugi::node_pcdata) text.set_value(RenameSheetInFormula(text.value(), from, to).c_str());
        }
    }
}

}  // namespace

bool CheckSheetName(const WorkbookData& book, std::wstring_view name, const SheetData* self, std::string& error) {
    if (name.empty()) {
        error = "a sheet name cannot be empty";
        return false;
    }
    if (Utf16Length(name) > kMaxSheetNameLength) {
        error = "a sheet name can have at most " + std::to_string(kMaxSheetNameLength) + " characters";
        return false;
    }
    if (name.find_first_of(L"[]:*?/\\") != std::wstring_view::npos) {
        error = "a sheet name cannot hold any of [ ] : * ? / \\";
        return false;
    }
    if (name.front() == L'\'' || name.back() == L'\'') {
        error = "a sheet name cannot begin or end with an apostrophe";
        return false;
    }
    for (wchar_t c : name) {
        if (c < 0x20 || (c >= 0xD800 && c <= 0xDFFF) || c == 0xFFFE || c == 0xFFFF || static_cast<std::uint32_t>(c) > 0x10FFFF) {
            error = "a sheet name cannot hold control characters";
            return false;
        }
    }
    if (EqualsFolded(name, L"History")) {
        error = "\"History\" is a reserved sheet name";
        return false;
    }
    for (const auto& sheet : book.sheets) {
        const SheetData& other = book.DataOf(*sheet);
        if (&other != self && EqualsFolded(other.name, name)) {
            error = "the workbook has a sheet named \"" + WideToUtf8(other.name) + "\" already";
            return false;
        }
    }
    return true;
}

void RenameReferences(WorkbookData& book, std::string_view from, std::string_view to) {
    pugi::xml_node names = Child(book.workbook.document_element(), "definedNames");
    for (pugi::xml_node name = names.first_child(); name; name = name.next_sibling()) {
        if (name.type() != pugi::node_element || LocalName(name) != "definedName") continue;
        for (pugi::xml_node text = name.first_child(); text; text = text.next_sibling()) {
            if (text.type() == pugi::node_pcdata) text.set_value(RenameSheetInFormula(text.value(), from, to).c_str());
        }
    }
    for (const auto& sheet : book.sheets) {
        SheetData& data = book.DataOf(*sheet);
        if (!data.worksheet) continue;
        for (Formula& formula : data.model.formulas) formula.text = RenameSheetInFormula(formula.text, from, to);
        RenameInTree(data.rest.document_element(), from, to);
    }
}

}  // namespace qx::sheet::detail
