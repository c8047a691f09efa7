#include <algorithm>

#include "qx/platform/sheet/internal/xml.h"

namespace qx::sheet::detail {

namespace {

// Whitespace that is an element's only content (a text " ") is kept; the
// whitespace between elements is not.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_ws_pcdata_single;

bool WithinDepth(const pugi::xml_document& doc) {
    size_t depth = 0;
    pugi::xml_node node = doc.first_child();
    while (node) {
        if (node.first_child()) {
            node = node.first_child();
            if (++depth > kMaxXmlDepth) return false;
            continue;
        }
        while (node && !node.next_sibling()) {
            node = node.parent();
            if (node == doc) return true;
            --depth;
        }
        if (node) node = node.next_sibling();
    }
    return true;
}

struct StringWriter : pugi::xml_writer {
    explicit StringWriter(std::string& out) : out(out) {}
    void write(const void* data, size_t size) override { out.append(static_cast<const char*>(data), size); }
    std::string& out;
};

}  // namespace

bool ParseXml(std::string_view bytes, pugi::xml_document& doc, std::string& error) {
    const size_t nodes = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '<'));
    const size_t attributes = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '='));
    // The counts are at most the text's size, far from overflowing here.
    if (nodes * 64 + attributes * 40 > kMaxXmlTreeBytes) {
        error = "it holds too many elements";
        return false;
    }
    const pugi::xml_parse_result result = doc.load_buffer(bytes.data(), bytes.size(), kParseOptions);
    if (!result) {
        error = std::string("it is not well-formed XML (") + result.description() + " at byte " +
                std::to_string(result.offset) + ")";
        return false;
    }
    if (!doc.document_element()) {
        error = "it holds no XML element";
        return false;
    }
    if (!WithinDepth(doc)) {
        error = "its elements are nested more than " + std::to_string(kMaxXmlDepth) + " deep";
        doc.reset();
        return false;
    }
    return true;
}

std::string_view LocalName(const char* name) {
    const std::string_view text = name;
    const size_t colon = text.find(':');
    return colon == std::string_view::npos ? text : text.substr(colon + 1);
}

std::string Prefix(pugi::xml_node node) {
    const std::string_view text = node.name();
    const size_t colon = text.find(':');
    return colon == std::string_view::npos ? std::string() : std::string(text.substr(0, colon + 1));
}

pugi::xml_node Child(pugi::xml_node parent, std::string_view local) {
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element && LocalName(child) == local) return child;
    }
    return {};
}

pugi::xml_attribute Attribute(pugi::xml_node node, std::string_view local) {
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
        if (LocalName(a) == local) return a;
    }
    return {};
}

std::string_view AttributeText(pugi::xml_node node, std::string_view local) {
    return Attribute(node, local).value();
}

pugi::xml_node ChildInOrder(pugi::xml_node parent, std::string_view local, std::span<const std::string_view> order) {
    if (pugi::xml_node existing = Child(parent, local)) return existing;
    auto rank = [&](std::string_view name) {
        const auto at = std::find(order.begin(), order.end(), name);
        return static_cast<size_t>(at - order.begin());
    };
    const size_t own = rank(local);
    const std::string name = Prefix(parent) + std::string(local);
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element && rank(LocalName(child)) > own)
            return parent.insert_child_before(name.c_str(), child);
    }
    return parent.append_child(name.c_str());
}

pugi::xml_node NextInTree(pugi::xml_node node, pugi::xml_node top, bool descend) {
    if (descend && node.first_child()) return node.first_child();
    while (node != top && !node.next_sibling()) node = node.parent();
    return node == top ? pugi::xml_node() : node.next_sibling();
}

void Reprefix(pugi::xml_node node, const std::string& from, const std::string& to) {
    if (from == to) return;
    for (pugi::xml_node n = node; n; n = NextInTree(n, node)) {
        if (n.type() == pugi::node_element && Prefix(n) == from) n.set_name((to + std::string(LocalName(n))).c_str());
    }
}

std::string TextOf(pugi::xml_node node) {
    std::string text;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) text += child.value();
    }
    return text;
}

void AppendNode(pugi::xml_node node, std::string& out) {
    StringWriter writer(out);
    node.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
}

std::string WriteDocument(const pugi::xml_document& doc) {
    std::string out(kXmlDeclaration);
    for (pugi::xml_node node = doc.first_child(); node; node = node.next_sibling()) {
        if (node.type() != pugi::node_declaration) AppendNode(node, out);
    }
    return out;
}

void AppendEscaped(std::string& out, std::string_view text, bool attribute) {
    size_t plain = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char* entity = nullptr;
        switch (c) {
            case '&': entity = "&amp;"; break;
            case '<': entity = "&lt;"; break;
            case '>': entity = "&gt;"; break;
            case '"': entity = attribute ? "&quot;" : nullptr; break;
            case '\n': entity = attribute ? "&#10;" : nullptr; break;
            case '\r': entity = "&#13;"; break;
            case '\t': entity = attribute ? "&#9;" : nullptr; break;
            default: break;
        }
        if (!entity) continue;
        out.append(text.data() + plain, i - plain);
        out += entity;
        plain = i + 1;
    }
    out.append(text.data() + plain, text.size() - plain);
}

}  // namespace qx::sheet::detail
