// The fields of a text parts-list template line: "$NAME", filled with a
// value over a fixed width so that the lines of a list stand in columns.
//
// A field at p takes its width from what follows it in the line: with a "|"
// after it and no further "$" before that "|", it is right-aligned and runs
// through the "|"; otherwise, with a further "$", it is left-aligned and
// ends just before the character that stands before that "$" (which stays);
// otherwise it has no width and its value replaces the rest of the line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qx::detail {

struct TemplateField {
    enum class Fit { Left, Right, ToEnd };
    size_t start = 0;   // the position of the "$"
    std::wstring name;  // from after the "$" to the first white space or "$"
    Fit fit = Fit::ToEnd;
    size_t width = 0;   // for Left and Right
    int id = -1;        // what the name stands for, as the template reader numbers it
};

// Every field of *line*, left to right (each "$" starts one).
std::vector<TemplateField> FindFields(std::wstring_view line);

// Writes *value* into *text* in the place of *field* of the line that
// begins at *base* (the field found in the line that line was made from:
// filling keeps the positions of the fields that follow; a field without
// width takes the rest of *text*). False, with *text* unchanged, when the
// value is longer than the field.
bool FillField(std::wstring& text, size_t base, const TemplateField& field, std::wstring_view value);

}  // namespace qx::detail
