// The texts of a workbook's cells, each held once. A cell refers to its text
// by number; equal texts get the same number, so that a list of many rows
// with few distinct texts stays small, and writing the shared string table
// needs no second search.
//
// A text with formatted runs (part bold, part not) keeps the XML of its runs
// as read, beside its plain text; it is a different entry from the same
// plain text without runs.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

namespace qx::sheet::detail {

class StringPool {
public:
    // The number of a plain text (UTF-8, escapes undone).
    std::uint32_t Plain(std::string_view text);
    // The number of a text with runs: *runsXml* is the content of its <si>
    // element as written, *text* its plain text.
    std::uint32_t Rich(std::string_view runsXml, std::string_view text);

    std::string_view Text(std::uint32_t id) const { return entries_[id].text; }
    // The runs' XML, "" for a plain text.
    std::string_view Runs(std::uint32_t id) const { return entries_[id].runs; }
    std::uint32_t Size() const { return static_cast<std::uint32_t>(entries_.size()); }

private:
    struct Entry {
        std::string text;
        std::string runs;
    };
    std::uint32_t Add(std::string_view text, std::string_view runs);

    std::deque<Entry> entries_;  // a deque keeps the texts in place as it grows
    std::unordered_map<std::string_view, std::uint32_t> plain_;  // views into entries_
    std::unordered_map<std::string_view, std::uint32_t> rich_;
};

}  // namespace qx::sheet::detail
