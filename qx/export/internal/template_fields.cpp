#include "qx/export/internal/template_fields.h"

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

bool FillField(std::wstring& line, const TemplateField& field, std::wstring_view value) {
    if (field.start > line.size()) return false;
    if (field.fit == TemplateField::Fit::ToEnd) {
        line.replace(field.start, std::wstring::npos, value);
        return true;
    }
    if (value.size() > field.width || field.start + field.width > line.size()) return false;
    const std::wstring padding(field.width - value.size(), L' ');
    std::wstring filled = field.fit == TemplateField::Fit::Right ? padding + std::wstring(value) : std::wstring(value) + padding;
    line.replace(field.start, field.width, filled);
    return true;
}

}  // namespace qx::detail
