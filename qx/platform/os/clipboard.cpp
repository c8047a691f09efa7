#include "qx/platform/os/clipboard.h"

#include <map>
#include <vector>

#include "qx/platform/base/unicode.h"
#include "qx/platform/os/last_error.h"

namespace qx {

namespace {

constexpr unsigned kFirstRegisteredFormat = 0xC000;
constexpr unsigned kLastRegisteredFormat = 0xFFFF;

std::wstring Folded(std::wstring_view text) {
    std::wstring folded(text);
    for (wchar_t& ch : folded) ch = FoldCase(ch);
    return folded;
}

// The one owner of the clipboard's state.
class Clipboard {
public:
    static Clipboard& Instance() {
        static Clipboard clipboard;
        return clipboard;
    }

    unsigned Register(std::wstring_view name) {
        if (name.empty()) {
            SetLastError(kErrorInvalidParameter);
            return 0;
        }
        const auto [it, added] = formatIds_.try_emplace(Folded(name), 0);
        if (!added) return it->second;
        if (names_.size() > kLastRegisteredFormat - kFirstRegisteredFormat) {
            formatIds_.erase(it);
            SetLastError(kErrorNotEnoughMemory);
            return 0;
        }
        names_.emplace_back(name);
        return it->second = kFirstRegisteredFormat + static_cast<unsigned>(names_.size() - 1);
    }

    std::wstring Name(unsigned format) const {
        if (format < kFirstRegisteredFormat || format - kFirstRegisteredFormat >= names_.size()) return {};
        return names_[format - kFirstRegisteredFormat];
    }

    bool Open() {
        if (open_) return Fail(kErrorAccessDenied);
        open_ = true;
        return true;
    }

    bool Close() {
        if (!open_) return Fail(kErrorClipboardNotOpen);
        open_ = false;
        return true;
    }

    bool Empty() {
        if (!open_) return Fail(kErrorClipboardNotOpen);
        data_.clear();
        return true;
    }

    bool Set(unsigned format, std::string_view bytes) {
        if (!open_) return Fail(kErrorClipboardNotOpen);
        if (format == 0) return Fail(kErrorInvalidParameter);
        data_[format] = std::string(bytes);
        return true;
    }

    std::optional<std::string> Get(unsigned format) const {
        if (!open_) {
            SetLastError(kErrorClipboardNotOpen);
            return std::nullopt;
        }
        const auto it = data_.find(format);
        if (it == data_.end()) return std::nullopt;
        return it->second;
    }

    bool Has(unsigned format) const { return data_.contains(format); }

    void Reset() { *this = Clipboard(); }

private:
    static bool Fail(unsigned code) {
        SetLastError(code);
        return false;
    }

    std::map<std::wstring, unsigned> formatIds_;  // by folded name
    std::vector<std::wstring> names_;             // as first registered, by id - 0xC000
    std::map<unsigned, std::string> data_;
    bool open_ = false;
};

}  // namespace

unsigned RegisterClipboardFormatName(std::wstring_view name) { return Clipboard::Instance().Register(name); }

std::wstring ClipboardFormatName(unsigned format) { return Clipboard::Instance().Name(format); }

bool OpenClipboard() { return Clipboard::Instance().Open(); }

bool CloseClipboard() { return Clipboard::Instance().Close(); }

bool EmptyClipboard() { return Clipboard::Instance().Empty(); }

bool SetClipboardData(unsigned format, std::string_view bytes) {
    return Clipboard::Instance().Set(format, bytes);
}

std::optional<std::string> GetClipboardData(unsigned format) { return Clipboard::Instance().Get(format); }

bool IsClipboardFormatAvailable(unsigned format) { return Clipboard::Instance().Has(format); }

void ResetClipboardForTesting() { Clipboard::Instance().Reset(); }

}  // namespace qx
