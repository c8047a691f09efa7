// A text parts-list template, read: the header of page 1 (#TOP1), the
// header of the following pages (#TOPN), the footer (#BOTTOM), the output
// line of one article (#OUTPUT) and the line counts (#VAR). The grammar is
// described in qx/export/text_st_list_export.h.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "qx/export/internal/template_fields.h"

class CProjectInfo;

namespace qx::detail {

// The fields of the output line, as TemplateField::id numbers them.
enum OutputField { kFieldPosition, kFieldQuantity, kFieldUnit, kFieldText, kFieldArticleNo, kFieldPrice, kFieldCurrency };

// A line of a header or footer: its text with the date and project fields
// filled, and the page-number fields, which are filled each time the line
// is written.
struct BlockLine {
    std::wstring text;
    std::vector<TemplateField> pageFields;
};

struct TextListTemplate {
    // The declared counts.
    int linesPerPage = 0;
    int headerFirstLines = 0;
    int headerNextLines = 0;
    int footerLines = 0;
    // What is left of a page for articles: on page 1 and on the others.
    int articleLinesFirst = 0;
    int articleLinesNext = 0;

    std::vector<BlockLine> headerFirst;
    std::vector<BlockLine> headerNext;
    std::vector<BlockLine> footer;

    // The output line and its fields (with their OutputField ids); the
    // continuation line (the text field alone, at its column) for the
    // further lines of a text.
    std::wstring outputLine;
    std::vector<TemplateField> outputFields;
    int textColumn = -1;  // where "$TXT" stands in the output line, -1: nowhere
    std::wstring continuationLine;
    std::vector<TemplateField> continuationFields;
    int extraEmptyLines = 0;  // written after every article
};

// Reads the template *text*. A template fault shows its message (with its
// line number, translated, stop icon) and gives false; so does a No to one
// of the questions about unusual line counts. A date or project value
// longer than its field gives false without a message. *project* may be
// null: the project fields are then empty.
bool ReadTextListTemplate(std::wstring_view text, const CProjectInfo* project, TextListTemplate& result);

// The fewest article lines the following pages must hold: an article that
// does not fit in fewer than this many lines left goes to the next page.
inline constexpr int kFewestArticleLines = 3;

}  // namespace qx::detail
