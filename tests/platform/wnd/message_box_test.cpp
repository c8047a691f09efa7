#include "qx/platform/wnd/message_box.h"

#include <gtest/gtest.h>

#include <string>

namespace qx {
namespace {

TEST(MessageBoxTest, TheDefaultAnswerIsTheDefaultButton) {
    struct Case {
        const char* name;
        unsigned flags;
        int answer;
    };
    const Case cases[] = {
        {"ok", MB_OK, IDOK},
        {"ok, second default", MB_OK | MB_DEFBUTTON2, IDOK},
        {"ok cancel", MB_OKCANCEL, IDOK},
        {"ok cancel, second", MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {"abort retry ignore", MB_ABORTRETRYIGNORE, IDABORT},
        {"abort retry ignore, second", MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
        {"abort retry ignore, third", MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE},
        {"yes no cancel", MB_YESNOCANCEL | MB_ICONQUESTION, IDYES},
        {"yes no cancel, third", MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {"yes no", MB_YESNO | MB_ICONWARNING, IDYES},
        {"yes no, second", MB_YESNO | MB_ICONERROR | MB_DEFBUTTON2, IDNO},
        {"yes no, third of two", MB_YESNO | MB_DEFBUTTON3, IDYES},
        {"retry cancel, second", MB_RETRYCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {"unknown type", 0xE | MB_DEFBUTTON2, IDOK},
        {"fourth default of three", MB_YESNOCANCEL | 0x300u, IDYES},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DefaultMessageButton(c.flags), c.answer);
        testing::internal::CaptureStderr();
        EXPECT_EQ(ShowMessage(L"text", L"caption", c.flags), c.answer);
        testing::internal::GetCapturedStderr();
    }
}

TEST(MessageBoxTest, TheDefaultHandlerWritesCaptionAndText) {
    testing::internal::CaptureStderr();
    ShowMessage(L"Datei nicht gefunden: \u00C4.txt", L"Fehler", MB_OK | MB_ICONERROR);
    ShowMessage(nullptr, L"Leer", MB_OK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Fehler: Datei nicht gefunden: \xC3\x84.txt\nLeer: \n");
}

TEST(MessageBoxTest, AnInstalledHandlerAnswersUntilRestored) {
    std::wstring seen;
    {
        ScopedMessageHandler handler([&seen](const wchar_t* text, const wchar_t* caption, unsigned flags) {
            seen = std::wstring(caption) + L"|" + text + L"|" + std::to_wstring(flags);
            return IDNO;
        });
        EXPECT_EQ(ShowMessage(L"Speichern?", nullptr, MB_YESNO), IDNO);
        EXPECT_EQ(seen, L"|Speichern?|4");
        {
            ScopedMessageHandler inner([](const wchar_t*, const wchar_t*, unsigned) { return IDCANCEL; });
            EXPECT_EQ(ShowMessage(L"", L"", MB_YESNOCANCEL), IDCANCEL);
        }
        EXPECT_EQ(ShowMessage(L"again", L"", MB_YESNO), IDNO);
    }
    testing::internal::CaptureStderr();
    EXPECT_EQ(ShowMessage(L"back", L"", MB_YESNO), IDYES);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(SetMessageHandler(nullptr), nullptr);
}

}  // namespace
}  // namespace qx
