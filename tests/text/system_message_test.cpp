#include "qx/text/system_message.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qx/platform/os/last_error.h"
#include "qx/platform/wnd/message_box.h"

namespace {

TEST(FormatMessageTest, KnowsTheCodesTheOsLayerReports) {
    struct Case {
        unsigned long code;
        const wchar_t* want;
    } cases[] = {
        {qx::kErrorFileNotFound, L"The system cannot find the file specified."},
        {qx::kErrorPathNotFound, L"The system cannot find the path specified."},
        {qx::kErrorAccessDenied, L"Access is denied."},
        {qx::kErrorCantResolveFilename, L"The name of the file cannot be resolved by the system."},
        {1, L""},
        {999999, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(FormatMessageW(c.code).str(), c.want);
    }
    const unsigned reported[] = {
        qx::kErrorTooManyOpenFiles, qx::kErrorInvalidHandle,  qx::kErrorNotEnoughMemory,  qx::kErrorNotSameDevice,
        qx::kErrorWriteProtect,     qx::kErrorGenFailure,     qx::kErrorSharingViolation, qx::kErrorNotSupported,
        qx::kErrorBadNetPath,       qx::kErrorFileExists,     qx::kErrorInvalidParameter, qx::kErrorDiskFull,
        qx::kErrorInvalidName,      qx::kErrorDirNotEmpty,    qx::kErrorAlreadyExists,    qx::kErrorFilenameExcedRange,
        qx::kErrorFileTooLarge,     qx::kErrorIoDevice,       qx::kErrorClipboardNotOpen,
    };
    for (unsigned code : reported) {
        SCOPED_TRACE(code);
        CString text = FormatMessageW(code);
        EXPECT_FALSE(text.IsEmpty());
        EXPECT_EQ(text.Right(1).str(), L".");
    }
}

struct Shown {
    std::wstring text;
    unsigned flags;
};

class ReportExceptionTest : public testing::Test {
protected:
    std::vector<Shown> shown_;
    qx::ScopedMessageHandler handler_{[this](const wchar_t* text, const wchar_t*, unsigned flags) {
        shown_.push_back({text, flags});
        return IDOK;
    }};
};

TEST_F(ReportExceptionTest, ShowsMessageFileAndLine) {
    CSimpleException e(L"Datei defekt");
    ReportException(&e, "tree/reader.cpp", 42);
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].text, L"Error: Datei defekt\nFile: tree/reader.cpp\nLine: 42");
    EXPECT_EQ(shown_[0].flags & MB_ICONMASK, MB_ICONERROR);
}

TEST_F(ReportExceptionTest, CutsLongMessagesAndTakesNulls) {
    CSimpleException e(std::wstring(300, L'x').c_str());
    ReportException(&e, nullptr, 1);
    ReportException(nullptr, "f\xE4.cpp", 2);  // 8-bit text in code page 1252
    ASSERT_EQ(shown_.size(), 2u);
    EXPECT_EQ(shown_[0].text, L"Error: " + std::wstring(128, L'x') + L"\nFile: \nLine: 1");
    EXPECT_EQ(shown_[1].text, L"Error: \nFile: f\u00E4.cpp\nLine: 2");
}

}  // namespace
