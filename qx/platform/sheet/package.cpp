#include "qx/platform/sheet/internal/package.h"

#include <algorithm>

#include "qx/platform/base/ascii.h"
#include "qx/platform/sheet/internal/xml.h"

namespace qx::sheet::detail {

namespace {

std::string_view Folder(std::string_view part) {
    const size_t slash = part.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : part.substr(0, slash + 1);
}

std::string_view Extension(std::string_view part) {
    const size_t dot = part.rfind('.');
    return dot == std::string_view::npos || part.find('/', dot) != std::string_view::npos ? std::string_view()
                                                                                         : part.substr(dot + 1);
}

}  // namespace

bool SamePart(std::string_view a, std::string_view b) { return EqualsIgnoringAsciiCase(a, b); }

const ZipMember* FindPart(const std::vector<ZipMember>& parts, std::string_view name) {
    for (const ZipMember& part : parts) {
        if (SamePart(part.name, name)) return &part;
    }
    return nullptr;
}

std::string RelationshipsPart(std::string_view part) {
    const std::string_view folder = Folder(part);
    return std::string(folder) + "_rels/" + std::string(part.substr(folder.size())) + ".rels";
}

std::string ResolveTarget(std::string_view source, std::string_view target) {
    std::string path = target.starts_with('/') ? std::string(target.substr(1)) : std::string(Folder(source)) + std::string(target);
    std::vector<std::string_view> pieces;
    for (std::string_view piece : SplitList(std::string_view(path), '/')) {
        if (piece.empty() || piece == ".") continue;
        if (piece == "..") {
            if (pieces.empty()) return {};
            pieces.pop_back();
            continue;
        }
        pieces.push_back(piece);
    }
    std::string resolved;
    for (std::string_view piece : pieces) {
        if (!resolved.empty()) resolved += '/';
        resolved += piece;
    }
    return resolved;
}

std::string RelativeTarget(std::string_view source, std::string_view part) {
    const std::string_view folder = Folder(source);
    if (!folder.empty() && part.size() > folder.size() && SamePart(part.substr(0, folder.size()), folder))
        return std::string(part.substr(folder.size()));
    return "/" + std::string(part);
}

std::vector<pugi::xml_node> Relationships(const pugi::xml_document& rels) {
    std::vector<pugi::xml_node> list;
    for (pugi::xml_node n = rels.document_element().first_child(); n; n = n.next_sibling()) {
        if (n.type() == pugi::node_element && LocalName(n) == "Relationship") list.push_back(n);
    }
    return list;
}

bool TypeIs(pugi::xml_node relationship, std::string_view kind) {
    const std::string_view type = AttributeText(relationship, "Type");
    return type.ends_with(kind) && type.size() > kind.size();
}

pugi::xml_node FindRelationship(const pugi::xml_document& rels, std::string_view kind) {
    for (pugi::xml_node r : Relationships(rels)) {
        if (TypeIs(r, kind) && !EqualsIgnoringAsciiCase(AttributeText(r, "TargetMode"), "External")) return r;
    }
    return {};
}

std::string FreeRelationshipId(const pugi::xml_document& rels) {
    const std::vector<pugi::xml_node> list = Relationships(rels);
    for (size_t n = list.size() + 1;; ++n) {
        const std::string id = "rId" + std::to_string(n);
        if (std::none_of(list.begin(), list.end(), [&](pugi::xml_node r) { return AttributeText(r, "Id") == id; }))
            return id;
    }
}

std::string ContentTypeOf(const pugi::xml_document& types, std::string_view part) {
    std::string byDefault;
    const std::string_view extension = Extension(part);
    for (pugi::xml_node n = types.document_element().first_child(); n; n = n.next_sibling()) {
        const std::string_view name = LocalName(n);
        if (name == "Override") {
            std::string_view target = AttributeText(n, "PartName");
            if (target.starts_with('/')) target.remove_prefix(1);
            if (SamePart(target, part)) return std::string(AttributeText(n, "ContentType"));
        } else if (name == "Default" && byDefault.empty() &&
                   EqualsIgnoringAsciiCase(AttributeText(n, "Extension"), extension)) {
            byDefault = AttributeText(n, "ContentType");
        }
    }
    return byDefault;
}

void RemoveContentType(pugi::xml_document& types, std::string_view part) {
    for (pugi::xml_node n = types.document_element().first_child(); n;) {
        pugi::xml_node next = n.next_sibling();
        std::string_view target = AttributeText(n, "PartName");
        if (target.starts_with('/')) target.remove_prefix(1);
        if (LocalName(n) == "Override" && SamePart(target, part)) types.document_element().remove_child(n);
        n = next;
    }
}

void SetContentType(pugi::xml_document& types, std::string_view part, std::string_view type) {
    RemoveContentType(types, part);
    pugi::xml_node root = types.document_element();
    pugi::xml_node added = root.append_child((Prefix(root) + "Override").c_str());
    added.append_attribute("PartName").set_value(("/" + std::string(part)).c_str());
    added.append_attribute("ContentType").set_value(std::string(type).c_str());
}

}  // namespace qx::sheet::detail
