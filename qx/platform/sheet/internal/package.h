// The package a workbook is stored in: zip members ("parts") named by paths
// inside it, their content types ([Content_Types].xml) and the
// relationships between them (the _rels/*.rels parts).
#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/os/zip_store.h"

namespace qx::sheet::detail {

namespace content_type {
inline constexpr std::string_view kWorkbook = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";
inline constexpr std::string_view kTemplate = "application/vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml";
inline constexpr std::string_view kMacroWorkbook = "application/vnd.ms-excel.sheet.macroEnabled.main+xml";
inline constexpr std::string_view kMacroTemplate = "application/vnd.ms-excel.template.macroEnabled.main+xml";
inline constexpr std::string_view kWorksheet = "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";
inline constexpr std::string_view kSharedStrings =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml";
inline constexpr std::string_view kStyles = "application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml";
}  // namespace content_type

namespace relationship {
// Types are told apart by their last part, which the transitional and the
// strict form of the format share.
inline constexpr std::string_view kOfficeDocument = "/officeDocument";
inline constexpr std::string_view kWorksheet = "/worksheet";
inline constexpr std::string_view kSharedStrings = "/sharedStrings";
inline constexpr std::string_view kStyles = "/styles";
inline constexpr std::string_view kCalcChain = "/calcChain";
inline constexpr std::string_view kVbaProject = "/vbaProject";
inline constexpr std::string_view kBase = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
}  // namespace relationship

inline constexpr std::string_view kMainNamespace = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";

// Part names compare without regard to ASCII case, as the package format
// requires.
bool SamePart(std::string_view a, std::string_view b);
// The member named *name*, or null.
const ZipMember* FindPart(const std::vector<ZipMember>& parts, std::string_view name);

// "xl/_rels/workbook.xml.rels" for "xl/workbook.xml".
std::string RelationshipsPart(std::string_view part);
// The part a relationship of *source* points at ("worksheets/sheet1.xml"
// from "xl/workbook.xml" is "xl/worksheets/sheet1.xml"; "/xl/a.xml" is
// absolute); "" for a target that leaves the package.
std::string ResolveTarget(std::string_view source, std::string_view target);
// The target to write in a relationship of *source* for *part*.
std::string RelativeTarget(std::string_view source, std::string_view part);

// The relationship elements of a .rels document.
std::vector<pugi::xml_node> Relationships(const pugi::xml_document& rels);
bool TypeIs(pugi::xml_node relationship, std::string_view kind);
// The first internal relationship of *kind*, or a null node.
pugi::xml_node FindRelationship(const pugi::xml_document& rels, std::string_view kind);
// An id not used in *rels* ("rId7").
std::string FreeRelationshipId(const pugi::xml_document& rels);

// The content type [Content_Types].xml gives *part*: its Override, else
// the Default for its extension; "" when none.
std::string ContentTypeOf(const pugi::xml_document& types, std::string_view part);
// Sets the Override of *part* to *type*.
void SetContentType(pugi::xml_document& types, std::string_view part, std::string_view type);
void RemoveContentType(pugi::xml_document& types, std::string_view part);

}  // namespace qx::sheet::detail
