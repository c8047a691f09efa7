#include "qx/platform/sheet/internal/formula_refs.h"

#include <optional>

#include "qx/platform/base/ascii.h"
#include "qx/platform/base/unicode.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/sheet/cell_value.h"

namespace qx::sheet::detail {

namespace {

struct Change {
    bool shift = false;
    std::int64_t columns = 0;
    std::int64_t rows = 0;
    std::wstring from;  // rename: the old name
    std::string to;     // the new one
};

// Characters of names and references; bytes of UTF-8 sequences count as
// letters, so that sheet and defined names in any script stay whole.
bool IsNameChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '_' || c == '.' || c == '$' || c == '\\' || c == '?' || u >= 0x80;
}

// The column of letters "AB" (1-3 letters, up to XFD), else nullopt.
std::optional<std::uint32_t> Column(std::string_view letters) {
    if (letters.empty() || letters.size() > 3) return std::nullopt;
    std::uint32_t col = 0;
    for (char c : letters) {
        if (!IsAsciiLetter(c)) return std::nullopt;
        col = col * 26 + static_cast<std::uint32_t>(AsciiUpper(c) - 'A' + 1);
    }
    return col <= kMaxColumns ? std::optional(col - 1) : std::nullopt;
}

std::optional<std::uint32_t> RowNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 7) return std::nullopt;
    std::uint32_t row = 0;
    for (char c : digits) {
        if (!IsAsciiDigit(c)) return std::nullopt;
        row = row * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return row >= 1 && row <= kMaxRows ? std::optional(row - 1) : std::nullopt;
}

// One part of a reference ("$B", "12"), moved; "" when it leaves the grid.
std::string Moved(bool absolute, std::int64_t value, std::int64_t by, std::int64_t limit, bool letters) {
    const std::int64_t moved = absolute ? value : value + by;
    if (moved < 0 || moved >= limit) return {};
    const std::string text = letters ? ColumnLetters(static_cast<std::uint32_t>(moved)) : std::to_string(moved + 1);
    return absolute ? "$" + text : text;
}

// A whole token as a cell ("$A$1"), column ("$A") or row ("1") reference,
// moved; nullopt when the token is none of the kind asked for, "" when it
// leaves the grid.
enum class Kind { Cell, Column, Row };
std::optional<std::string> MoveToken(std::string_view token, Kind kind, const Change& change) {
    size_t i = 0;
    std::string out;
    if (kind != Kind::Row) {
        const bool absolute = i < token.size() && token[i] == '$';
        i += absolute;
        const size_t start = i;
        while (i < token.size() && IsAsciiLetter(token[i])) ++i;
        const auto col = Column(token.substr(start, i - start));
        if (!col) return std::nullopt;
        out = Moved(absolute, *col, change.columns, kMaxColumns, true);
        if (out.empty()) return std::string();
        if (kind == Kind::Column) return i == token.size() ? std::optional(out) : std::nullopt;
    }
    const bool absolute = i < token.size() && token[i] == '$';
    i += absolute;
    const auto row = RowNumber(token.substr(i));
    if (!row) return std::nullopt;
    const std::string moved = Moved(absolute, *row, change.rows, kMaxRows, false);
    if (moved.empty()) return std::string();
    return out + moved;
}

bool LooksLikeReference(std::string_view name) {
    Change none;
    return MoveToken(name, Kind::Cell, none).has_value();
}

// A sheet name as a formula writes it: quoted unless it is a plain name.
std::string SheetToken(std::string_view name, bool quote) {
    bool plain = !name.empty() && !IsAsciiDigit(name.front()) && name.front() != '.' && !LooksLikeReference(name);
    for (char c : name) plain &= IsAsciiLetter(c) || IsAsciiDigit(c) || c == '_' || c == '.';
    if (plain && !quote) return std::string(name);
    std::string out = "'";
    for (char c : name) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}

// *names* ("A" or "A:C", a 3-D range of sheets) with the renamed sheet
// replaced; *quoted* tells how it was written.
std::string RenamedSheets(std::string_view names, bool quoted, const Change& change, bool& renamed) {
    const size_t colon = names.find(':');
    std::string parts[2] = {std::string(names.substr(0, colon)),
                            colon == std::string_view::npos ? std::string() : std::string(names.substr(colon + 1))};
    const int count = colon == std::string_view::npos ? 1 : 2;
    renamed = false;
    for (int i = 0; i < count; ++i) {
        if (EqualsFolded(Utf8ToWide(parts[i]), change.from)) {
            parts[i] = change.to;
            renamed = true;
        }
    }
    const std::string joined = count == 1 ? parts[0] : parts[0] + ":" + parts[1];
    if (!renamed) return {};
    // Each part must be plain to stay unquoted; a quoted 3-D range is quoted whole.
    bool plain = !quoted;
    for (int i = 0; i < count; ++i) plain &= SheetToken(parts[i], false) == parts[i];
    return plain ? joined : SheetToken(joined, true);
}

size_t TokenEnd(std::string_view f, size_t i) {
    while (i < f.size() && IsNameChar(f[i])) ++i;
    return i;
}

std::string Rewrite(std::string_view f, const Change& change) {
    std::string out;
    out.reserve(f.size() + 8);
    bool external = false;  // the sheet name that follows "[1]" is one of another workbook
    size_t i = 0;
    while (i < f.size()) {
        const char c = f[i];
        if (c == '"') {
            size_t j = i + 1;
            while (j < f.size() && !(f[j] == '"' && (j + 1 >= f.size() || f[j + 1] != '"'))) j += f[j] == '"' ? 2 : 1;
            j = std::min(j + 1, f.size());
            out.append(f.substr(i, j - i));
            i = j;
            continue;
        }
        if (c == '[') {
            size_t j = i, depth = 0;
            for (; j < f.size(); ++j) {
                if (f[j] == '[') ++depth;
                else if (f[j] == ']' && --depth == 0) break;
            }
            j = std::min(j + 1, f.size());
            out.append(f.substr(i, j - i));
            i = j;
            // "[1]Sheet1!A1": a sheet of another workbook follows.
            external = j < f.size() && (IsNameChar(f[j]) || f[j] == '\'');
            continue;
        }
        if (c == '\'') {
            size_t j = i + 1;
            std::string name;
            while (j < f.size() && !(f[j] == '\'' && (j + 1 >= f.size() || f[j + 1] != '\''))) {
                name += f[j];
                j += f[j] == '\'' ? 2 : 1;
            }
            const size_t end = std::min(j + 1, f.size());
            bool renamed = false;
            std::string replaced;
            if (!change.shift && !external && end < f.size() && f[end] == '!')
                replaced = RenamedSheets(name, true, change, renamed);
            out += renamed ? replaced : std::string(f.substr(i, end - i));
            i = end;
            external = false;
            continue;
        }
        if (!IsNameChar(c)) {
            out += c;
            ++i;
            external = false;
            continue;
        }
        const size_t end = TokenEnd(f, i);
        const std::string_view token = f.substr(i, end - i);
        const char next = end < f.size() ? f[end] : '\0';
        // "A:C", "1:3", and the 3-D "Sheet1:Sheet3!" take two tokens.
        const size_t secondEnd = next == ':' ? TokenEnd(f, end + 1) : end;
        const std::string_view second = f.substr(std::min(end + 1, f.size()), secondEnd - std::min(end + 1, f.size()));
        const bool pair = next == ':' && !second.empty();
        if (next == '(' || (i > 0 && f[i - 1] == '#')) {  // a function, or an error such as #REF!
            out.append(token);
            i = end;
        } else if (!change.shift) {
            const bool sheets = next == '!' || (pair && secondEnd < f.size() && f[secondEnd] == '!');
            const size_t stop = next == '!' ? end : secondEnd;
            bool renamed = false;
            std::string replaced;
            if (sheets && !external) replaced = RenamedSheets(f.substr(i, stop - i), false, change, renamed);
            out += renamed ? replaced : std::string(f.substr(i, (sheets ? stop : end) - i));
            i = sheets ? stop : end;
        } else if (const auto cell = MoveToken(token, Kind::Cell, change)) {
            out += cell->empty() ? "#REF!" : *cell;
            i = end;
        } else if (pair && next != '!') {
            std::optional<std::string> first, last;
            for (Kind kind : {Kind::Column, Kind::Row}) {
                if (!first || !last) {
                    first = MoveToken(token, kind, change);
                    last = MoveToken(second, kind, change);
                }
            }
            if (first && last) {
                out += first->empty() || last->empty() ? "#REF!" : *first + ":" + *last;
                i = secondEnd;
            } else {
                out.append(token);
                i = end;
            }
        } else {
            out.append(token);
            i = end;
        }
        external = false;
    }
    return out;
}

}  // namespace

std::string ShiftFormula(std::string_view formula, std::int64_t columns, std::int64_t rows) {
    if (columns == 0 && rows == 0) return std::string(formula);
    Change change;
    change.shift = true;
    change.columns = columns;
    change.rows = rows;
    return Rewrite(formula, change);
}

std::string RenameSheetInFormula(std::string_view formula, std::string_view from, std::string_view to) {
    Change change;
    change.from = Utf8ToWide(from);
    change.to = std::string(to);
    return Rewrite(formula, change);
}

}  // namespace qx::sheet::detail
