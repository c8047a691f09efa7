// Reading a package as a workbook: its main part, the styles and shared
// texts, and each sheet.
#include <algorithm>
#include <atomic>

#include "qx/platform/base/ascii.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/sheet/internal/package.h"
#include "qx/platform/sheet/internal/workbook_data.h"
#include "qx/platform/sheet/internal/xml.h"

namespace qx::sheet::detail {

namespace {

bool ParsePart(const std::vector<ZipMember>& parts, std::string_view name, pugi::xml_document& doc, std::string& error) {
    const ZipMember* part = FindPart(parts, name);
    if (!part) {
        error = "it has no part " + std::string(name);
        return false;
    }
    if (ParseXml(part->data, doc, error)) return true;
    error = std::string(name) + ": " + error;
    return false;
}

bool UniqueNames(const std::vector<ZipMember>& parts, std::string& error) {
    std::vector<std::string> names;
    names.reserve(parts.size());
    for (const ZipMember& part : parts) {
        std::string lower = part.name;
        for (char& c : lower) c = AsciiLower(c);
        names.push_back(std::move(lower));
    }
    std::sort(names.begin(), names.end());
    const auto twice = std::adjacent_find(names.begin(), names.end());
    if (twice == names.end()) return true;
    error = "it holds two members named " + *twice;
    return false;
}

// The part the relationship *id* of the workbook points at, and its node.
pugi::xml_node RelationshipById(const pugi::xml_document& rels, std::string_view id) {
    for (pugi::xml_node r : Relationships(rels)) {
        if (AttributeText(r, "Id") == id) return r;
    }
    return {};
}

bool ReadSheets(WorkbookData& book, Workbook& owner, const std::vector<std::uint32_t>& sharedStrings, std::string& error) {
    pugi::xml_node sheets = Child(book.workbook.document_element(), "sheets");
    std::vector<std::string> used;
    for (pugi::xml_node entry = sheets.first_child(); entry; entry = entry.next_sibling()) {
        if (entry.type() != pugi::node_element || LocalName(entry) != "sheet") continue;
        auto data = std::make_unique<SheetData>();
        data->book = &book;
        data->owner = &owner;
        data->entry = entry;
        data->name = Utf8ToWide(AttributeText(entry, "name"));
        const std::string_view id = AttributeText(entry, "id");
        pugi::xml_node rel = RelationshipById(book.workbookRels, id);
        data->part = ResolveTarget(book.workbookPart, AttributeText(rel, "Target"));
        const ZipMember* part = data->part.empty() ? nullptr : FindPart(book.parts, data->part);
        if (!rel || !part) {
            error = "the part of sheet \"" + std::string(AttributeText(entry, "name")) + "\" is missing";
            return false;
        }
        for (const std::string& other : used) {
            if (SamePart(other, data->part)) {
                error = "two sheets share the part " + data->part;
                return false;
            }
        }
        used.push_back(data->part);
        data->worksheet = TypeIs(rel, relationship::kWorksheet);
        if (data->worksheet && !ReadWorksheet(part->data, sharedStrings, *data, error)) {
            error = data->part + ": " + error;
            return false;
        }
        book.sheets.push_back(WorkbookData::MakeSheet(std::move(data)));
    }
    if (book.sheets.empty()) {
        error = "it has no sheet";
        return false;
    }
    return true;
}

}  // namespace

std::uint64_t NextWorkbookSerial() {
    static std::atomic<std::uint64_t> next{1};
    return next++;
}

bool ReadWorkbook(std::vector<ZipMember> parts, Workbook& owner, WorkbookData& book, std::string& error) {
    if (!UniqueNames(parts, error)) return false;
    book.serial = NextWorkbookSerial();
    book.parts = std::move(parts);
    if (!ParsePart(book.parts, "[Content_Types].xml", book.contentTypes, error)) return false;
    pugi::xml_document rootRels;
    if (!ParsePart(book.parts, "_rels/.rels", rootRels, error)) return false;
    pugi::xml_node main = FindRelationship(rootRels, relationship::kOfficeDocument);
    book.workbookPart = ResolveTarget("", AttributeText(main, "Target"));
    if (!main || book.workbookPart.empty()) {
        error = "it names no main part";
        return false;
    }
    const std::string type = ContentTypeOf(book.contentTypes, book.workbookPart);
    book.isTemplate = type == content_type::kTemplate || type == content_type::kMacroTemplate;
    if (!book.isTemplate && type != content_type::kWorkbook && type != content_type::kMacroWorkbook) {
        error = "it is no spreadsheet (its main part is of type \"" + type + "\")";
        return false;
    }
    if (!ParsePart(book.parts, book.workbookPart, book.workbook, error)) return false;
    if (LocalName(book.workbook.document_element()) != "workbook") {
        error = book.workbookPart + ": it is no workbook";
        return false;
    }
    const std::string relsPart = RelationshipsPart(book.workbookPart);
    if (!ParsePart(book.parts, relsPart, book.workbookRels, error)) return false;

    pugi::xml_node styles = FindRelationship(book.workbookRels, relationship::kStyles);
    book.stylesPart = styles ? ResolveTarget(book.workbookPart, AttributeText(styles, "Target")) : std::string();
    const ZipMember* stylesMember = book.stylesPart.empty() ? nullptr : FindPart(book.parts, book.stylesPart);
    book.styles = std::make_shared<StyleSheet>();
    if (!book.styles->Load(stylesMember ? std::string_view(stylesMember->data) : std::string_view(), error)) {
        error = book.stylesPart + ": " + error;
        return false;
    }

    std::vector<std::uint32_t> sharedStrings;
    pugi::xml_node strings = FindRelationship(book.workbookRels, relationship::kSharedStrings);
    book.sharedStringsPart = strings ? ResolveTarget(book.workbookPart, AttributeText(strings, "Target")) : std::string();
    if (const ZipMember* part = book.sharedStringsPart.empty() ? nullptr : FindPart(book.parts, book.sharedStringsPart)) {
        if (!ReadSharedStrings(part->data, book.strings, sharedStrings, error)) {
            error = book.sharedStringsPart + ": " + error;
            return false;
        }
    }
    return ReadSheets(book, owner, sharedStrings, error);
}

}  // namespace qx::sheet::detail
