// qxtool draw-test: the drawing layer's test card as a PNG image or a
// one-page PDF print job.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#include "qx/platform/gfx/targets.h"
#include "tools/qxtool/command.h"
#include "tools/qxtool/test_card.h"

namespace qxtool {
namespace {

constexpr int kDefaultDpi = 150;
constexpr int kMaxDpi = 1200;

bool EndsWith(const std::string& text, const std::string& end) {
    if (text.size() < end.size()) return false;
    return std::equal(end.rbegin(), end.rend(), text.rbegin(),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

// Shows the card's logical units on a device area of width x height pixels,
// as large as fits with the card's proportions.
void MapCard(CDC& dc, int width, int height) {
    const double scale = std::min(static_cast<double>(width) / kCardWidth, static_cast<double>(height) / kCardHeight);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowOrg(0, 0);
    dc.SetWindowExt(kCardWidth, kCardHeight);
    dc.SetViewportOrg(0, 0);
    dc.SetViewportExt(static_cast<int>(std::lround(kCardWidth * scale)),
                      static_cast<int>(std::lround(kCardHeight * scale)));
}

void WritePng(const std::string& path, int dpi) {
    const int width = static_cast<int>(std::lround(static_cast<double>(kCardWidth) * dpi / kCardUnitsPerInch));
    const int height = static_cast<int>(std::lround(static_cast<double>(kCardHeight) * dpi / kCardUnitsPerInch));
    ImageTargetOptions options;
    options.dpi = dpi;
    CImageDC image(width, height, options);
    MapCard(image, width, height);
    DrawTestCard(image);
    if (!image.SavePng(CString(Wide(path)))) throw Failure("cannot write " + path);
}

void WritePdf(const std::string& path) {
    PrinterSettings settings;
    settings.outputPath = CString(Wide(path));
    CPrinterDC printer(settings);
    if (printer.StartDoc(CString(L"qxtool draw-test")) <= 0 || printer.StartPage() <= 0) {
        printer.AbortDoc();
        throw Failure("cannot start the print job for " + path);
    }
    MapCard(printer, printer.GetDeviceCaps(HORZRES), printer.GetDeviceCaps(VERTRES));
    DrawTestCard(printer);
    if (printer.EndPage() <= 0 || printer.EndDoc() <= 0) throw Failure("cannot write " + path);
}

int DrawTest(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    std::string dpiText;
    const bool dpiGiven = TakeOption(args, "--dpi", dpiText);
    RejectUnknownOptions(args);
    if (args.size() != 1) throw UsageError("expects one output file");
    const std::string& out = args[0];
    int dpi = kDefaultDpi;
    if (dpiGiven) {
        size_t used = 0;
        try {
            dpi = std::stoi(dpiText, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used != dpiText.size() || dpi < 10 || dpi > kMaxDpi) {
            throw UsageError("--dpi needs a whole number from 10 to " + std::to_string(kMaxDpi));
        }
    }
    if (EndsWith(out, ".png")) {
        WritePng(out, dpi);
    } else if (EndsWith(out, ".pdf")) {
        if (dpiGiven) throw UsageError("--dpi applies to PNG output only");
        WritePdf(out);
    } else {
        throw UsageError("the output file must end in .png or .pdf");
    }
    return kExitOk;
}

constexpr Command kCommands[] = {
    {"draw-test", "OUT.png|OUT.pdf [--dpi N]", "draw the drawing layer's test card",
     "The card is an A4 page drawn in the print engine's units (1322 per inch,\n"
     "MM_ANISOTROPIC) with every primitive: DrawText in each alignment, TextOut\n"
     "turned by 0, 90, 180 and 270 degrees around a marked reference point,\n"
     "bold, italic and underlined faces, the report fonts' fixed heights,\n"
     "shapes with pens and brushes, rounded corners, a white fill that draws\n"
     "nothing beside a near-white one that does, 8- and 24-bit bitmaps\n"
     "stretched and drawn transparent, a recorded metafile played back scaled\n"
     "and a rich text paragraph.\n"
     "\n"
     "OUT.png is an image of the card at --dpi dots per inch (default 150);\n"
     "OUT.pdf a one-page print job on A4 paper at 600 dots per inch.",
     DrawTest},
};

const CommandRegistrar registrar(kCommands);

}  // namespace
}  // namespace qxtool
