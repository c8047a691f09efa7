// qxtool image show: what the family's image window shows for a name, painted
// into a PNG file, with the image error the window reports.
#include <cstdio>
#include <string>
#include <vector>

#include "qx/image/image_wnd.h"
#include "qx/platform/gfx/targets.h"
#include "qx/platform/wnd/ui_host.h"
#include "tools/qxtool/command.h"

namespace qxtool {
namespace {

constexpr int kMaxSide = 8192;

COLORREF ParseColor(const std::string& text) {
    if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        throw UsageError("--background needs RRGGBB, six hexadecimal digits");
    }
    const unsigned long rgb = std::stoul(text, nullptr, 16);
    return RGB(static_cast<int>(rgb >> 16), static_cast<int>(rgb >> 8), static_cast<int>(rgb));
}

int ImageShow(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    int width = 320, height = 240;
    TakeSizeOption(args, "--size", kMaxSide, width, height);
    long stretch = 1, align = ALIGN_CENTER, erase = ERASE_BACKGROUND;
    TakeNumberOption(args, "--stretch", 0, 0xFFFF, stretch);
    TakeNumberOption(args, "--align", 0, 8, align);
    TakeNumberOption(args, "--erase", 0, 3, erase);
    std::string background, out;
    const bool hasBackground = TakeOption(args, "--background", background);
    const bool noFrame = TakeFlag(args, "--no-frame");
    const bool hasOut = TakeOption(args, "--out", out);
    RejectUnknownOptions(args);
    if (args.size() != 1) throw UsageError("expects one NAME");

    CImageWnd window;
    // Never shown: the window is painted straight into the picture.
    if (!window.Create(WS_POPUP, CRect(0, 0, width, height), nullptr, 0)) throw Failure("the image window could not be made");
    window.SetStretchMode(static_cast<unsigned short>(stretch));
    window.SetAlignment(static_cast<Alignment>(align));
    window.SetEraseMode(static_cast<EraseMode>(erase));
    if (hasBackground) window.SetBackground(ParseColor(background));
    if (noFrame) window.SetFrameMode(0);
    const ImageErrors error = window.ShowImageNow(Wide(args[0]).c_str());
    bool written = true;
    if (hasOut) {
        CImageDC dc(width, height);
        qx::PaintWindow(window.m_hWnd, dc);
        written = dc.SavePng(CString(Wide(out).c_str()));
    }
    window.DestroyWindow();
    if (!written) throw Failure("cannot write " + out);
    std::printf("%d ", static_cast<int>(error));
    PrintUtf8(std::wstring(ImageErrorMeaning(error)) + L"\n");
    return error == IMAGE_OK ? kExitOk : kExitFailure;
}

constexpr Command kCommands[] = {
    {"image show",
     "NAME [--size WxH] [--stretch N] [--align N] [--erase N] [--background RRGGBB] [--no-frame] [--out OUT.png]",
     "show a picture the way the family's image window does",
     "NAME is a file (PCX, BMP, TIFF, JPEG, DWG preview, slide), a base name\n"
     "probed with each kind's extension, or LIBRARY?SLIDE for a slide of a\n"
     "slide library. Prints the image error and its meaning, e.g. '0 shown' or\n"
     "'10 compressed TIFF', and exits with 1 when it is not 0. --out paints the\n"
     "window (default 320x240) into a PNG file.\n"
     "Stretch flags: 4 fit keeping the aspect, 16|32 fill, 16 fit the width,\n"
     "32 fit the height, 8 never enlarge, 64 transparent; default 1 (own size).\n"
     "Alignment: 0 top, 1 top right, 2 right, 3 bottom right, 4 bottom,\n"
     "5 bottom left, 6 left, 7 top left, 8 centred (default).\n"
     "Erase: 0 none, 1 background (default, button face unless --background),\n"
     "2 button face, 3 the picture's own bottom-left colour.\n"
     "  qxtool image show pictures/pump --stretch 4 --out pump.png\n"
     "  qxtool image show symbols?valve --size 200x200 --out valve.png",
     ImageShow},
};

const CommandRegistrar registrar(kCommands);

}  // namespace
}  // namespace qxtool
