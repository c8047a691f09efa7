// The format of a cell in words: what its font, fill, border, number format
// and alignment are, as a reader (a test, a dump) wants to see them. Colors
// are given as the file names them: "FFFF0000" (ARGB), "theme 4", "theme 4
// tint -0.25", "indexed 10", "auto", or "" for none. Texts are UTF-8.
#pragma once

#include <cstdint>
#include <string>

namespace qx::sheet {

struct FontFormat {
    std::string name;  // "Calibri"
    double size = 0;   // points
    bool bold = false;
    bool italic = false;
    bool strike = false;
    std::string underline;  // "", "single", "double", ...
    std::string color;
};

struct FillFormat {
    std::string pattern;  // "", "none", "solid", "gray125", ...; "gradient" for a gradient fill
    std::string foreground;
    std::string background;
};

struct BorderLine {
    std::string style;  // "" (none), "thin", "medium", "double", ...
    std::string color;
};

struct BorderFormat {
    BorderLine left, right, top, bottom, diagonal;
};

struct CellFormat {
    std::uint32_t styleIndex = 0;  // the index of the cell's format in the workbook's list
    FontFormat font;
    FillFormat fill;
    BorderFormat border;
    unsigned numberFormatId = 0;
    std::string numberFormat;  // the format code ("General", "0.00", "dd.mm.yyyy")
    std::string horizontal;    // "", "left", "center", "right", ...
    std::string vertical;      // "", "top", "center", "bottom", ...
    bool wrapText = false;
};

}  // namespace qx::sheet
