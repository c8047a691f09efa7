#include "qx/print/rich_text_blocks.h"

#include "qx/platform/gfx/rich_text.h"

namespace qx {

RichTextBlocks::RichTextBlocks() = default;
RichTextBlocks::~RichTextBlocks() = default;

int RichTextBlocks::Add(std::string rtf) {
    blocks_.push_back(std::move(rtf));
    return static_cast<int>(blocks_.size());
}

const qx::gfx::RichText* RichTextBlocks::Load(int number) {
    if (number < 1 || number > static_cast<int>(blocks_.size())) return nullptr;
    if (!control_) control_ = std::make_unique<qx::gfx::RichText>();
    if (loaded_ != number) {
        control_->LoadRtf(blocks_[static_cast<size_t>(number - 1)]);
        loaded_ = number;
    }
    return control_.get();
}

void RichTextBlocks::Reset() {
    blocks_.clear();
    control_.reset();
    loaded_ = 0;
}

}  // namespace qx
