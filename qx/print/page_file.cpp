#include "qx/print/page_file.h"

#include "qx/platform/base/format.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/temporary_files.h"
#include "qx/print/object_record.h"
#include "qx/print/page_geometry.h"
#include "qx/text/text_codec.h"

namespace qx {
namespace {

constexpr double kPageFileVersion = 2.0;

}  // namespace

PageFileSet::PageFileSet() : PageFileSet(TempDirectory()) {}

PageFileSet::PageFileSet(std::wstring folder) : folder_(std::move(folder)) {}

PageFileSet::~PageFileSet() { Reset(); }

bool PageFileSet::NewPageFile(int pageMode) {
    ClosePageFile();
    auto file = TemporaryFile::Create(folder_);
    if (!file) return false;
    pages_.push_back(std::move(file));
    pageOpen_ = true;
    const PageGeometry& geometry = SharedPageGeometry();
    openText_ = Format(L"VER(%f)\r\nDOC(%d,%d)\r\n\r\nPAG(%d,%d)\r\n", kPageFileVersion, geometry.width,
                       geometry.landscape ? 1 : 0, PageCount(), pageMode);
    return true;
}

void PageFileSet::WriteObject(const PRINTOBJ& object, int dx, int dy) {
    if (!pageOpen_) return;
    AppendObjectRecord(openText_, object, dx, dy);
    openText_ += L"\r\n";
}

void PageFileSet::ClosePageFile() {
    if (!pageOpen_) return;
    // A page that cannot be written out reads back as far as it got.
    pages_.back()->Write(EncodeUtf16WithMark(openText_));
    pages_.back()->Close();
    pageOpen_ = false;
    openText_.clear();
}

const std::wstring& PageFileSet::PagePath(int page) const { return pages_.at(static_cast<size_t>(page))->Path(); }

void PageFileSet::Reset() {
    ClosePageFile();
    // Each file is deleted as it goes.
    pages_.clear();
}

}  // namespace qx
