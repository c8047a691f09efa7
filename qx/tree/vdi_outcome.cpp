// How a VDI import ended, in words for tools and messages.
#include <string>
#include <string_view>

#include "qx/tree/internal/vdi_records.h"
#include "qx/tree/vdi.h"

namespace qx {

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
