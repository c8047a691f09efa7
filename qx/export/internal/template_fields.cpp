#include "qx/export/internal/template_fields.h"

#include <algorithm>
#include <cwctype>

namespace qx::detail {

std::vector<TemplateField> FindFields(std::wstring_view line) {
    std::vector<TemplateField> fields;
    for (size_t at = line.find(L'$'); at != std::wstring_view::npos;) {
        TemplateField field;
        field.start = at;
        size_t end = at + 1;
        while (end < line.size() && line[end] != L'$' && !std::iswspace(line[end])) ++end;
        field.name = std::wstring(line.substr(at + 1, end - at - 1));
        const size_t next = line.find(L'$', at + 1);
        const size_t bar = line.find(L'|', at + 1);
        if (bar != std::wstring_view::npos && (next == std::wstring_view::npos || bar < next)) {
            field.fit = TemplateField::Fit::Right;
            field.width = bar - at + 1;
        } else if (next != std::wstring_view::npos) {
            field.fit = TemplateField::Fit::Left;
            field.width = next - at - 1;
        }
        fields.push_back(std::move(field));
        at = next;
    }
    return fields;
}

bool FillField(std::wstring& text, size_t base, const TemplateField& field, std::wstring_view value) {
    const size_t start = base + field.start;
    if (start > text.size()) return false;
    if (field.fit == TemplateField::Fit::ToEnd) {
        text.replace(start, std::wstring::npos, value);
        return true;
    }
    if (value.size() > field.width || start + field.width > text.size()) return false;
    const size_t padding = field.width - value.size();
    auto at = text.begin() + static_cast<std::ptrdiff_t>(start);
    if (field.fit == TemplateField::Fit::Right) {
        std::copy(value.begin(), value.end(), std::fill_n(at, padding, L' '));
    } else {
        std::fill_n(std::copy(value.begin(), value.end(), at), padding, L' ');
    }
    return true;
}

}  // namespace qx::detail
