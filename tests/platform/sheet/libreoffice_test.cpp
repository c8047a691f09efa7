// The binary forms through LibreOffice, and what a written workbook looks
// like to another spreadsheet program: converted to CSV and PDF. Skipped
// where LibreOffice is not installed, except the message that says it is
// needed.
#include <gtest/gtest.h>

#include <memory>

#include "qx/platform/sheet/engine.h"
#include "qx/platform/sheet/libreoffice.h"
#include "qx/platform/sheet/workbook.h"
#include "tests/platform/sheet/sheet_test_support.h"
#include "tests/support/fixtures.h"

namespace {

using namespace qx::sheet;

// One cache folder (and so one LibreOffice profile) for the whole suite:
// making a profile takes LibreOffice a while.
class LibreOffice : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        cache_ = new qx::test::TempDir();
        env_ = new qx::test::ScopedEnv("XDG_CACHE_HOME", cache_->path().string());
    }
    static void TearDownTestSuite() {
        delete env_;
        delete cache_;
    }
    void SetUp() override {
        if (!LibreOfficeProgram()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    }

    // A small list the engine writes.
    static std::unique_ptr<Workbook> List() {
        auto book = Workbook::Create(L"Liste");
        Sheet& sheet = *book->SheetAt(0);
        sheet.SetValue(0, 0, CellValue::Text(L"Pos"));
        sheet.SetValue(1, 0, CellValue::Text(L"Menge"));
        sheet.SetValue(2, 0, CellValue::Text(L"Text"));
        for (std::uint32_t row = 1; row <= 3; ++row) {
            sheet.SetValue(0, row, CellValue::Number(row));
            sheet.SetValue(1, row, CellValue::Number(row * 2.5));
            sheet.SetValue(2, row, CellValue::Text(L"Rohr Ø " + std::to_wstring(row * 10)));
        }
        sheet.SetValue(1, 4, CellValue::Formula(L"SUM(B2:B4)", CellValue::Number(15)));
        return book;
    }

    qx::test::TempDir dir_;
    static qx::test::TempDir* cache_;
    static qx::test::ScopedEnv* env_;
};

qx::test::TempDir* LibreOffice::cache_ = nullptr;
qx::test::ScopedEnv* LibreOffice::env_ = nullptr;

TEST_F(LibreOffice, ReadsAWrittenWorkbookAsCsvAndPdf) {
    ASSERT_TRUE(List()->Save(dir_.Wide("liste.xlsx")));
    std::wstring error;
    // Comma-separated, in double quotes where needed, UTF-8 (character set 76).
    ASSERT_TRUE(ConvertWithLibreOffice(dir_.Wide("liste.xlsx"), dir_.Wide("liste.csv"), "csv:Text - txt - csv (StarCalc):44,34,76",
                                       &error))
        << qx::WideToUtf8(error);
    EXPECT_EQ(qx::test::ReadBytes(dir_.path() / "liste.csv"),
              "Pos,Menge,Text\n1,2.5,Rohr Ø 10\n2,5,Rohr Ø 20\n3,7.5,Rohr Ø 30\n,15,\n");
    ASSERT_TRUE(ConvertWithLibreOffice(dir_.Wide("liste.xlsx"), dir_.Wide("liste.pdf"), "pdf", &error))
        << qx::WideToUtf8(error);
    EXPECT_TRUE(qx::test::ReadBytes(dir_.path() / "liste.pdf").starts_with("%PDF"));
    if (const auto pdftotext = qx::FindProgramOnPath(L"pdftotext")) {
        const qx::ProgramRun text =
            qx::RunProgram(*pdftotext, {L"-layout", dir_.Wide("liste.pdf"), L"-"}, {}, std::chrono::seconds(60));
        for (const char* shown : {"Pos", "Menge", "Rohr Ø 30", "7.5", "15"})
            EXPECT_NE(text.output.find(shown), std::string::npos) << shown << " in\n" << text.output;
    }
    // Nothing of the conversions is left in the cache but the profile and its lock.
    for (const auto& entry : std::filesystem::directory_iterator(cache_->path() / "qxbase-sheets"))
        EXPECT_FALSE(entry.path().filename().string().starts_with("job-")) << entry.path();
}

TEST_F(LibreOffice, BinaryWorkbooksAreReadAndWritten) {
    Engine engine;
    std::wstring error;
    Workbook* book = engine.Add(L"");
    ASSERT_TRUE(engine.Close(book, dir_.Wide("vorlage.xls"), &error)) << qx::WideToUtf8(error);
    auto list = List();
    ASSERT_TRUE(engine.SaveAs(*list, dir_.Wide("liste.xls"), &error)) << qx::WideToUtf8(error);
    // The binary form is a compound document.
    EXPECT_TRUE(qx::test::ReadBytes(dir_.path() / "liste.xls").starts_with("\xD0\xCF\x11\xE0"));
    Workbook* read = engine.Add(dir_.Wide("liste.xls"), &error);
    ASSERT_TRUE(read) << qx::WideToUtf8(error);
    const Sheet& sheet = *read->SheetAt(0);
    EXPECT_EQ(sheet.Name(), L"Liste");
    EXPECT_EQ(sheet.Value(1, 2), CellValue::Number(5));
    EXPECT_EQ(sheet.Value(2, 3), CellValue::Text(L"Rohr Ø 30"));
    EXPECT_EQ(sheet.Value(1, 4).formula, L"SUM(B2:B4)");
    // Converted once: the second time the cached copy is used.
    const auto first = ConvertedWorkbook(dir_.Wide("liste.xls"), &error);
    const auto second = ConvertedWorkbook(dir_.Wide("liste.xls"), &error);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(*first, *second);
}

TEST(LibreOfficeMissing, TheMessageSaysItIsNeeded) {
    qx::test::TempDir dir;
    qx::test::ScopedEnv path("PATH", dir.path().string());
    qx::test::ScopedEnv cache("XDG_CACHE_HOME", dir.path().string());
    qx::test::WriteBytes(dir.path() / "vorlage.xlt", "\xD0\xCF\x11\xE0 not really");
    Engine engine;
    std::wstring error;
    EXPECT_FALSE(engine.Add(dir.Wide("vorlage.xlt"), &error));
    EXPECT_NE(error.find(L"LibreOffice"), std::wstring::npos) << qx::WideToUtf8(error);
    Workbook* book = engine.Add(L"");
    error.clear();
    EXPECT_FALSE(engine.Close(book, dir.Wide("out.xls"), &error));
    EXPECT_NE(error.find(L"LibreOffice"), std::wstring::npos) << qx::WideToUtf8(error);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "out.xls"));
    EXPECT_EQ(engine.WorkbookCount(), 1u);
}

}  // namespace
