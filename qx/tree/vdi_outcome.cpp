// How a VDI import ended, in words for tools and messages.
#include <string>
#include <string_view>

#include "qx/tree/internal/vdi_records.h"
#include "qx/tree/vdi.h"

namespace qx {

namespace detail {

std::wstring ShortRecordType(std::wstring_view type) {
    constexpr size_t kMost = 40;
    constexpr std::wstring_view kCut = L"...";
    std::wstring out(type.size() > kMost ? type.substr(0, kMost - kCut.size()) : type);
    for (wchar_t& c : out) {
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0)) c = L'?';
    }
    if (type.size() > kMost) out += kCut;
    return out;
}

}  // namespace detail

std::wstring DescribeVdiImportOutcome(const VdiImportOutcome& outcome) {
    using Stop = VdiImportOutcome::Stop;
    const std::wstring type = L"record type " + detail::ShortRecordType(outcome.type);
    std::wstring reason;
    switch (outcome.stop) {
        case Stop::kNone:
            return L"import complete";
        case Stop::kUnreadable:
            return L"the file cannot be read";
        case Stop::kNotVdi:
            return L"not a VDI file: it does not begin with the record 010";
        case Stop::kNoRecordType:
            reason = outcome.type.empty() ? std::wstring(L"the line has no record type")
                                          : type + L" is no number";
            break;
        case Stop::kUnknownType:
            reason = type + L" is outside the placement table of part " + std::to_wstring(outcome.partNumber);
            break;
        case Stop::kMissingParent:
            reason = type + L" has no record " + outcome.parent + L" to go below";
            break;
        case Stop::kSecondRoot:
            reason = L"a second record 010";
            break;
        case Stop::kTypeNotKept:
            reason = type + L" cannot be kept (it holds a space or ends in a backslash)";
            break;
    }
    return L"import stopped at line " + std::to_wstring(outcome.line) + L": " + reason;
}

}  // namespace qx
