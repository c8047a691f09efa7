// The cell formats of a style sheet in words, and the digit width of its
// standard font.
#include <charconv>
#include <cmath>

#include "qx/platform/base/ascii.h"
#include "qx/platform/sheet/internal/style_sheet.h"
#include "qx/platform/sheet/internal/xml.h"

namespace qx::sheet::detail {

namespace {

std::string ColorText(pugi::xml_node color) {
    if (!color) return {};
    if (const auto rgb = Attribute(color, "rgb")) return rgb.value();
    std::string text;
    if (const auto theme = Attribute(color, "theme")) text = std::string("theme ") + theme.value();
    else if (const auto indexed = Attribute(color, "indexed")) text = std::string("indexed ") + indexed.value();
    else if (Attribute(color, "auto").as_bool()) text = "auto";
    if (const auto tint = Attribute(color, "tint"); tint && !text.empty()) text += std::string(" tint ") + tint.value();
    return text;
}

// A flag element such as <b/> or <b val="0"/>.
bool Flag(pugi::xml_node parent, std::string_view name) {
    pugi::xml_node flag = Child(parent, name);
    return flag && Attribute(flag, "val").as_bool(true);
}

BorderLine Line(pugi::xml_node border, std::string_view side) {
    pugi::xml_node line = Child(border, side);
    return BorderLine{std::string(AttributeText(line, "style")), ColorText(Child(line, "color"))};
}

template <typename Entries>
pugi::xml_node Entry(const Entries& entries, pugi::xml_node xf, std::string_view attribute) {
    const std::uint32_t index = Attribute(xf, attribute).as_uint();
    return index < entries.size() ? entries[index] : entries.front();
}

}  // namespace

std::string_view BuiltinNumberFormat(std::uint32_t id) {
    static constexpr std::string_view kCodes[] = {
        "General", "0", "0.00", "#,##0", "#,##0.00", "", "", "", "", "0%", "0.00%", "0.00E+00", "# ?/?", "# ?\?/?\?",
        "mm-dd-yy", "d-mmm-yy", "d-mmm", "mmm-yy", "h:mm AM/PM", "h:mm:ss AM/PM", "h:mm", "h:mm:ss", "m/d/yy h:mm",
        "", "", "", "", "", "", "", "", "", "", "", "", "", "", "#,##0 ;(#,##0)", "#,##0 ;[Red](#,##0)",
        "#,##0.00;(#,##0.00)", "#,##0.00;[Red](#,##0.00)", "", "", "", "", "mm:ss", "[h]:mm:ss", "mmss.0", "##0.0E+0", "@"};
    return id < std::size(kCodes) ? kCodes[id] : std::string_view();
}

CellFormat StyleSheet::Describe(std::uint32_t xf) const {
    CellFormat format;
    format.styleIndex = xf < xfs_.entries.size() ? xf : 0;
    pugi::xml_node record = xfs_.entries[format.styleIndex];

    pugi::xml_node font = Entry(fonts_.entries, record, "fontId");
    format.font.name = AttributeText(Child(font, "name"), "val");
    format.font.size = Attribute(Child(font, "sz"), "val").as_double();
    format.font.bold = Flag(font, "b");
    format.font.italic = Flag(font, "i");
    format.font.strike = Flag(font, "strike");
    if (pugi::xml_node u = Child(font, "u")) format.font.underline = Attribute(u, "val") ? Attribute(u, "val").value() : "single";
    format.font.color = ColorText(Child(font, "color"));

    pugi::xml_node fill = Entry(fills_.entries, record, "fillId");
    if (pugi::xml_node pattern = Child(fill, "patternFill")) {
        format.fill.pattern = AttributeText(pattern, "patternType");
        format.fill.foreground = ColorText(Child(pattern, "fgColor"));
        format.fill.background = ColorText(Child(pattern, "bgColor"));
    } else if (Child(fill, "gradientFill")) {
        format.fill.pattern = "gradient";
    }

    pugi::xml_node border = Entry(borders_.entries, record, "borderId");
    format.border = BorderFormat{Line(border, "left"), Line(border, "right"), Line(border, "top"), Line(border, "bottom"),
                                 Line(border, "diagonal")};

    format.numberFormatId = Attribute(record, "numFmtId").as_uint();
    const auto custom = numFmts_.find(format.numberFormatId);
    format.numberFormat = custom != numFmts_.end() ? custom->second : std::string(BuiltinNumberFormat(format.numberFormatId));

    pugi::xml_node alignment = Child(record, "alignment");
    format.horizontal = AttributeText(alignment, "horizontal");
    format.vertical = AttributeText(alignment, "vertical");
    format.wrapText = Attribute(alignment, "wrapText").as_bool();
    return format;
}

int StyleSheet::MaxDigitWidth() const {
    pugi::xml_node font = fonts_.entries.front();
    const std::string_view name = AttributeText(Child(font, "name"), "val");
    double size = Attribute(Child(font, "sz"), "val").as_double(11);
    if (!(size >= 1 && size <= 409)) size = 11;
    // The advance of a digit, in ems, of the faces spreadsheets are set in
    // (and of their metric-compatible stand-ins).
    struct Face {
        std::string_view name;
        double digit;
    };
    static constexpr Face kFaces[] = {
        {"Calibri", 0.507},         {"Carlito", 0.507},         {"Arial", 0.556},       {"Liberation Sans", 0.556},
        {"Helvetica", 0.556},       {"Arimo", 0.556},           {"Times New Roman", 0.5}, {"Liberation Serif", 0.5},
        {"Courier New", 0.6},       {"Liberation Mono", 0.6},   {"Verdana", 0.636},     {"Tahoma", 0.546},
        {"Segoe UI", 0.559},        {"Cambria", 0.556},         {"Aptos", 0.53}};
    double digit = 0.52;
    for (const Face& face : kFaces) {
        if (EqualsIgnoringAsciiCase(face.name, name)) digit = face.digit;
    }
    return std::max(1, static_cast<int>(std::lround(size * 96.0 / 72.0 * digit)));
}

}  // namespace qx::sheet::detail
