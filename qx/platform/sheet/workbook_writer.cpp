// Putting a workbook's package together for saving: the parts the engine
// writes (sheets, shared texts, styles, the workbook part, its relationships
// and the content types) and every other member as it was read.
#include <algorithm>

#include "qx/platform/base/ascii.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/sheet/internal/element_order.h"
#include "qx/platform/sheet/internal/package.h"
#include "qx/platform/sheet/internal/workbook_data.h"
#include "qx/platform/sheet/internal/xml.h"

namespace qx::sheet::detail {

namespace {

struct Kind {
    std::string_view contentType;
    bool macros;
};

Kind KindOf(std::wstring_view extension) {
    if (EqualsIgnoringAsciiCase(extension, L".xltx")) return {content_type::kTemplate, false};
    if (EqualsIgnoringAsciiCase(extension, L".xlsm")) return {content_type::kMacroWorkbook, true};
    if (EqualsIgnoringAsciiCase(extension, L".xltm")) return {content_type::kMacroTemplate, true};
    return {content_type::kWorkbook, false};
}

class PackageWriter {
public:
    PackageWriter(WorkbookData& book, std::vector<ZipMember>& out) : book_(book), out_(out) {
        types_.reset(book.contentTypes);
        rels_.reset(book.workbookRels);
    }

    void Write(const Kind& kind);

private:
    // Takes the part *name* out of the package with its relationship from
    // the workbook, its content type and its own relationships part.
    void Drop(pugi::xml_node relationship);
    // The part of *kind* the workbook refers to, made when missing.
    std::string Ensure(std::string_view kind, std::string_view fallback, std::string_view contentType);
    void Put(const std::string& name, std::string bytes);

    WorkbookData& book_;
    std::vector<ZipMember>& out_;
    pugi::xml_document types_, rels_;
    std::vector<std::string> dropped_;
    std::vector<ZipMember> written_;
};

void PackageWriter::Drop(pugi::xml_node relationship) {
    const std::string part = ResolveTarget(book_.workbookPart, AttributeText(relationship, "Target"));
    rels_.document_element().remove_child(relationship);
    if (part.empty()) return;
    RemoveContentType(types_, part);
    dropped_.push_back(part);
    dropped_.push_back(RelationshipsPart(part));
}

std::string PackageWriter::Ensure(std::string_view kind, std::string_view fallback, std::string_view contentType) {
    if (pugi::xml_node r = FindRelationship(rels_, kind)) {
        const std::string part = ResolveTarget(book_.workbookPart, AttributeText(r, "Target"));
        if (!part.empty()) {
            if (ContentTypeOf(types_, part) != contentType) SetContentType(types_, part, contentType);
            return part;
        }
        rels_.document_element().remove_child(r);
    }
    std::string part(fallback);
    pugi::xml_node root = rels_.document_element();
    pugi::xml_node added = root.append_child((Prefix(root) + "Relationship").c_str());
    added.append_attribute("Id") = FreeRelationshipId(rels_).c_str();
    added.append_attribute("Type") = (std::string(relationship::kBase) + std::string(kind)).c_str();
    added.append_attribute("Target") = RelativeTarget(book_.workbookPart, part).c_str();
    SetContentType(types_, part, contentType);
    return part;
}

void PackageWriter::Put(const std::string& name, std::string bytes) {
    for (ZipMember& member : written_) {
        if (SamePart(member.name, name)) {
            member.data = std::move(bytes);
            return;
        }
    }
    written_.push_back(ZipMember{name, std::move(bytes)});
}

void PackageWriter::Write(const Kind& kind) {
    // The order in which formulas were last computed no longer holds once
    // cells change; spreadsheet programs make it anew.
    while (pugi::xml_node chain = FindRelationship(rels_, relationship::kCalcChain)) Drop(chain);
    if (!kind.macros) {
        while (pugi::xml_node macros = FindRelationship(rels_, relationship::kVbaProject)) Drop(macros);
    }
    SetContentType(types_, book_.workbookPart, kind.contentType);
    if (book_.formulasChanged) {
        pugi::xml_node calc = ChildInOrder(book_.workbook.document_element(), "calcPr", kWorkbookOrder);
        pugi::xml_attribute full = calc.attribute("fullCalcOnLoad");
        if (!full) full = calc.append_attribute("fullCalcOnLoad");
        full = "1";
    }

    SharedStringWriter strings(book_.strings);
    for (const auto& sheet : book_.sheets) {
        const SheetData& data = book_.DataOf(*sheet);
        if (data.worksheet) Put(data.part, WriteWorksheet(data, strings));
    }
    const std::string stylesPart = Ensure(relationship::kStyles, "xl/styles.xml", content_type::kStyles);
    Put(stylesPart, book_.styles->Write());
    if (!book_.sharedStringsPart.empty() || strings.Count() > 0)
        Put(Ensure(relationship::kSharedStrings, "xl/sharedStrings.xml", content_type::kSharedStrings), strings.Write());
    Put(book_.workbookPart, WriteDocument(book_.workbook));
    Put(RelationshipsPart(book_.workbookPart), WriteDocument(rels_));

    out_.clear();
    out_.push_back(ZipMember{"[Content_Types].xml", WriteDocument(types_)});
    auto isDropped = [&](const std::string& name) {
        return std::any_of(dropped_.begin(), dropped_.end(), [&](const std::string& d) { return SamePart(d, name); });
    };
    // Members in the order read, each written one in its old place.
    for (const ZipMember& member : book_.parts) {
        if (SamePart(member.name, "[Content_Types].xml") || isDropped(member.name)) continue;
        const auto fresh = std::find_if(written_.begin(), written_.end(),
                                        [&](const ZipMember& w) { return SamePart(w.name, member.name); });
        if (fresh == written_.end()) {
            out_.push_back(member);
            continue;
        }
        out_.push_back(std::move(*fresh));
        written_.erase(fresh);
    }
    for (ZipMember& member : written_) out_.push_back(std::move(member));
}

}  // namespace

bool WritePackage(WorkbookData& book, std::wstring_view extension, std::vector<ZipMember>& parts, std::string& error) {
    try {
        PackageWriter(book, parts).Write(KindOf(extension));
        return true;
    } catch (const std::bad_alloc&) {
        error = "there is not enough memory to write it";
        return false;
    }
}

}  // namespace qx::sheet::detail
