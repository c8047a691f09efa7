// The rich texts of a print job: composition moves each rich text out of its
// object into a numbered block (numbers from 1), and one rich-text control,
// made on first use, lays the blocks out for measuring and drawing.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "qx/platform/base/export.h"

namespace qx::gfx {
class RichText;
}

namespace qx {

class QX_API RichTextBlocks {
public:
    RichTextBlocks();
    ~RichTextBlocks();
    RichTextBlocks(const RichTextBlocks&) = delete;
    RichTextBlocks& operator=(const RichTextBlocks&) = delete;

    // Keeps *rtf* (8-bit) and returns its block number.
    int Add(std::string rtf);
    // The control holding block *number*, or null when there is no such
    // block.
    const qx::gfx::RichText* Load(int number);
    // Releases the blocks and the control.
    void Reset();

private:
    std::vector<std::string> blocks_;
    std::unique_ptr<qx::gfx::RichText> control_;
    int loaded_ = 0;  // block the control holds, 0 none
};

}  // namespace qx
