#include "tools/qxtool/tree_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#include "qx/platform/base/codepage.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/file_stream.h"
#include "qx/platform/os/last_error.h"
#include "qx/text/encoded_form.h"
#include "qx/text/system_message.h"
#include "qx/text/text_codec.h"
#include "qx/tree/tree_text_stream.h"
#include "qx/tree/vdi.h"
#include "tools/qxtool/command.h"
#include "tools/qxtool/tree_loading.h"

namespace qxtool {
namespace {

constexpr const char kStandardOutput[] = "-";

std::string LastErrorText() { return qx::WideToUtf8(FormatMessageW(qx::GetLastError()).Trim().str()); }

// Where the bytes go: standard output, or a replacement of the file that
// takes its place only when Finish is reached.
class Output {
public:
    Output(const std::string& file, bool encoded) : file_(file), encoded_(encoded) {
        if (file == kStandardOutput) return;
        replacer_ = qx::FileReplacer::Create(Wide(file));
        if (!replacer_) throw Failure("cannot write " + file + ": " + LastErrorText());
    }

    void Write(std::string_view bytes) {
        if (bytes.empty()) return;  // an empty view may have no data to hand on
        if (encoded_) {
            piece_.assign(bytes);
            qx::EncodeBytes(piece_);
            bytes = piece_;
        }
        if (replacer_) {
            if (!replacer_->Write(bytes)) throw Failure("cannot write " + file_ + ": " + LastErrorText());
        } else if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) {
            throw Failure(std::string("cannot write standard output: ") + std::strerror(errno));
        }
    }

    void Finish() {
        if (replacer_) {
            if (!replacer_->Commit()) throw Failure("cannot write " + file_ + ": " + LastErrorText());
        } else if (std::fflush(stdout) != 0) {
            throw Failure(std::string("cannot write standard output: ") + std::strerror(errno));
        }
    }

private:
    std::string file_;
    bool encoded_;
    std::unique_ptr<qx::FileReplacer> replacer_;
    std::string piece_;  // the encoded copy of a piece
};

[[noreturn]] void FailLossy(const std::string& file, unsigned codePage) {
    throw Failure("code page " + std::to_string(codePage == qx::kCpAcp ? qx::AnsiCodePage() : codePage) +
                  " lacks characters of the text, " +
                  (file == kStandardOutput ? "which were written as '?'" : file + " is left as it was"));
}

}  // namespace

TreeFileForm FormOfFile(const std::string& file) {
    TreeFileForm form;
    form.encoded = IsEncodedName(Wide(file));
    std::string head(3, '\0');
    std::unique_ptr<qx::FileReader> reader = qx::FileReader::Open(Wide(file));
    std::optional<size_t> read = reader ? reader->Read(head.data(), head.size()) : std::nullopt;
    if (!read) throw Failure("cannot read " + file + ": " + LastErrorText());
    head.resize(*read);
    if (form.encoded) qx::DecodeStoredBytes(head);
    // Without a mark (0) the readers take the default 8-bit code page, which
    // is code page 0 for the writer too.
    form.codePage = qx::MarkedCodePage(head);
    return form;
}

void WriteTree(const CNode& root, const std::string& file, const TreeFileForm& form) {
    const std::string_view mark = qx::TextMark(form.codePage);
    if (qx::IsVdiPath(Wide(file))) {
        const CString problem = qx::VdiExportProblem(root);
        if (!problem.IsEmpty()) throw Failure("not VDI data, " + file + " is left as it was: " + qx::WideToUtf8(problem.str()));
        bool lossy = false;
        const std::string bytes = qx::WideToCodePage(qx::ExportVdi(root).str(), form.codePage, &lossy);
        if (lossy) FailLossy(file, form.codePage);
        Output output(file, form.encoded);
        output.Write(mark);
        output.Write(bytes);
        output.Finish();
        return;
    }
    Output output(file, form.encoded);
    output.Write(mark);
    bool lossy = false;
    qx::WriteTreeText(root, form.indent, L':', form.codePage, [&output](std::string_view piece) { output.Write(piece); },
                      &lossy);
    if (lossy) FailLossy(file, form.codePage);
    output.Finish();
}

void PrintTree(const CNode& root) {
    Output output(kStandardOutput, false);
    qx::WriteTreeText(root, true, L':', qx::kCpUtf8, [&output](std::string_view piece) { output.Write(piece); });
    output.Finish();
}

}  // namespace qxtool
