#include "qx/platform/sheet/internal/style_sheet.h"

#include <atomic>
#include <charconv>

#include "qx/platform/sheet/internal/xml.h"

namespace qx::sheet::detail {

namespace {

constexpr std::string_view kDefaultStyles =
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font></fonts>"
    "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
    "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
    "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
    "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
    "<cellXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/></cellXfs>"
    "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
    "</styleSheet>";

// The first entries a collection must have: what a style sheet of a new
// workbook holds (a fill list starts with the two fills the format reserves).
constexpr std::string_view kDefaultFont = "<font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font>";
constexpr std::string_view kDefaultFills[] = {"<fill><patternFill patternType=\"none\"/></fill>",
                                              "<fill><patternFill patternType=\"gray125\"/></fill>"};
constexpr std::string_view kDefaultBorder = "<border><left/><right/><top/><bottom/><diagonal/></border>";
constexpr std::string_view kDefaultXf = "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/>";

// The children of a style sheet in the order the format requires.
constexpr std::string_view kOrder[] = {
    "numFmts", "fonts", "fills", "borders", "cellStyleXfs", "cellXfs", "cellStyles", "dxfs", "tableStyles", "colors", "extLst"};

std::atomic<std::uint64_t> nextSerial{1};

std::uint32_t Number(pugi::xml_node node, std::string_view attribute) {
    const std::string_view text = AttributeText(node, attribute);
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

void SetNumber(pugi::xml_node node, const char* attribute, std::uint32_t value) {
    pugi::xml_attribute a = Attribute(node, attribute);
    if (!a) a = node.append_attribute(attribute);
    a.set_value(value);
}

// Takes out of an entry brought in from another workbook what may name a
// namespace this part does not declare: extensions, and elements and
// attributes with another prefix than the entry's own.
void StripForeign(pugi::xml_node entry) {
    const std::string own = Prefix(entry);
    std::vector<pugi::xml_node> elements;
    std::vector<std::pair<pugi::xml_node, pugi::xml_attribute>> attributes;
    for (pugi::xml_node node = entry; node;) {
        bool descend = true;
        if (node.type() == pugi::node_element) {
            if (node != entry && (Prefix(node) != own || LocalName(node) == "extLst")) {
                elements.push_back(node);
                descend = false;
            }
            for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
                if (std::string_view(a.name()).find(':') != std::string_view::npos) attributes.emplace_back(node, a);
            }
        }
        node = NextInTree(node, entry, descend);
    }
    for (auto& [owner, a] : attributes) owner.remove_attribute(a);
    for (pugi::xml_node e : elements) e.parent().remove_child(e);
}

std::string Key(pugi::xml_node node) {
    std::string key;
    AppendNode(node, key);
    return key;
}

}  // namespace

StyleSheet::StyleSheet() : serial_(nextSerial++) {}

bool StyleSheet::Load(std::string_view bytes, std::string& error) {
    original_ = std::string(bytes);
    if (!ParseXml(bytes.empty() ? kDefaultStyles : bytes, doc_, error)) return false;
    changed_ = bytes.empty();
    Index();
    Repair();
    return true;
}

void StyleSheet::Index() {
    pugi::xml_node root = doc_.document_element();
    auto collect = [&](Collection& c, std::string_view list, std::string_view entry) {
        c.parent = ChildInOrder(root, list, kOrder);
        for (pugi::xml_node n = c.parent.first_child(); n; n = n.next_sibling()) {
            if (n.type() == pugi::node_element && LocalName(n) == entry) c.entries.push_back(n);
        }
    };
    collect(fonts_, "fonts", "font");
    collect(fills_, "fills", "fill");
    collect(borders_, "borders", "border");
    collect(styleXfs_, "cellStyleXfs", "xf");
    collect(xfs_, "cellXfs", "xf");
    numFmtParent_ = Child(root, "numFmts");
    for (pugi::xml_node n = numFmtParent_.first_child(); n; n = n.next_sibling()) {
        if (n.type() != pugi::node_element || LocalName(n) != "numFmt" || !Attribute(n, "numFmtId")) continue;
        const std::uint32_t id = Number(n, "numFmtId");
        const std::string code(AttributeText(n, "formatCode"));
        numFmts_[id] = code;
        numFmtIds_.emplace(code, id);
    }
}

void StyleSheet::Repair() {
    auto fill = [&](Collection& c, std::initializer_list<std::string_view> defaults) {
        size_t i = 0;
        for (std::string_view text : defaults) {
            if (c.entries.size() <= i++) {
                c.parent.append_buffer(text.data(), text.size());
                pugi::xml_node added = c.parent.last_child();
                Reprefix(added, "", Prefix(c.parent));
                c.entries.push_back(added);
                SetNumber(c.parent, "count", static_cast<std::uint32_t>(c.entries.size()));
                changed_ = true;
            }
        }
    };
    fill(fonts_, {kDefaultFont});
    fill(fills_, {kDefaultFills[0], kDefaultFills[1]});
    fill(borders_, {kDefaultBorder});
    fill(styleXfs_, {kDefaultXf});
    fill(xfs_, {kDefaultXf});
    auto clamp = [&](pugi::xml_node xf, const char* attribute, size_t count) {
        if (Attribute(xf, attribute) && Number(xf, attribute) >= count) {
            SetNumber(xf, attribute, 0);
            changed_ = true;
        }
    };
    for (Collection* c : {&styleXfs_, &xfs_}) {
        for (pugi::xml_node xf : c->entries) {
            clamp(xf, "fontId", fonts_.entries.size());
            clamp(xf, "fillId", fills_.entries.size());
            clamp(xf, "borderId", borders_.entries.size());
            const std::uint32_t numFmt = Number(xf, "numFmtId");
            if (!numFmts_.count(numFmt) && BuiltinNumberFormat(numFmt).empty() && numFmt >= 164) {
                SetNumber(xf, "numFmtId", 0);
                changed_ = true;
            }
        }
    }
    for (pugi::xml_node xf : xfs_.entries) clamp(xf, "xfId", styleXfs_.entries.size());
}

std::string StyleSheet::Write() const { return changed_ ? WriteDocument(doc_) : original_; }

std::uint32_t StyleSheet::Add(pugi::xml_node entry, const std::string& key, Collection& into) {
    pugi::xml_node added = into.parent.append_copy(entry);
    const auto index = static_cast<std::uint32_t>(into.entries.size());
    into.entries.push_back(added);
    into.keys.emplace(key, index);
    SetNumber(into.parent, "count", index + 1);
    changed_ = true;
    return index;
}

std::uint32_t StyleSheet::ImportEntry(const Collection& from, std::uint32_t index, Collection& into) {
    if (into.keys.empty()) {
        for (std::uint32_t i = 0; i < into.entries.size(); ++i) into.keys.emplace(Key(into.entries[i]), i);
    }
    pugi::xml_document scratch;
    pugi::xml_node copy = scratch.append_copy(from.entries[index < from.entries.size() ? index : 0]);
    StripForeign(copy);
    Reprefix(copy, Prefix(copy), Prefix(into.parent));
    const std::string key = Key(copy);
    if (const auto found = into.keys.find(key); found != into.keys.end()) return found->second;
    return Add(copy, key, into);
}

std::uint32_t StyleSheet::ImportNumberFormat(const StyleSheet& source, std::uint32_t id) {
    const auto defined = source.numFmts_.find(id);
    if (defined == source.numFmts_.end()) return BuiltinNumberFormat(id).empty() && id >= 164 ? 0 : id;
    const std::string& code = defined->second;
    if (const auto found = numFmtIds_.find(code); found != numFmtIds_.end()) return found->second;
    // A new id above every one in use (custom formats start at 164).
    std::uint32_t fresh = 164;
    if (!numFmts_.empty() && numFmts_.rbegin()->first >= fresh) fresh = numFmts_.rbegin()->first + 1;
    while (fresh == 0 || numFmts_.count(fresh)) ++fresh;  // wrapped around: the first gap
    if (!numFmtParent_) numFmtParent_ = ChildInOrder(doc_.document_element(), "numFmts", kOrder);
    pugi::xml_node added = numFmtParent_.append_child((Prefix(numFmtParent_) + "numFmt").c_str());
    added.append_attribute("numFmtId").set_value(fresh);
    added.append_attribute("formatCode").set_value(code.c_str());
    numFmts_[fresh] = code;
    numFmtIds_.emplace(code, fresh);
    std::uint32_t count = 0;
    for (pugi::xml_node n = numFmtParent_.first_child(); n; n = n.next_sibling()) count += n.type() == pugi::node_element;
    SetNumber(numFmtParent_, "count", count);
    changed_ = true;
    return fresh;
}

std::uint32_t StyleSheet::ImportXf(const StyleSheet& source, pugi::xml_node xf, Collection& into, std::uint32_t styleXf) {
    pugi::xml_document scratch;
    pugi::xml_node copy = scratch.append_copy(xf);
    StripForeign(copy);
    Reprefix(copy, Prefix(copy), Prefix(into.parent));
    SetNumber(copy, "fontId", ImportEntry(source.fonts_, Number(xf, "fontId"), fonts_));
    SetNumber(copy, "fillId", ImportEntry(source.fills_, Number(xf, "fillId"), fills_));
    SetNumber(copy, "borderId", ImportEntry(source.borders_, Number(xf, "borderId"), borders_));
    SetNumber(copy, "numFmtId", ImportNumberFormat(source, Number(xf, "numFmtId")));
    if (&into == &xfs_) SetNumber(copy, "xfId", styleXf);
    if (into.keys.empty()) {
        for (std::uint32_t i = 0; i < into.entries.size(); ++i) into.keys.emplace(Key(into.entries[i]), i);
    }
    const std::string key = Key(copy);
    if (const auto found = into.keys.find(key); found != into.keys.end()) return found->second;
    return Add(copy, key, into);
}

std::uint32_t StyleSheet::Import(const StyleSheet& source, std::uint32_t xf) {
    if (source.serial_ == serial_) return xf < xfs_.entries.size() ? xf : 0;
    if (xf >= source.xfs_.entries.size()) xf = 0;
    std::vector<std::uint32_t>& known = imported_[source.serial_];
    if (known.size() <= xf) known.resize(source.xfs_.entries.size(), 0);
    if (known[xf]) return known[xf] - 1;
    pugi::xml_node from = source.xfs_.entries[xf];
    std::uint32_t styleXf = Number(from, "xfId");
    if (styleXf >= source.styleXfs_.entries.size()) styleXf = 0;
    const std::uint32_t ownStyle = ImportXf(source, source.styleXfs_.entries[styleXf], styleXfs_, 0);
    const std::uint32_t own = ImportXf(source, from, xfs_, ownStyle);
    known[xf] = own + 1;
    return own;
}

}  // namespace qx::sheet::detail
