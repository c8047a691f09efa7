// The messages an export shows, in order, with their flags; questions
// (Yes/No boxes) are answered from a queue of answers, IDNO once it runs
// out.
#pragma once

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "qx/platform/wnd/message_box.h"

namespace qx::test {

class Messages {
public:
    explicit Messages(std::deque<int> answers = {}) : answers_(std::move(answers)) {
        previous_ = qx::SetMessageHandler([this](const wchar_t* text, const wchar_t*, unsigned flags) {
            texts_.push_back(text);
            flags_.push_back(flags);
            if ((flags & MB_TYPEMASK) != MB_YESNO) return IDOK;
            if (answers_.empty()) return IDNO;
            const int answer = answers_.front();
            answers_.pop_front();
            return answer;
        });
    }
    ~Messages() { qx::SetMessageHandler(previous_); }
    Messages(const Messages&) = delete;
    Messages& operator=(const Messages&) = delete;

    const std::vector<std::wstring>& Texts() const { return texts_; }
    const std::vector<unsigned>& Flags() const { return flags_; }
    unsigned LastFlags() const { return flags_.empty() ? 0 : flags_.back(); }

private:
    qx::MessageHandler previous_;
    std::deque<int> answers_;
    std::vector<std::wstring> texts_;
    std::vector<unsigned> flags_;
};

}  // namespace qx::test
