// What a workbook and its sheets hold inside the engine.
#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "qx/platform/os/zip_store.h"
#include "qx/platform/sheet/internal/sheet_model.h"
#include "qx/platform/sheet/internal/string_pool.h"
#include "qx/platform/sheet/internal/style_sheet.h"
#include "qx/platform/sheet/workbook.h"

namespace qx::sheet::detail {

struct WorkbookData;

struct SheetData {
    WorkbookData* book = nullptr;
    Workbook* owner = nullptr;
    std::wstring name;
    std::string part;       // its member, "xl/worksheets/sheet1.xml"
    pugi::xml_node entry;   // its <sheet> element in the workbook part
    bool worksheet = true;  // false: a chart, dialog or macro sheet, kept as it is
    // The worksheet part without the cells, columns and merged ranges, which
    // the model holds: the other elements are written back from here.
    pugi::xml_document rest;
    SheetModel model;
    // From the sheet's format properties: the row height and the column
    // width (in the file's unit; -1 when not given) of rows and columns
    // without their own.
    double defaultRowHeight = 15;
    double defaultColumnWidth = -1;
    double baseColumnWidth = 8;
};

struct WorkbookData {
    std::uint64_t serial = 0;
    std::vector<ZipMember> parts;  // as read; those the engine writes are replaced when saving
    pugi::xml_document contentTypes;
    std::string workbookPart;
    pugi::xml_document workbook;
    pugi::xml_document workbookRels;
    std::string sharedStringsPart;  // "" when the package has none yet
    std::string stylesPart;
    bool isTemplate = false;
    // A formula was set or moved: its recorded result may no longer hold,
    // so the file asks to be computed anew when it is opened.
    bool formulasChanged = false;
    StringPool strings;
    std::shared_ptr<StyleSheet> styles;
    std::vector<std::unique_ptr<Sheet>> sheets;

    SheetData& DataOf(const Sheet& sheet) const { return *sheet.data_; }
    static std::unique_ptr<Sheet> MakeSheet(std::unique_ptr<SheetData> data) {
        return std::unique_ptr<Sheet>(new Sheet(std::move(data)));
    }
};

// The serial number of a new workbook (never 0, never given twice).
std::uint64_t NextWorkbookSerial();

// Reads *parts* as a workbook; false with *error* when it is none.
bool ReadWorkbook(std::vector<ZipMember> parts, Workbook& owner, WorkbookData& book, std::string& error);
// Reads a worksheet part into *sheet*. *sharedStrings* are the pool numbers
// of the shared string table's entries.
bool ReadWorksheet(std::string_view bytes, const std::vector<std::uint32_t>& sharedStrings, SheetData& sheet,
                   std::string& error);
// The pool number of the text of a shared string entry or an inline string
// (its <t>, or its formatted runs).
std::uint32_t ReadText(pugi::xml_node text, StringPool& pool);
// Reads the shared string table into the pool; the pool numbers by index.
bool ReadSharedStrings(std::string_view bytes, StringPool& pool, std::vector<std::uint32_t>& ids, std::string& error);
// An empty worksheet's part.
std::string_view EmptyWorksheet();

// The pool numbers of texts in the shared string table being written, in
// the order they are met.
class SharedStringWriter {
public:
    explicit SharedStringWriter(const StringPool& pool) : pool_(pool), index_(pool.Size(), kNone) {}
    std::uint32_t IndexOf(std::uint32_t id);
    size_t Count() const { return order_.size(); }
    std::string Write() const;

private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFF;
    const StringPool& pool_;
    std::vector<std::uint32_t> index_;
    std::vector<std::uint32_t> order_;
    std::uint64_t references_ = 0;
};

// Writes a worksheet part from *sheet*.
std::string WriteWorksheet(const SheetData& sheet, SharedStringWriter& strings);
// The members of the package as it is saved for a file ending in *extension*.
bool WritePackage(WorkbookData& book, std::wstring_view extension, std::vector<ZipMember>& parts, std::string& error);

}  // namespace qx::sheet::detail
