#include "qx/platform/sheet/engine.h"

#include <algorithm>

#include "qx/platform/sheet/libreoffice.h"

namespace qx::sheet {

Engine::Engine() = default;
Engine::~Engine() = default;

Workbook* Engine::Add(std::wstring_view templatePath, std::wstring* error) {
    std::unique_ptr<Workbook> book;
    if (templatePath.empty()) {
        book = Workbook::Create();
    } else if (IsBinaryWorkbookName(templatePath)) {
        const auto converted = ConvertedWorkbook(templatePath, error);
        if (converted) book = Workbook::Open(*converted, error);
    } else {
        book = Workbook::Open(templatePath, error);
    }
    if (!book) return nullptr;
    books_.push_back(std::move(book));
    return books_.back().get();
}

bool Engine::SaveAs(Workbook& book, std::wstring_view path, std::wstring* error) {
    if (!IsBinaryWorkbookName(path)) return book.Save(path, error);
    const auto bytes = book.SaveToBytes(L".xlsx", error);
    return bytes && WriteBinaryWorkbook(*bytes, path, error);
}

bool Engine::Close(Workbook* book, std::wstring_view saveAs, std::wstring* error) {
    const auto at = std::find_if(books_.begin(), books_.end(), [&](const auto& b) { return b.get() == book; });
    if (at == books_.end()) {
        if (error) *error = L"the workbook is not open";
        return false;
    }
    if (!saveAs.empty() && !SaveAs(*book, saveAs, error)) return false;
    books_.erase(at);
    return true;
}

std::size_t Engine::WorkbookCount() const { return books_.size(); }

bool Engine::Copy(const Sheet& sheet, const CellRange& range) {
    RangeCopy copy = sheet.Copy(range);
    if (copy.Empty()) return false;
    clipboard_.Put(std::move(copy));
    return true;
}

bool Engine::Paste(Sheet& sheet, std::uint32_t col, std::uint32_t row, std::wstring* error) {
    const RangeCopy* copy = clipboard_.Content();
    if (!copy) {
        if (error) *error = L"the clipboard is empty";
        return false;
    }
    return sheet.Paste(*copy, col, row, error);
}

}  // namespace qx::sheet
