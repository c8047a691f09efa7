// qxtool slide: the directory of a slide library, and a slide drawn into a
// PNG image.
#include <string>
#include <vector>

#include "qx/image/slide_image.h"
#include "qx/platform/base/codepage.h"
#include "qx/platform/gfx/targets.h"
#include "tools/qxtool/command.h"

namespace qxtool {
namespace {

constexpr int kDefaultWidth = 320;
constexpr int kDefaultHeight = 240;
constexpr int kMaxSide = 8192;

int List(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    RejectUnknownOptions(args);
    if (args.size() != 1) throw UsageError("expects one slide library");
    std::vector<qx::SlideEntry> entries;
    if (!qx::ReadSlideDirectory(CString(Wide(args[0])), &entries)) {
        throw Failure("not a readable slide library: " + args[0]);
    }
    for (const qx::SlideEntry& entry : entries) {
        PrintUtf8(qx::CodePageToWide(entry.name, qx::kCpAcp) + L"\t" + std::to_wstring(entry.offset) + L"\n");
    }
    return kExitOk;
}

int Render(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    int width = kDefaultWidth;
    int height = kDefaultHeight;
    TakeSizeOption(args, "--size", kMaxSide, width, height);
    const bool stretch = TakeFlag(args, "--stretch");
    RejectUnknownOptions(args);
    if (args.size() != 2) throw UsageError("expects a slide and an output file");
    const std::string& source = args[0];
    const std::string& out = args[1];

    CSlideImage slide;
    const size_t question = source.find('?');
    const bool read = question == std::string::npos
                          ? slide.Load(nullptr, Wide(source).c_str()) != 0
                          : slide.Load(Wide(source.substr(0, question)).c_str(),
                                       Wide(source.substr(question + 1)).c_str()) != 0;
    if (!read) throw Failure("cannot read the slide " + source);

    // Black on white; colour 7, white in the family's windows, is drawn black.
    CImageDC image(width, height);
    slide.SetColor7(RGB(0, 0, 0));
    // As the image window does: the slide's right and top edges fall on the
    // last pixel column and the first row.
    slide.Draw(&image, CRect{0, 0, width - 1, height - 1}, stretch);
    if (!image.SavePng(CString(Wide(out)))) throw Failure("cannot write " + out);
    return kExitOk;
}

constexpr Command kCommands[] = {
    {"slide list", "LIB.slb", "list the slides of a slide library",
     "One line per directory entry, in file order: the slide's name (8-bit text\n"
     "in the default code page), a tab and the slide's position in the file. The\n"
     "directory ends at the entry with an empty name or at the end of the file.",
     List},
    {"slide render", "LIB.slb?NAME|FILE.sld OUT.png [--size WxH] [--stretch]",
     "draw a slide into a PNG image",
     "LIB.slb?NAME takes the slide NAME (letter case does not matter) from the\n"
     "library; FILE.sld is a single slide. \".slb\" and \".sld\" are appended as\n"
     "the image windows append them. The image is --size pixels (default\n"
     "320x240) with a white background; the slide is drawn into it with one-pixel\n"
     "lines in its colours, colour 7 (white in the family's windows) in black.\n"
     "Without --stretch both axes keep the same scale and the slide is centred;\n"
     "with it the slide fills the image. A slide whose extent is 0 draws nothing.",
     Render},
};

const CommandRegistrar registrar(kCommands);

}  // namespace
}  // namespace qxtool
