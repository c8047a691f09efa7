// XML of the package parts: parsing within bounds, names without their
// namespace prefix, and writing text and nodes back.
//
// The parts' elements are recognised by their local names, so that a part
// written with a prefix for the main namespace ("x:row") reads like one
// without; elements the engine adds take the prefix of their parent.
#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace qx::sheet::detail {

// Deeper nesting is refused. No part of a spreadsheet comes near it; the
// bound keeps every walk over a tree (pugixml frees removed subtrees
// recursively) to a small stack.
inline constexpr size_t kMaxXmlDepth = 256;
// What a parsed part may cost in nodes and attributes, estimated from its
// text before it is parsed (a node for each '<', an attribute for each '=').
inline constexpr size_t kMaxXmlTreeBytes = size_t{1} << 30;

// Parses *bytes* into *doc*; false, with the reason in *error*, for text that
// is no well-formed XML or exceeds the bounds above.
bool ParseXml(std::string_view bytes, pugi::xml_document& doc, std::string& error);

// "row" for "row" and "x:row".
std::string_view LocalName(const char* name);
inline std::string_view LocalName(pugi::xml_node node) { return LocalName(node.name()); }
inline std::string_view LocalName(pugi::xml_attribute attribute) { return LocalName(attribute.name()); }
// "x:" for "x:row", "" for "row".
std::string Prefix(pugi::xml_node node);

// The first child element, or attribute, with local name *local*.
pugi::xml_node Child(pugi::xml_node parent, std::string_view local);
pugi::xml_attribute Attribute(pugi::xml_node node, std::string_view local);
// The text of a child or attribute ("" when there is none).
std::string_view AttributeText(pugi::xml_node node, std::string_view local);

// The element *local* below *parent*, made (with the parent's prefix) when
// missing and placed before the first child that comes after it in *order*
// (the children's local names in the order the schema requires; names not in
// the list count as coming last).
pugi::xml_node ChildInOrder(pugi::xml_node parent, std::string_view local, std::span<const std::string_view> order);

// The node after *node* in document order, staying below *top* (null past
// its end); with *descend* false, the children of *node* are passed over.
// Walks go node by node rather than by recursion.
pugi::xml_node NextInTree(pugi::xml_node node, pugi::xml_node top, bool descend = true);

// Gives *node* and every element below it that has the namespace prefix
// *from* ("x:" or "") the prefix *to*: for elements moved between parts that
// name the main namespace differently.
void Reprefix(pugi::xml_node node, const std::string& from, const std::string& to);
// The text content of an element (its text and CDATA children together).
std::string TextOf(pugi::xml_node node);

// Appends *node* as XML text without indentation.
void AppendNode(pugi::xml_node node, std::string& out);
// A whole part: the XML declaration and the document's nodes.
std::string WriteDocument(const pugi::xml_document& doc);
inline constexpr std::string_view kXmlDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

// Appends *text* escaped for element content or, with *attribute*, for an
// attribute value in double quotes.
void AppendEscaped(std::string& out, std::string_view text, bool attribute);

}  // namespace qx::sheet::detail
