// Sheet names: which a workbook accepts, and renaming the references to a
// sheet everywhere formulas name it.
#pragma once

#include <string>
#include <string_view>

#include "qx/platform/sheet/internal/workbook_data.h"

namespace qx::sheet::detail {

// Whether *name* may name a sheet of *book* other than *self* (may be null);
// the reason in *error* when not.
bool CheckSheetName(const WorkbookData& book, std::wstring_view name, const SheetData* self, std::string& error);

// Makes the defined names and the formulas of every sheet (in cells, and in
// the conditional formats and validations kept with a sheet) that refer to
// sheet *from* refer to *to* (both UTF-8).
void RenameReferences(WorkbookData& book, std::string_view from, std::string_view to);

}  // namespace qx::sheet::detail
