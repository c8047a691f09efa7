// Reading a worksheet part into the model: its rows and cells, columns and
// merged ranges; its other elements are kept as they are.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>

#include "qx/platform/base/ascii.h"
#include "qx/platform/sheet/internal/formula_refs.h"
#include "qx/platform/sheet/internal/text_escape.h"
#include "qx/platform/sheet/internal/workbook_data.h"
#include "qx/platform/sheet/internal/element_order.h"
#include "qx/platform/sheet/internal/xml.h"

namespace qx::sheet::detail {

namespace {

bool ParseNumber(std::string_view text, double& value) {
    text = TrimBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

bool ParseIndex(std::string_view text, std::uint32_t& value) {
    text = TrimBlanks(text);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

void AppendAttribute(std::string& out, pugi::xml_attribute a) {
    out += ' ';
    out += a.name();
    out += "=\"";
    AppendEscaped(out, a.value(), true);
    out += '"';
}

// A shared formula's first cell, which holds its text.
struct SharedFormula {
    std::string text;
    std::uint32_t col = 0, row = 0;
};

// A cell whose formula is a shared one, to be filled in once all are read.
struct SharedUse {
    std::uint32_t col = 0, row = 0, index = 0;
};

class Reader {
public:
    Reader(const std::vector<std::uint32_t>& sharedStrings, SheetData& sheet, std::string& error)
        : sharedStrings_(sharedStrings), sheet_(sheet), model_(sheet.model), error_(error) {}

    bool Rows(pugi::xml_node sheetData);
    bool Columns(pugi::xml_node cols);
    bool Merges(pugi::xml_node mergeCells);

private:
    bool Fail(std::string message) {
        error_ = std::move(message);
        return false;
    }
    bool ReadRow(pugi::xml_node node, Row& row);
    bool ReadCell(pugi::xml_node node, std::uint32_t rowIndex, std::uint32_t& nextCol, Cell& cell);
    bool ReadValue(pugi::xml_node node, std::string_view type, Cell& cell);
    bool ReadFormula(pugi::xml_node f, Cell& cell, std::uint32_t row);
    bool ResolveShared();

    const std::vector<std::uint32_t>& sharedStrings_;
    SheetData& sheet_;
    SheetModel& model_;
    std::string& error_;
    std::map<std::uint32_t, SharedFormula> shared_;
    std::vector<SharedUse> uses_;
};

bool Reader::Rows(pugi::xml_node sheetData) {
    std::uint32_t next = 0;
    bool ordered = true;
    for (pugi::xml_node node = sheetData.first_child(); node; node = node.next_sibling()) {
        if (node.type() != pugi::node_element || LocalName(node) != "row") continue;
        Row row;
        row.index = next;
        if (!ReadRow(node, row)) return false;
        ordered &= model_.rows.empty() || model_.rows.back().index < row.index;
        next = row.index + 1;
        model_.rows.push_back(std::move(row));
    }
    if (!ordered) {
        // Rows out of order, or one row given twice: in order, cells together.
        std::stable_sort(model_.rows.begin(), model_.rows.end(), [](const Row& a, const Row& b) { return a.index < b.index; });
        std::vector<Row> merged;
        for (Row& row : model_.rows) {
            if (!merged.empty() && merged.back().index == row.index) {
                merged.back().cells.insert(merged.back().cells.end(), row.cells.begin(), row.cells.end());
                NormalizeCells(merged.back().cells);
            } else {
                merged.push_back(std::move(row));
            }
        }
        model_.rows.swap(merged);
    }
    return ResolveShared();
}

bool Reader::ReadRow(pugi::xml_node node, Row& row) {
    const std::uint32_t styles = sheet_.book->styles->CellFormatCount();
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
        const std::string_view name = a.name();
        if (name == "r") {
            std::uint32_t r = 0;
            if (!ParseIndex(a.value(), r) || r == 0 || r > kMaxRows)
                return Fail("row " + std::string(a.value()) + " is beyond the grid");
            row.index = r - 1;
        } else if (name == "spans") {
            // A reading aid that the writer leaves out.
        } else if (name == "s") {
            row.style = a.as_uint() < styles ? a.as_uint() : 0;
        } else if (name == "ht") {
            row.height = std::clamp(a.as_double(), 0.0, 409.5);
        } else if (name == "outlineLevel") {
            row.outlineLevel = static_cast<std::uint8_t>(std::min(a.as_uint(), 7u));
        } else {
            static constexpr std::pair<std::string_view, RowFlag> kFlags[] = {
                {"customHeight", kRowCustomHeight}, {"customFormat", kRowCustomFormat}, {"hidden", kRowHidden},
                {"collapsed", kRowCollapsed},       {"thickTop", kRowThickTop},       {"thickBot", kRowThickBottom},
                {"ph", kRowPhonetic}};
            const auto flag = std::find_if(std::begin(kFlags), std::end(kFlags), [&](const auto& f) { return f.first == name; });
            if (flag == std::end(kFlags)) AppendAttribute(row.attributes, a);
            else if (a.as_bool()) row.flags |= flag->second;
        }
    }
    std::uint32_t nextCol = 0;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element || LocalName(c) != "c") continue;
        Cell cell;
        if (!ReadCell(c, row.index, nextCol, cell)) return false;
        // A cell without value, formula or format holds nothing.
        if (cell.kind != CellKind::Empty || cell.formula || cell.style) row.cells.push_back(cell);
    }
    NormalizeCells(row.cells);
    return true;
}

bool Reader::ReadCell(pugi::xml_node node, std::uint32_t rowIndex, std::uint32_t& nextCol, Cell& cell) {
    if (pugi::xml_attribute r = node.attribute("r")) {
        const auto position = ParseCellName(r.value());
        if (!position) return Fail("cell reference " + std::string(r.value()) + " is beyond the grid or malformed");
        if (position->row != rowIndex)
            return Fail("cell " + std::string(r.value()) + " is given in row " + std::to_string(rowIndex + 1));
        cell.col = position->col;
    } else {
        if (nextCol >= kMaxColumns) return Fail("row " + std::to_string(rowIndex + 1) + " has cells beyond the grid");
        cell.col = nextCol;
    }
    nextCol = cell.col + 1;
    const std::uint32_t style = node.attribute("s").as_uint();
    cell.style = style < sheet_.book->styles->CellFormatCount() ? style : 0;
    if (!ReadValue(node, node.attribute("t").value(), cell)) return false;
    if (pugi::xml_node f = Child(node, "f")) return ReadFormula(f, cell, rowIndex);
    return true;
}

bool Reader::ReadValue(pugi::xml_node node, std::string_view type, Cell& cell) {
    StringPool& pool = sheet_.book->strings;
    if (type == "inlineStr") {
        if (pugi::xml_node is = Child(node, "is")) {
            cell.kind = CellKind::Text;
            cell.text = ReadText(is, pool);
            return true;
        }
    }
    pugi::xml_node v = Child(node, "v");
    if (!v) return true;  // a cell with a format and no value
    const std::string text = TextOf(v);
    if (type.empty() || type == "n") {
        if (TrimBlanks(std::string_view(text)).empty()) return true;
        cell.kind = CellKind::Number;
        if (!ParseNumber(text, cell.number)) return Fail("cell value \"" + text.substr(0, 40) + "\" is no number");
    } else if (type == "s") {
        std::uint32_t index = 0;
        if (!ParseIndex(text, index) || index >= sharedStrings_.size())
            return Fail("cell refers to shared text " + text.substr(0, 40) + ", which does not exist");
        cell.kind = CellKind::Text;
        cell.text = sharedStrings_[index];
    } else if (type == "str" || type == "inlineStr") {
        cell.kind = CellKind::Text;
        cell.text = pool.Plain(DecodeEscapes(text));
    } else if (type == "b") {
        cell.kind = CellKind::Boolean;
        const std::string_view flag = TrimBlanks(std::string_view(text));
        cell.boolean = flag == "1" || EqualsIgnoringAsciiCase(flag, "true");
    } else if (type == "e") {
        cell.kind = CellKind::Error;
        cell.text = pool.Plain(text);
    } else if (type == "d") {
        cell.kind = CellKind::IsoDate;
        cell.text = pool.Plain(text);
    } else {
        return Fail("cell type \"" + std::string(type.substr(0, 20)) + "\" is unknown");
    }
    return true;
}

bool Reader::ReadFormula(pugi::xml_node f, Cell& cell, std::uint32_t row) {
    Formula formula;
    formula.text = DecodeEscapes(TextOf(f));
    const std::string_view type = f.attribute("t").value();
    for (pugi::xml_attribute a = f.first_attribute(); a; a = a.next_attribute()) {
        const std::string_view name = a.name();
        if (name != "t" && name != "ref" && name != "si") AppendAttribute(formula.attributes, a);
    }
    if (type == "array" || type == "dataTable") {
        const auto ref = ParseRangeName(f.attribute("ref").value());
        if (!ref) return Fail("formula range " + std::string(f.attribute("ref").value()) + " is malformed");
        formula.kind = type == "array" ? Formula::Kind::Array : Formula::Kind::DataTable;
        formula.ref = *ref;
    } else if (type == "shared") {
        std::uint32_t index = 0;
        if (!ParseIndex(f.attribute("si").value(), index)) return Fail("a shared formula has no number");
        // The first cell of a shared formula holds its text; the others are
        // given it, moved, once every cell has been read.
        if (f.attribute("ref") && !TrimBlanks(std::string_view(formula.text)).empty()) {
            shared_[index] = SharedFormula{formula.text, cell.col, row};
        } else {
            uses_.push_back(SharedUse{cell.col, row, index});
            formula.text.clear();
        }
        formula.attributes.clear();
    } else if (!type.empty() && type != "normal") {
        return Fail("formula type \"" + std::string(type.substr(0, 20)) + "\" is unknown");
    }
    model_.formulas.push_back(std::move(formula));
    cell.formula = static_cast<std::uint32_t>(model_.formulas.size());
    return true;
}

bool Reader::ResolveShared() {
    for (const SharedUse& use : uses_) {
        const auto master = shared_.find(use.index);
        if (master == shared_.end())
            return Fail("cell " + CellName(use.col, use.row) + " uses shared formula " + std::to_string(use.index) +
                        ", which does not exist");
        const Cell* cell = model_.FindCell(use.col, use.row);
        if (!cell || !cell->formula) continue;
        model_.formulas[cell->formula - 1].text =
            ShiftFormula(master->second.text, static_cast<std::int64_t>(use.col) - master->second.col,
                         static_cast<std::int64_t>(use.row) - master->second.row);
    }
    return true;
}

bool Reader::Columns(pugi::xml_node cols) {
    const std::uint32_t styles = sheet_.book->styles->CellFormatCount();
    std::vector<ColumnSpan> spans;
    for (pugi::xml_node node = cols.first_child(); node; node = node.next_sibling()) {
        if (node.type() != pugi::node_element || LocalName(node) != "col") continue;
        ColumnSpan span;
        std::uint32_t min = 0, max = 0;
        if (!ParseIndex(node.attribute("min").value(), min) || !ParseIndex(node.attribute("max").value(), max) ||
            min == 0 || max < min || max > kMaxColumns)
            return Fail("column range " + std::string(node.attribute("min").value()) + " to " +
                        std::string(node.attribute("max").value()) + " is beyond the grid");
        span.first = min - 1;
        span.last = max - 1;
        for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
            const std::string_view name = a.name();
            if (name == "min" || name == "max") continue;
            if (name == "width") span.width = std::clamp(a.as_double(), 0.0, 256.0);  // 255 shown, and the padding
            else if (name == "style") span.style = a.as_uint() < styles ? a.as_uint() : 0;
            else if (name == "outlineLevel") span.outlineLevel = static_cast<std::uint8_t>(std::min(a.as_uint(), 7u));
            else if (name == "customWidth") span.flags |= a.as_bool() ? kColumnCustomWidth : 0;
            else if (name == "hidden") span.flags |= a.as_bool() ? kColumnHidden : 0;
            else if (name == "bestFit") span.flags |= a.as_bool() ? kColumnBestFit : 0;
            else if (name == "collapsed") span.flags |= a.as_bool() ? kColumnCollapsed : 0;
            else if (name == "phonetic") span.flags |= a.as_bool() ? kColumnPhonetic : 0;
            else AppendAttribute(span.attributes, a);
        }
        spans.push_back(std::move(span));
    }
    // Spans that overlap are cut so that each column has one.
    std::stable_sort(spans.begin(), spans.end(), [](const ColumnSpan& a, const ColumnSpan& b) { return a.first < b.first; });
    for (ColumnSpan& span : spans) {
        if (!model_.columns.empty() && span.first <= model_.columns.back().last) span.first = model_.columns.back().last + 1;
        if (span.first <= span.last) model_.columns.push_back(std::move(span));
    }
    return true;
}

bool Reader::Merges(pugi::xml_node mergeCells) {
    for (pugi::xml_node node = mergeCells.first_child(); node; node = node.next_sibling()) {
        if (node.type() != pugi::node_element || LocalName(node) != "mergeCell") continue;
        const auto range = ParseRangeName(node.attribute("ref").value());
        if (!range) return Fail("merged range " + std::string(node.attribute("ref").value()) + " is malformed");
        if (range->Columns() > 1 || range->Rows() > 1) model_.AddMerge(*range);
    }
    return true;
}

void ReadFormatProperties(pugi::xml_node format, SheetData& sheet) {
    if (!format) return;
    const double height = Attribute(format, "defaultRowHeight").as_double(15);
    sheet.defaultRowHeight = height > 0 && height <= 409.5 ? height : 15;
    if (const auto width = Attribute(format, "defaultColWidth")) sheet.defaultColumnWidth = std::clamp(width.as_double(), 0.0, 256.0);
    sheet.baseColumnWidth = std::min(Attribute(format, "baseColWidth").as_uint(8), 255u);
}

}  // namespace

bool ReadWorksheet(std::string_view bytes, const std::vector<std::uint32_t>& sharedStrings, SheetData& sheet,
                   std::string& error) {
    pugi::xml_document doc;
    if (!ParseXml(bytes, doc, error)) return false;
    pugi::xml_node root = doc.document_element();
    if (LocalName(root) != "worksheet") {
        error = "it is no worksheet";
        return false;
    }
    Reader reader(sharedStrings, sheet, error);
    pugi::xml_node rest = sheet.rest.append_child(root.name());
    for (pugi::xml_attribute a = root.first_attribute(); a; a = a.next_attribute()) rest.append_attribute(a.name()) = a.value();
    for (pugi::xml_node child = root.first_child(); child; child = child.next_sibling()) {
        const std::string_view name = LocalName(child);
        bool ok = true;
        if (child.type() != pugi::node_element) continue;
        if (name == "sheetData") ok = reader.Rows(child);
        else if (name == "cols") ok = reader.Columns(child);
        else if (name == "mergeCells") ok = reader.Merges(child);
        else if (name != "dimension") rest.append_copy(child);
        if (!ok) return false;
        const bool fromModel = name == "sheetData" || name == "cols" || name == "mergeCells" || name == "dimension";
        if (fromModel && !Child(rest, name)) rest.append_child(child.name());  // where the model's element goes
    }
    // The places of the elements written from the model, also when missing.
    for (std::string_view name : {"dimension", "sheetViews", "cols", "sheetData", "mergeCells"})
        ChildInOrder(rest, name, kWorksheetOrder);
    pugi::xml_node views = Child(rest, "sheetViews");
    if (!Child(views, "sheetView"))
        views.append_child((Prefix(views) + "sheetView").c_str()).append_attribute("workbookViewId") = "0";
    ReadFormatProperties(Child(rest, "sheetFormatPr"), sheet);
    return true;
}

std::string_view EmptyWorksheet() {
    return "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
           "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
           "<dimension ref=\"A1\"/><sheetViews><sheetView workbookViewId=\"0\"/></sheetViews>"
           "<sheetFormatPr defaultRowHeight=\"15\"/><sheetData/>"
           "<pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" header=\"0.3\" footer=\"0.3\"/>"
           "</worksheet>";
}

}  // namespace qx::sheet::detail
