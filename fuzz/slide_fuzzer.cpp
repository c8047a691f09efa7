// Arbitrary bytes as a slide file and as a slide library: loaded as a single
// slide, then as a library with the first name of its directory, and drawn
// into a small image, kept and stretched.
//
// What holds: loading never reads past the file or crashes; a slide holds
// at most one point per byte of the file (each record of two or more bytes
// gives at most two); a failed load leaves the slide empty; drawing returns
// 1 and leaves the image's pen as it was.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "qx/image/slide_image.h"
#include "qx/platform/gfx/targets.h"
#include "qx/platform/os/native_path.h"
#include "qx/platform/wnd/message_box.h"

namespace {

namespace fs = std::filesystem;

// The file of this run, removed when the fuzzer exits.
struct Scratch {
    Scratch() : folder(fs::temp_directory_path() / ("qx-slide-fuzz-" + std::to_string(std::random_device()()))) {
        fs::create_directories(folder);
        // Both extensions in the name: neither is appended, as a slide or as a
        // library.
        file = folder / "input.sld.slb";
        path = qx::FromNativePath(file.string());
        // The damaged-end-word message is answered at once.
        qx::SetMessageHandler([](const wchar_t*, const wchar_t*, unsigned) { return IDOK; });
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    fs::path folder;
    fs::path file;
    std::wstring path;  // library path of the file
};

const Scratch& Setup() {
    static const Scratch scratch;
    return scratch;
}

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

void LoadAndDraw(CSlideImage& slide, const wchar_t* library, const wchar_t* name, std::size_t fileSize) {
    const int loaded = slide.Load(library, name);
    Check(slide.GetPoints().size() <= fileSize);
    Check(loaded == 1 || (slide.GetPoints().empty() && !slide.IsLoaded()));
    CImageDC image(24, 16);
    CPen* pen = image.GetCurrentPen();
    Check(slide.Draw(&image, CRect{1, 1, 23, 15}, FALSE) == 1);
    Check(slide.Draw(&image, CRect{0, 0, 24, 16}, TRUE) == 1);
    Check(image.GetCurrentPen() == pen);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Scratch& scratch = Setup();
    std::ofstream(scratch.file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    CSlideImage slide;
    LoadAndDraw(slide, nullptr, scratch.path.c_str(), size);

    std::vector<qx::SlideEntry> entries;
    if (qx::ReadSlideDirectory(CString(scratch.path), &entries)) {
        Check(entries.size() <= size / 36);
        if (!entries.empty()) {
            const CString name(entries[0].name.c_str());
            LoadAndDraw(slide, scratch.path.c_str(), name.GetString(), size);
        }
    } else {
        Check(entries.empty());
    }
    return 0;
}
