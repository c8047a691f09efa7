// A copied range of cells, and the clipboard that holds the last one.
//
// A copy is a value of its own: it keeps what it needs of its source (the
// texts, and the formats by their source's style sheet), so it can be pasted
// after the source has been edited or closed, any number of times, into any
// sheet of any workbook.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

#include "qx/platform/base/export.h"

namespace qx::sheet {

namespace detail {
struct CopyData;
}

class QX_API RangeCopy {
public:
    RangeCopy();
    ~RangeCopy();
    RangeCopy(const RangeCopy&);
    RangeCopy& operator=(const RangeCopy&);

    bool Empty() const;
    std::uint32_t Columns() const;
    std::uint32_t Rows() const;

private:
    friend class Sheet;
    explicit RangeCopy(std::shared_ptr<const detail::CopyData> data);
    std::shared_ptr<const detail::CopyData> data_;
};

// Holds the last copy; belongs to an engine, not to the process.
class QX_API Clipboard {
public:
    void Put(RangeCopy copy) { content_ = std::move(copy); }
    // Null when nothing was put.
    const RangeCopy* Content() const { return content_ ? &*content_ : nullptr; }
    void Clear() { content_.reset(); }

private:
    std::optional<RangeCopy> content_;
};

}  // namespace qx::sheet
