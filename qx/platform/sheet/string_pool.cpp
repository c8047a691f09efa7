#include "qx/platform/sheet/internal/string_pool.h"

namespace qx::sheet::detail {

std::uint32_t StringPool::Add(std::string_view text, std::string_view runs) {
    entries_.push_back(Entry{std::string(text), std::string(runs)});
    return static_cast<std::uint32_t>(entries_.size() - 1);
}

std::uint32_t StringPool::Plain(std::string_view text) {
    if (const auto found = plain_.find(text); found != plain_.end()) return found->second;
    const std::uint32_t id = Add(text, {});
    plain_.emplace(entries_.back().text, id);
    return id;
}

std::uint32_t StringPool::Rich(std::string_view runsXml, std::string_view text) {
    if (runsXml.empty()) return Plain(text);
    if (const auto found = rich_.find(runsXml); found != rich_.end()) return found->second;
    const std::uint32_t id = Add(text, runsXml);
    rich_.emplace(entries_.back().runs, id);
    return id;
}

}  // namespace qx::sheet::detail
