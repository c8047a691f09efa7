// The children of a worksheet part and of a workbook part in the order the
// format requires them.
#pragma once

#include <string_view>

namespace qx::sheet::detail {

inline constexpr std::string_view kWorksheetOrder[] = {
    "sheetPr",         "dimension",       "sheetViews",     "sheetFormatPr",     "cols",
    "sheetData",       "sheetCalcPr",     "sheetProtection", "protectedRanges",  "scenarios",
    "autoFilter",      "sortState",       "dataConsolidate", "customSheetViews", "mergeCells",
    "phoneticPr",      "conditionalFormatting", "dataValidations", "hyperlinks", "printOptions",
    "pageMargins",     "pageSetup",       "headerFooter",   "rowBreaks",         "colBreaks",
    "customProperties", "cellWatches",    "ignoredErrors",  "smartTags",         "drawing",
    "legacyDrawing",   "legacyDrawingHF", "drawingHF",      "picture",           "oleObjects",
    "controls",        "webPublishItems", "tableParts",     "extLst"};

inline constexpr std::string_view kWorkbookOrder[] = {
    "fileVersion",   "fileSharing",    "workbookPr",     "AlternateContent", "workbookProtection", "bookViews",
    "sheets",        "functionGroups", "externalReferences", "definedNames", "calcPr",            "oleSize",
    "customWorkbookViews", "pivotCaches", "smartTagPr", "smartTagTypes",  "webPublishing",      "fileRecoveryPr",
    "webPublishObjects", "extLst"};

}  // namespace qx::sheet::detail
