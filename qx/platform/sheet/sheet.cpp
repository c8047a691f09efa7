#include <cmath>

#include "qx/platform/base/utf.h"
#include "qx/platform/sheet/internal/column_width.h"
#include "qx/platform/sheet/internal/sheet_names.h"
#include "qx/platform/sheet/internal/text_escape.h"
#include "qx/platform/sheet/internal/workbook_data.h"
#include "qx/platform/sheet/internal/xml.h"
#include "qx/platform/sheet/workbook.h"

namespace qx::sheet {

using namespace detail;

namespace {

// The longest text a cell holds, in UTF-16 units as spreadsheet programs count.
constexpr size_t kMaxCellText = 32767;

// The selection element of a sheet's first view for its active pane.
pugi::xml_node Selection(pugi::xml_node view, bool make) {
    pugi::xml_node pane = Child(view, "pane");
    const std::string_view activePane = pane ? (Attribute(pane, "activePane") ? AttributeText(pane, "activePane") : "topLeft") : "";
    for (pugi::xml_node n = view.first_child(); n; n = n.next_sibling()) {
        if (n.type() == pugi::node_element && LocalName(n) == "selection" && AttributeText(n, "pane") == activePane) return n;
    }
    if (!make) return {};
    const std::string name = Prefix(view) + "selection";
    pugi::xml_node made = pane ? view.insert_child_after(name.c_str(), pane) : view.prepend_child(name.c_str());
    if (pane) made.append_attribute("pane") = std::string(activePane).c_str();
    return made;
}

pugi::xml_node FirstView(const SheetData& data) {
    return Child(Child(data.rest.document_element(), "sheetViews"), "sheetView");
}

}  // namespace

Sheet::Sheet(std::unique_ptr<SheetData> data) : data_(std::move(data)) {}
Sheet::~Sheet() = default;

Workbook& Sheet::Owner() const { return *data_->owner; }
const std::wstring& Sheet::Name() const { return data_->name; }
bool Sheet::IsWorksheet() const { return data_->worksheet; }

bool Sheet::IsHidden() const {
    const std::string_view state = AttributeText(data_->entry, "state");
    return state == "hidden" || state == "veryHidden";
}

bool Sheet::Rename(std::wstring_view name, std::wstring* error) {
    if (name == data_->name) return true;
    std::string why;
    if (!CheckSheetName(*data_->book, name, data_.get(), why)) {
        if (error) *error = Utf8ToWide(why);
        return false;
    }
    const std::string from = WideToUtf8(data_->name), to = WideToUtf8(name);
    RenameReferences(*data_->book, from, to);
    pugi::xml_attribute attribute = Attribute(data_->entry, "name");
    if (!attribute) attribute = data_->entry.append_attribute("name");
    attribute = to.c_str();
    data_->name = std::wstring(name);
    return true;
}

CellValue Sheet::Value(std::uint32_t col, std::uint32_t row) const {
    CellValue value;
    const Cell* cell = data_->worksheet ? data_->model.FindCell(col, row) : nullptr;
    if (!cell) return value;
    const StringPool& pool = data_->book->strings;
    switch (cell->kind) {
        case CellKind::Empty: break;
        case CellKind::Number: value = CellValue::Number(cell->number); break;
        case CellKind::Text:
        case CellKind::IsoDate: value = CellValue::Text(Utf8ToWide(pool.Text(cell->text))); break;
        case CellKind::Boolean: value = CellValue::Boolean(cell->boolean); break;
        case CellKind::Error: value = CellValue::Error(Utf8ToWide(pool.Text(cell->text))); break;
    }
    if (cell->formula) value.formula = Utf8ToWide(data_->model.formulas[cell->formula - 1].text);
    return value;
}

bool Sheet::SetValue(std::uint32_t col, std::uint32_t row, const CellValue& value) {
    if (!data_->worksheet || !InGrid(col, row)) return false;
    if (value.type == CellValue::Type::Number && !std::isfinite(value.number)) return false;
    if ((value.type == CellValue::Type::Text || value.type == CellValue::Type::Error) && Utf16Length(value.text) > kMaxCellText)
        return false;
    if (Utf16Length(value.formula) > 8192) return false;
    SheetModel& model = data_->model;
    const Cell* existing = model.FindCell(col, row);
    if (value.type == CellValue::Type::Empty && value.formula.empty() && (!existing || existing->style == 0)) {
        // Nothing stays of the cell: it goes.
        if (Row* r = existing ? model.FindRow(row) : nullptr) {
            r->cells.erase(r->cells.begin() + (existing - r->cells.data()));
        }
        return true;
    }
    Cell& cell = model.CellAt(col, row);
    StringPool& pool = data_->book->strings;
    switch (value.type) {
        case CellValue::Type::Empty: cell.kind = CellKind::Empty; break;
        case CellValue::Type::Number:
            cell.kind = CellKind::Number;
            cell.number = value.number;
            break;
        case CellValue::Type::Text:
            cell.kind = CellKind::Text;
            cell.text = pool.Plain(WideToUtf8(value.text));
            break;
        case CellValue::Type::Boolean:
            cell.kind = CellKind::Boolean;
            cell.boolean = value.boolean;
            break;
        case CellValue::Type::Error:
            cell.kind = CellKind::Error;
            cell.text = pool.Plain(WideToUtf8(value.text));
            break;
    }
    cell.formula = 0;
    if (!value.formula.empty()) {
        std::wstring_view text = value.formula;
        if (text.front() == L'=') text.remove_prefix(1);
        model.formulas.push_back(Formula{WideToUtf8(text), Formula::Kind::Normal, {}, {}});
        cell.formula = static_cast<std::uint32_t>(model.formulas.size());
        data_->book->formulasChanged = true;
    }
    return true;
}

CellFormat Sheet::Format(std::uint32_t col, std::uint32_t row) const {
    std::uint32_t style = 0;
    if (const Cell* cell = data_->worksheet ? data_->model.FindCell(col, row) : nullptr) style = cell->style;
    return data_->book->styles->Describe(style);
}

double Sheet::ColumnWidth(std::uint32_t col) const {
    const int digit = data_->book->styles->MaxDigitWidth();
    if (const ColumnSpan* span = data_->model.FindColumn(col)) {
        if (span->flags & kColumnHidden) return 0;
        if (span->width >= 0) return DisplayWidth(span->width, digit);
    }
    return StandardColumnWidth();
}

double Sheet::StandardColumnWidth() const {
    const int digit = data_->book->styles->MaxDigitWidth();
    if (data_->defaultColumnWidth >= 0) return DisplayWidth(data_->defaultColumnWidth, digit);
    return StandardWidth(data_->baseColumnWidth, digit);
}

double Sheet::StandardRowHeight() const { return data_->defaultRowHeight; }

bool Sheet::SetColumnWidth(std::uint32_t col, double width) {
    if (!data_->worksheet || col >= kMaxColumns || !(width >= 0 && width <= 255)) return false;
    ColumnSpan& span = data_->model.ColumnAt(col);
    span.width = FileWidth(width, data_->book->styles->MaxDigitWidth());
    span.flags |= kColumnCustomWidth;
    if (width == 0) span.flags |= kColumnHidden;
    else span.flags &= static_cast<std::uint8_t>(~kColumnHidden);
    return true;
}

std::vector<qx::sheet::ColumnWidth> Sheet::ColumnWidths() const {
    std::vector<qx::sheet::ColumnWidth> widths;
    for (const ColumnSpan& span : data_->model.columns) {
        if (span.width >= 0 || (span.flags & kColumnHidden)) widths.push_back({span.first, span.last, ColumnWidth(span.first)});
    }
    return widths;
}

double Sheet::RowHeight(std::uint32_t row) const {
    if (const Row* r = data_->model.FindRow(row)) {
        if (r->flags & kRowHidden) return 0;
        if ((r->flags & kRowCustomHeight) || r->height > 0) return r->height;
    }
    return StandardRowHeight();
}

bool Sheet::SetRowHeight(std::uint32_t row, double height) {
    if (!data_->worksheet || row >= kMaxRows || !(height >= 0 && height <= 409.5)) return false;
    Row& r = data_->model.RowAt(row);
    r.height = height;
    r.flags |= kRowCustomHeight;
    if (height == 0) r.flags |= kRowHidden;
    else r.flags &= static_cast<std::uint8_t>(~kRowHidden);
    return true;
}

std::vector<qx::sheet::RowHeight> Sheet::RowHeights() const {
    std::vector<qx::sheet::RowHeight> heights;
    for (const Row& r : data_->model.rows) {
        if ((r.flags & (kRowCustomHeight | kRowHidden)) || r.height > 0) heights.push_back({r.index, RowHeight(r.index)});
    }
    return heights;
}

std::vector<CellRange> Sheet::MergedRanges() const {
    return std::vector<CellRange>(data_->model.merges.begin(), data_->model.merges.end());
}

bool Sheet::Merge(const CellRange& range) {
    if (!data_->worksheet || !IsValidRange(range) || (range.Columns() == 1 && range.Rows() == 1)) return false;
    for (const CellRange& merged : data_->model.merges) {
        if (merged.Intersects(range)) return false;
    }
    data_->model.AddMerge(range);
    return true;
}

bool Sheet::Select(std::uint32_t col, std::uint32_t row) {
    if (!data_->worksheet || !InGrid(col, row)) return false;
    pugi::xml_node selection = Selection(FirstView(*data_), true);
    const std::string cell = CellName(col, row);
    for (const char* name : {"activeCell", "sqref"}) {
        pugi::xml_attribute a = selection.attribute(name);
        if (!a) a = selection.append_attribute(name);
        a = cell.c_str();
    }
    selection.remove_attribute("activeCellId");
    return true;
}

CellPosition Sheet::ActiveCell() const {
    if (!data_->worksheet) return {};
    const auto cell = ParseCellName(AttributeText(Selection(FirstView(*data_), false), "activeCell"));
    return cell ? *cell : CellPosition{};
}

std::optional<CellRange> Sheet::UsedRange() const { return data_->model.UsedRange(); }

}  // namespace qx::sheet
