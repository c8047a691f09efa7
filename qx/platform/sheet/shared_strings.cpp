// The shared string table: every text of the workbook's cells once, which
// cells name by index.
#include "qx/platform/sheet/internal/package.h"
#include "qx/platform/sheet/internal/text_escape.h"
#include "qx/platform/sheet/internal/workbook_data.h"
#include "qx/platform/sheet/internal/xml.h"

namespace qx::sheet::detail {

std::uint32_t ReadText(pugi::xml_node text, StringPool& pool) {
    if (!Child(text, "r")) return pool.Plain(DecodeEscapes(TextOf(Child(text, "t"))));
    std::string runs, plain;
    for (pugi::xml_node part = text.first_child(); part; part = part.next_sibling()) {
        if (part.type() != pugi::node_element) continue;
        if (LocalName(part) == "r") plain += DecodeEscapes(TextOf(Child(part, "t")));
        pugi::xml_document scratch;
        const pugi::xml_node copy = scratch.append_copy(part);
        Reprefix(copy, Prefix(part), "");
        AppendNode(copy, runs);
    }
    return pool.Rich(runs, plain);
}

bool ReadSharedStrings(std::string_view bytes, StringPool& pool, std::vector<std::uint32_t>& ids, std::string& error) {
    pugi::xml_document doc;
    if (!ParseXml(bytes, doc, error)) return false;
    // The count attributes are not looked at: the entries are what there is.
    for (pugi::xml_node si = doc.document_element().first_child(); si; si = si.next_sibling()) {
        if (si.type() == pugi::node_element && LocalName(si) == "si") ids.push_back(ReadText(si, pool));
    }
    return true;
}

std::uint32_t SharedStringWriter::IndexOf(std::uint32_t id) {
    ++references_;
    if (index_[id] == kNone) {
        index_[id] = static_cast<std::uint32_t>(order_.size());
        order_.push_back(id);
    }
    return index_[id];
}

std::string SharedStringWriter::Write() const {
    std::string out(kXmlDeclaration);
    out += "<sst xmlns=\"";
    out += kMainNamespace;
    out += "\" count=\"" + std::to_string(references_) + "\" uniqueCount=\"" + std::to_string(order_.size()) + "\">";
    for (std::uint32_t id : order_) {
        out += "<si>";
        if (const std::string_view runs = pool_.Runs(id); !runs.empty()) {
            out += runs;
        } else {
            const std::string_view text = pool_.Text(id);
            out += NeedsPreserve(text) ? "<t xml:space=\"preserve\">" : "<t>";
            AppendCellText(out, text);
            out += "</t>";
        }
        out += "</si>";
    }
    out += "</sst>";
    return out;
}

}  // namespace qx::sheet::detail
