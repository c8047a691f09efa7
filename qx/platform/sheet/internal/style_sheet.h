// A workbook's cell formats (its styles part): the fonts, fills, borders and
// number formats, and the cell formats ("xf" records) that combine them.
//
// Entries are only ever added, never changed or removed, so an index once
// valid stays valid and means the same; a copied range can keep the style
// sheet of its source alive and refer to it by index.
//
// Importing a format of another workbook adds what this one lacks, each
// entry at most once: an entry equal to one already here is found by its
// text, and each source format, once imported, is remembered by the source's
// serial number, so that pasting the same range any number of times adds
// nothing after the first time.
#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "qx/platform/sheet/cell_format.h"

namespace qx::sheet::detail {

class StyleSheet {
public:
    StyleSheet();

    // Reads a styles part; "" gives the styles of a new workbook. A
    // reference to a font, fill, border, number format or cell style that
    // does not exist is made to refer to the first one (the file is repaired
    // when it is written). False, with *error*, for a part that is no XML.
    bool Load(std::string_view bytes, std::string& error);

    std::uint64_t Serial() const { return serial_; }
    std::uint32_t CellFormatCount() const { return static_cast<std::uint32_t>(xfs_.entries.size()); }
    // The index here for cell format *xf* of *source* (out of range: the
    // first), adding what is missing.
    std::uint32_t Import(const StyleSheet& source, std::uint32_t xf);

    // Whether the part must be written anew (entries added or repaired).
    bool Changed() const { return changed_; }
    // The part's text: as read when nothing changed.
    std::string Write() const;

    CellFormat Describe(std::uint32_t xf) const;
    // The width of a digit of the workbook's standard font, in pixels at 96
    // dots per inch: the unit of column widths.
    int MaxDigitWidth() const;

private:
    struct Collection {
        pugi::xml_node parent;
        std::vector<pugi::xml_node> entries;
        std::unordered_map<std::string, std::uint32_t> keys;  // built at the first import
    };

    void Index();
    void Repair();
    std::uint32_t ImportEntry(const Collection& from, std::uint32_t index, Collection& into);
    std::uint32_t ImportNumberFormat(const StyleSheet& source, std::uint32_t id);
    std::uint32_t ImportXf(const StyleSheet& source, pugi::xml_node xf, Collection& into, std::uint32_t styleXf);
    std::uint32_t Add(pugi::xml_node entry, const std::string& key, Collection& into);

    std::uint64_t serial_;
    std::string original_;
    pugi::xml_document doc_;
    bool changed_ = false;
    Collection fonts_, fills_, borders_, styleXfs_, xfs_;
    pugi::xml_node numFmtParent_;
    std::map<std::uint32_t, std::string> numFmts_;  // id to code, as defined here
    std::unordered_map<std::string, std::uint32_t> numFmtIds_;  // code to id
    // Per source serial, per source format: 1 + the index here (0: not yet).
    std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> imported_;
};

// The code of a built-in number format ("0.00" for 2); "" for an id without one.
std::string_view BuiltinNumberFormat(std::uint32_t id);

}  // namespace qx::sheet::detail
