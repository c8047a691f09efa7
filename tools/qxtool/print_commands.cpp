// qxtool print: a report from a layout file and tree documents, as PDF, on
// a printer queue, as PNG pages and as fixed-width text.
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
    bool printer = false;  // a job on a printer queue
    std::string queue;     // empty: the default queue
    std::string pngFolder;
    std::string text;
    int pageOffset = 0;
    bool stretch = false;
    bool monochrome = false;
    PrinterSettings paper;
};

// "--printer" with the queue's name right after it, or alone for the
// default queue (at the end, or before another option).
bool TakePrinterOption(std::vector<std::string>& args, std::string& queue) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--printer") continue;
        const bool named = i + 1 < args.size() && !args[i + 1].empty() && args[i + 1][0] != '-';
        queue = named ? args[i + 1] : std::string();
        args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i + (named ? 2 : 1)));
        return true;
    }
    return false;
}

PrintOptions TakePrintOptions(std::vector<std::string>& args) {
    PrintOptions options;
    TakeOption(args, "--pdf", options.pdf);
    options.printer = TakePrinterOption(args, options.queue);
    long copies = 1;
    if (TakeNumberOption(args, "--copies", 1, 999, copies) && !options.printer) {
        throw UsageError("--copies is for a job on a printer (--printer)");
    }
    options.paper.copies = static_cast<int>(copies);
    TakeOption(args, "--png", options.pngFolder);
    TakeOption(args, "--text", options.text);
    std::string value;
    if (TakeOption(args, "--page-offset", value)) options.pageOffset = qx::ParseInt(Wide(value).c_str());
    if (TakeOption(args, "--paper", value)) {
        // A queue is asked for the paper by its name.
        if (value == "letter") {
            options.paper.paperWidthMm = 215.9;
            options.paper.paperHeightMm = 279.4;
            options.paper.paperName = L"na_letter_8.5x11in";
        } else if (value == "a4") {
            options.paper.paperName = L"iso_a4_210x297mm";
        } else {
            throw UsageError("--paper takes a4 or letter");
        }
    }
    options.stretch = TakeFlag(args, "--stretch");
    options.monochrome = TakeFlag(args, "--mono");
    RejectUnknownOptions(args);
    if (args.size() < 2) throw UsageError("expects a MASK and at least one DATA file");
    if (options.pdf.empty() && !options.printer && options.pngFolder.empty() && options.text.empty()) {
        throw UsageError("give at least one of --pdf, --printer, --png, --text");
    }
    return options;
}

std::string NativeOrSame(const std::string& path) {
    const auto native = qx::ToNativePath(Wide(path));
    return native ? *native : path;
}

// Renders every page on a print job; *what* names the job in messages.
void PrintJob(CPrintEngine& engine, CPrinterDC& printer, const PrintOptions& options, const std::string& what) {
    engine.SetEngineDC(&printer);
    if (printer.StartDoc(L"qxtool print") <= 0)
        throw Failure("cannot start the print job for " + what + ": " + qx::WideToUtf8(printer.ErrorMessage().str()));
    Progress progress(options.printer ? "printer" : "PDF");
    const int pages = engine.GetPageCount();
    for (int page = 0; page < pages; ++page) {
        printer.StartPage();
        engine.SetCurPage(page);
        engine.RenderPage(options.stretch ? 1 : 0, options.pageOffset);
        printer.EndPage();
        progress.Update(page + 1, pages);
    }
    if (printer.EndDoc() <= 0) throw Failure(what + ": " + qx::WideToUtf8(printer.ErrorMessage().str()));
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
    options.paper.monochrome = options.monochrome;
    if (options.printer) {
        // The queue's paper, printable area, resolution and colour; --mono
        // still prints in black on a colour queue.
        CString error;
        if (!qx::PrinterSettingsForQueue(Wide(options.queue).c_str(), &options.paper, &error))
            throw Failure(qx::WideToUtf8(error.str()));
        options.paper.monochrome = options.paper.monochrome || options.monochrome;
    }

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

    // Pages are composed for the paper: on the printer's own context when
    // one prints, else on one of the paper's size. A PDF beside a queue job
    // is drawn for the same paper.
    PrinterSettings fileJob = options.paper;
    fileJob.queue.Empty();
    fileJob.outputPath = Wide(options.pdf).c_str();
    CPrinterDC printer(options.printer ? options.paper : fileJob);
    engine->SetEngineDC(&printer);
    if (!engine->WriteTempFile(0)) throw Failure(args[0] + ": " + qx::WideToUtf8(engine->GetComposeError().str()));
    const int pages = engine->GetPageCount();
    if (pages == 0) throw Failure(args[0] + ": the layout makes no page of the data (no printable record)");
    const int pageWidth = static_cast<int>(options.paper.paperWidthMm / 25.4 * qx::kEngineUnitsPerInch + 0.5);
    const int pageHeight = static_cast<int>(options.paper.paperHeightMm / 25.4 * qx::kEngineUnitsPerInch + 0.5);

    if (options.printer) {
        PrintJob(*engine, printer, options, options.queue.empty() ? "the default printer" : "printer " + options.queue);
        if (!options.pdf.empty()) {
            CPrinterDC file(fileJob);
            PrintJob(*engine, file, options, options.pdf);
        }
    } else if (!options.pdf.empty()) {
        PrintJob(*engine, printer, options, options.pdf);
    }
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
    {"print", "MASK DATA... [--pdf OUT.pdf] [--printer [QUEUE] [--copies N]] [--png DIR] [--text OUT.txt] "
              "[--page-offset N] [--stretch] [--paper a4|letter] [--mono]",
     "print a report from a layout file and tree documents",
     "Each DATA is a tree document (any form the tree reader takes) whose top\n"
     "node becomes a data tree: each leaf a value (name = leaf name, value = its\n"
     "first value, extra = its second), each child node a child in order, and a\n"
     "leaf Printable with the value 0 leaves its node out. The children of the\n"
     "top node are the records of the layout's sections, in order.\n"
     "--pdf renders every page on a PDF print job. --printer prints them on the\n"
     "printer queue QUEUE (given right after --printer), or on the default queue\n"
     "when no name follows; the pages are composed for the queue's paper,\n"
     "printable area, resolution and colour (see qxtool printers), --paper asks\n"
     "the queue for another of its papers, --copies N prints N copies. --png\n"
     "writes DIR/page-001.png and on (100 dots per inch), --text writes the\n"
     "pages as fixed-width UTF-8 text. --page-offset adds N to every page number shown, --stretch fills the\n"
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
