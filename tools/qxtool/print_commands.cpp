// qxtool print: a report from a layout file and tree documents, as PDF, PNG
// pages and fixed-width text.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "qx/platform/base/format.h"
#include "qx/platform/base/number_parse.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/gfx/targets.h"
#include "qx/platform/os/native_path.h"
#include "qx/platform/os/terminal.h"
#include "qx/print/page_geometry.h"
#include "qx/print/print_engine.h"
#include "tools/qxtool/command.h"
#include "tools/qxtool/tree_loading.h"

namespace qxtool {
namespace {

constexpr int kPreviewDpi = 100;

// A node becomes a data node: each leaf a value (its first value, its second
// as the extra), each child node a child in order; a leaf "Printable" with
// the value 0 clears the node's Printable instead.
void FillDataTree(CNode& node, CDataTree& data) {
    POSITION leafPos = node.GetFirstLeafPos();
    while (leafPos != nullptr) {
        CLeaf* leaf = node.GetNextLeaf(leafPos);
        CString value;
        CString extra;
        leaf->ReadValueAt(1, L':', value);
        leaf->ReadValueAt(2, L':', extra);
        if (leaf->GetName() == L"Printable") {
            data.Printable = value == L"0" ? 0 : 1;
            continue;
        }
        data.AddValue(leaf->GetName(), value, extra);
    }
    POSITION childPos = node.GetFirstChildPos();
    while (childPos != nullptr) FillDataTree(*node.GetNextChild(childPos), *data.AddChild());
}

// Shows "page n of m" on a terminal once a job has run for a second.
class Progress {
public:
    explicit Progress(const char* what) : what_(what), shown_(qx::StandardErrorIsTerminal()) {}
    ~Progress() {
        if (drawn_) std::fputs("\n", stderr);
    }
    void Update(int done, int total) {
        if (!shown_) return;
        if (std::chrono::steady_clock::now() - start_ < std::chrono::seconds(1)) return;
        std::fprintf(stderr, "\r%s %d/%d", what_, done, total);
        drawn_ = true;
    }

private:
    const char* what_;
    bool shown_;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

struct PrintOptions {
    std::string pdf;
    std::string pngFolder;
    std::string text;
    int pageOffset = 0;
    bool stretch = false;
    bool monochrome = false;
    PrinterSettings paper;
};

PrintOptions TakePrintOptions(std::vector<std::string>& args) {
    PrintOptions options;
    TakeOption(args, "--pdf", options.pdf);
    TakeOption(args, "--png", options.pngFolder);
    TakeOption(args, "--text", options.text);
    std::string value;
    if (TakeOption(args, "--page-offset", value)) options.pageOffset = qx::ParseInt(Wide(value).c_str());
    if (TakeOption(args, "--paper", value)) {
        if (value == "letter") {
            options.paper.paperWidthMm = 215.9;
            options.paper.paperHeightMm = 279.4;
        } else if (value != "a4") {
            throw UsageError("--paper takes a4 or letter");
        }
    }
    options.stretch = TakeFlag(args, "--stretch");
    options.monochrome = TakeFlag(args, "--mono");
    RejectUnknownOptions(args);
    if (args.size() < 2) throw UsageError("expects a MASK and at least one DATA file");
    if (options.pdf.empty() && options.pngFolder.empty() && options.text.empty()) {
        throw UsageError("give at least one of --pdf, --png, --text");
    }
    return options;
}

std::string NativeOrSame(const std::string& path) {
    const auto native = qx::ToNativePath(Wide(path));
    return native ? *native : path;
}

void PrintPdf(CPrintEngine& engine, CPrinterDC& printer, const PrintOptions& options) {
    if (printer.StartDoc(L"qxtool print") <= 0) throw Failure("cannot start the print job for " + options.pdf);
    Progress progress("PDF");
    const int pages = engine.GetPageCount();
    for (int page = 0; page < pages; ++page) {
        printer.StartPage();
        engine.SetCurPage(page);
        engine.RenderPage(options.stretch ? 1 : 0, options.pageOffset);
        printer.EndPage();
        progress.Update(page + 1, pages);
    }
    if (printer.EndDoc() <= 0) throw Failure("cannot write " + options.pdf);
}

void PrintPngs(CPrintEngine& engine, const PrintOptions& options, int pageWidth, int pageHeight) {
    std::error_code error;
    std::filesystem::create_directories(NativeOrSame(options.pngFolder), error);
    const int width = static_cast<int>(static_cast<long long>(pageWidth) * kPreviewDpi / qx::kEngineUnitsPerInch);
    const int height = static_cast<int>(static_cast<long long>(pageHeight) * kPreviewDpi / qx::kEngineUnitsPerInch);
    Progress progress("PNG");
    const int pages = engine.GetPageCount();
    for (int page = 0; page < pages; ++page) {
        ImageTargetOptions target;
        target.dpi = kPreviewDpi;
        CImageDC preview(width, height, target);
        // The preview maps engine units onto the image.
        preview.SetMapMode(MM_ANISOTROPIC);
        preview.SetWindowExt(pageWidth, pageHeight);
        preview.SetViewportExt(width, height);
        engine.SetEngineDC(&preview);
        engine.SetCurPage(page);
        engine.RenderPage(options.stretch ? 1 : 0, options.pageOffset);
        const std::string file = options.pngFolder + qx::WideToUtf8(qx::Format(L"/page-%03d.png", page + 1));
        if (!preview.SavePng(Wide(file).c_str())) throw Failure("cannot write " + file);
        progress.Update(page + 1, pages);
    }
}

int Print(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    PrintOptions options = TakePrintOptions(args);
    options.paper.outputPath = Wide(options.pdf).c_str();
    options.paper.monochrome = options.monochrome;

    std::vector<LoadedTree> documents;
    std::vector<std::unique_ptr<CDataTree>> data;
    for (size_t i = 1; i < args.size(); ++i) {
        documents.push_back(LoadTree(args[i]));
        data.push_back(std::make_unique<CDataTree>());
        FillDataTree(*documents.back().root, *data.back());
    }

    std::unique_ptr<CPrintEngine> engine(CPrintEngine::newInstance());
    if (!engine->SetMaskFilePath(Wide(args[0]).c_str())) throw Failure("cannot read the layout " + args[0]);
    for (auto& tree : data) engine->SetDataPtr(tree.get());

    // The page size comes from the paper: the printer itself when a PDF is
    // wanted, else a context of the paper's size.
    CPrinterDC printer(options.paper);
    engine->SetEngineDC(&printer);
    if (!engine->WriteTempFile(0)) throw Failure(args[0] + ": " + qx::WideToUtf8(engine->GetComposeError().str()));
    const int pages = engine->GetPageCount();
    if (pages == 0) throw Failure(args[0] + ": the layout makes no page of the data (no printable record)");
    const int pageWidth = static_cast<int>(options.paper.paperWidthMm / 25.4 * qx::kEngineUnitsPerInch + 0.5);
    const int pageHeight = static_cast<int>(options.paper.paperHeightMm / 25.4 * qx::kEngineUnitsPerInch + 0.5);

    if (!options.pdf.empty()) PrintPdf(*engine, printer, options);
    if (!options.pngFolder.empty()) PrintPngs(*engine, options, pageWidth, pageHeight);
    engine->SetEngineDC(nullptr);
    if (!options.text.empty()) {
        // The text numbers pages with the offset of the last rendering; one
        // without a context only sets it, for a job that draws no page.
        engine->RenderPage(0, options.pageOffset);
        engine->OutputToTextFile(Wide(options.text).c_str(), 0);
    }
    PrintUtf8(qx::Format(L"%d pages\n", pages));
    return kExitOk;
}

constexpr Command kCommands[] = {
    {"print", "MASK DATA... [--pdf OUT.pdf] [--png DIR] [--text OUT.txt] [--page-offset N] [--stretch] "
              "[--paper a4|letter] [--mono]",
     "print a report from a layout file and tree documents",
     "Each DATA is a tree document (any form the tree reader takes) whose top\n"
     "node becomes a data tree: each leaf a value (name = leaf name, value = its\n"
     "first value, extra = its second), each child node a child in order, and a\n"
     "leaf Printable with the value 0 leaves its node out. The children of the\n"
     "top node are the records of the layout's sections, in order.\n"
     "--pdf renders every page on a PDF print job, --png writes DIR/page-001.png\n"
     "and on (100 dots per inch), --text writes the pages as fixed-width UTF-8\n"
     "text. --page-offset adds N to every page number shown, --stretch fills the\n"
     "printable area instead of keeping the page's proportions, --mono prints\n"
     "in black on a monochrome job. Prints the page count.\n"
     "A layout that makes no page (it cannot be read, its version is below\n"
     "2.0, it has no PAG section, no record is printable) and a part that finds\n"
     "no room between the page header and footer are failures.",
     Print},
};

const CommandRegistrar registrar(kCommands);

}  // namespace
}  // namespace qxtool
