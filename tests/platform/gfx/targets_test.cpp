// The targets: capabilities, the PDF print job, metafile recording and
// playback, and the memory context.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "qx/platform/gfx/targets.h"
#include "tests/platform/gfx/gfx_fixture.h"
#include "tests/support/test_support.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

TEST(PrinterDC, CapabilitiesOfTheJob) {
    struct Case {
        const char* name;
        PrinterSettings settings;
        int physicalWidth, physicalHeight, offset, numColors;
    };
    auto settings = [](bool landscape, int dpi, bool monochrome) {
        PrinterSettings s;
        s.landscape = landscape;
        s.dpi = dpi;
        s.monochrome = monochrome;
        return s;
    };
    const Case cases[] = {
        {"A4 portrait 600 dpi", settings(false, 600, false), 4961, 7016, 94, -1},
        {"A4 landscape 300 dpi monochrome", settings(true, 300, true), 3508, 2480, 47, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPrinterDC dc(c.settings);
        EXPECT_TRUE(dc.IsPrinting());
        EXPECT_TRUE(dc.HasAttributeContext());
        EXPECT_EQ(dc.GetDeviceCaps(TECHNOLOGY), DT_PLOTTER);
        EXPECT_EQ(dc.GetDeviceCaps(PHYSICALWIDTH), c.physicalWidth);
        EXPECT_EQ(dc.GetDeviceCaps(PHYSICALHEIGHT), c.physicalHeight);
        EXPECT_EQ(dc.GetDeviceCaps(PHYSICALOFFSETX), c.offset);
        EXPECT_EQ(dc.GetDeviceCaps(PHYSICALOFFSETY), c.offset);
        EXPECT_EQ(dc.GetDeviceCaps(HORZRES), c.physicalWidth - 2 * c.offset);
        EXPECT_EQ(dc.GetDeviceCaps(VERTRES), c.physicalHeight - 2 * c.offset);
        EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), c.settings.dpi);
        EXPECT_EQ(dc.GetDeviceCaps(NUMCOLORS), c.numColors);
    }
}

TEST(PrinterDC, EveryPrintedPageIsOnePdfPage) {
    qx::test::TempDir dir;
    for (int pages : {1, 3}) {
        SCOPED_TRACE(pages);
        PrinterSettings settings;
        settings.outputPath = dir.Wide("job" + std::to_string(pages) + ".pdf").c_str();
        CPrinterDC dc(settings);
        EXPECT_LT(dc.StartPage(), 0);  // no document yet
        ASSERT_GT(dc.StartDoc(L"Heizlast"), 0);
        EXPECT_LT(dc.StartDoc(L"again"), 0);
        for (int page = 0; page < pages; ++page) {
            ASSERT_GT(dc.StartPage(), 0);
            dc.Rectangle(100, 100, 2000, 1000);
            dc.TextOut(200, 200, L"Seite");
            ASSERT_GT(dc.EndPage(), 0);
        }
        EXPECT_FALSE(std::filesystem::exists(dir.path() / ("job" + std::to_string(pages) + ".pdf")));
        ASSERT_GT(dc.EndDoc(), 0);
        EXPECT_EQ(dc.PagesPrinted(), pages);
        EXPECT_FALSE(dc.HasAttributeContext());
        const std::string pdf = qx::test::ReadBytes(dir.path() / ("job" + std::to_string(pages) + ".pdf"));
        EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
        EXPECT_EQ(qx::test::PdfPageCount(pdf), pages);
    }
    // Only the finished files remain: no temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 2);
}

TEST(PrinterDC, AbortedJobWritesNothing) {
    qx::test::TempDir dir;
    PrinterSettings settings;
    settings.outputPath = dir.Wide("aborted.pdf").c_str();
    {
        CPrinterDC dc(settings);
        ASSERT_GT(dc.StartDoc(L"x"), 0);
        dc.StartPage();
        dc.LineTo(100, 100);
        EXPECT_GT(dc.AbortDoc(), 0);
        EXPECT_LT(dc.EndDoc(), 0);
    }
    {
        CPrinterDC dc(settings);
        ASSERT_GT(dc.StartDoc(L"x"), 0);
        dc.StartPage();
    }  // destroyed mid-job
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(PrinterDC, JobWithoutPagesWritesNoFile) {
    qx::test::TempDir dir;
    PrinterSettings settings;
    settings.outputPath = dir.Wide("empty.pdf").c_str();
    CPrinterDC dc(settings);
    ASSERT_GT(dc.StartDoc(L"x"), 0);
    EXPECT_GT(dc.EndDoc(), 0);
    EXPECT_EQ(dc.PagesPrinted(), 0);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(PrinterDC, UnwritableOutputFails) {
    PrinterSettings settings;
    settings.outputPath = L"/nonexistent-folder-qx/job.pdf";
    CPrinterDC dc(settings);
    EXPECT_LT(dc.StartDoc(L"x"), 0);
}

TEST(MetaFile, PlaybackScalesTheFrameIntoTheRectangle) {
    struct Case {
        const char* name;
        bool givenFrame;
        CRect target;
        CRect expectedInk;
    };
    const Case cases[] = {
        // The ink frame is the red rectangle itself.
        {"ink frame", false, CRect(20, 20, 70, 45), CRect(20, 20, 70, 45)},
        {"ink frame enlarged", false, CRect(0, 0, 200, 100), CRect(0, 0, 200, 100)},
        // A given frame twice the drawing: the drawing fills a quarter.
        {"given frame", true, CRect(10, 10, 110, 60), CRect(60, 35, 110, 60)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CRect frame(-100, -50, 100, 50);
        CMetaFileDC recorder(nullptr, c.givenFrame ? &frame : nullptr);
        recorder.FillSolidRect(CRect(0, 0, 100, 50), kRed);
        std::unique_ptr<CEnhMetaFile> metafile = recorder.CloseEnhanced();
        ASSERT_TRUE(metafile);
        EXPECT_EQ(metafile->Frame(), c.givenFrame ? frame : CRect(0, 0, 100, 50));
        CImageDC dc(220, 120);
        EXPECT_TRUE(dc.PlayMetaFile(*metafile, c.target));
        EXPECT_EQ(qx::test::InkBox(dc), c.expectedInk);
        EXPECT_EQ(dc.GetPixel(c.expectedInk.left + 2, c.expectedInk.top + 2), kRed);
    }
}

TEST(MetaFile, PlaybackUsesTheTargetsLogicalUnits) {
    CMetaFileDC recorder;
    recorder.SetPixel(0, 0, kWhite);
    recorder.FillSolidRect(CRect(100, 100, 200, 200), kRed);
    recorder.SetPixel(299, 299, kWhite);
    std::unique_ptr<CEnhMetaFile> metafile = recorder.CloseEnhanced();
    EXPECT_EQ(metafile->Frame(), CRect(0, 0, 300, 300));
    // Recording after the close goes nowhere and does not fail.
    recorder.FillSolidRect(CRect(0, 0, 10, 10), kRed);

    CImageDC dc(100, 100);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(1322, 1322);
    dc.SetViewportExt(60, 60);  // 1322 units are 60 pixels
    EXPECT_TRUE(dc.PlayMetaFile(*metafile, CRect(0, 0, 1322, 1322)));
    EXPECT_EQ(qx::test::InkBox(dc), CRect(20, 20, 40, 40));
}

TEST(MetaFile, StrongShrinkingKeepsFarEdgesInPlace) {
    const CRect frame(0, 0, 10000, 400);
    CMetaFileDC recorder(nullptr, &frame);
    recorder.FillSolidRect(CRect(1000, 0, 9000, 200), kRed);
    std::unique_ptr<CEnhMetaFile> metafile = recorder.CloseEnhanced();
    CImageDC dc(460, 20);
    EXPECT_TRUE(dc.PlayMetaFile(*metafile, CRect(0, 0, 450, 18)));  // 0.045 times
    EXPECT_EQ(qx::test::InkBox(dc), CRect(45, 0, 405, 9));
}

TEST(MetaFile, PlaysBackOntoEveryPageOfAPdfJob) {
    // As the print engine prints: each page recorded on the printer and
    // played back into it, with a frame reaching left of and above the
    // origin. Under LeakSanitizer every playback must give back what it took.
    qx::test::TempDir dir;
    PrinterSettings settings;
    settings.outputPath = dir.Wide("played.pdf").c_str();
    CPrinterDC printer(settings);
    ASSERT_GT(printer.StartDoc(L"played"), 0);
    const CRect frame(-100, -50, 900, 450);
    for (int page = 0; page < 3; ++page) {
        CMetaFileDC recorder(&printer, &frame);
        recorder.FillSolidRect(CRect(-100, -50, 100, 50), kRed);
        recorder.TextOut(0, 0, L"Seite");
        std::unique_ptr<CEnhMetaFile> metafile = recorder.CloseEnhanced();
        ASSERT_GT(printer.StartPage(), 0);
        EXPECT_TRUE(printer.PlayMetaFile(*metafile, CRect(0, 0, 2000, 1000)));
        ASSERT_GT(printer.EndPage(), 0);
    }
    ASSERT_GT(printer.EndDoc(), 0);
    EXPECT_EQ(qx::test::PdfPageCount(qx::test::ReadBytes(dir.path() / "played.pdf")), 3);
}

TEST(MetaFile, ReferenceGivesTheCapabilities) {
    PrinterSettings settings;
    settings.dpi = 300;
    CPrinterDC printer(settings);
    CMetaFileDC onPrinter(&printer);
    CMetaFileDC onScreen;
    EXPECT_EQ(onPrinter.GetDeviceCaps(LOGPIXELSX), 300);
    EXPECT_EQ(onScreen.GetDeviceCaps(LOGPIXELSX), 96);
    std::unique_ptr<CEnhMetaFile> empty = onScreen.CloseEnhanced();
    CImageDC dc(10, 10);
    EXPECT_FALSE(dc.PlayMetaFile(*empty, CRect(0, 0, 10, 10)));
}

TEST(MemoryDC, MeasuresLikeTheScreenAndDrawsNowhere) {
    CMemoryDC dc;
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 96);
    EXPECT_FALSE(dc.IsPrinting());
    EXPECT_TRUE(dc.Rectangle(0, 0, 10, 10));
    EXPECT_TRUE(dc.TextOut(0, 0, L"x"));
    CRect rect(0, 0, 100, 100);
    EXPECT_GT(dc.DrawText(L"x", &rect, DT_SINGLELINE), 0);
}

TEST(ImageDC, SavesAPng) {
    qx::test::TempDir dir;
    CImageDC dc(30, 20);
    dc.FillSolidRect(CRect(0, 0, 10, 10), kRed);
    ASSERT_TRUE(dc.SavePng(dir.Wide("out.png").c_str()));
    const std::string png = qx::test::ReadBytes(dir.path() / "out.png");
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_EQ(static_cast<unsigned char>(png[19]), 30u);  // width in the IHDR chunk
    EXPECT_EQ(static_cast<unsigned char>(png[23]), 20u);
}

}  // namespace
