#include "qx/print/page_file.h"

#include <cstdint>

#include "qx/platform/base/format.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/numbered_file.h"
#include "qx/print/object_record.h"
#include "qx/print/page_geometry.h"
#include "qx/text/text_codec.h"

namespace qx {
namespace {

constexpr double kPageFileVersion = 2.0;

// Page-file numbers go on through the process, so a name freed by one job is
// not asked for again at once by the next.
std::uint64_t& NextPageFileNumber() {
    static std::uint64_t number = 1;
    return number;
}

}  // namespace

PageFileSet::PageFileSet() : PageFileSet(TempDirectory()) {}

PageFileSet::PageFileSet(std::wstring folder) : folder_(std::move(folder)) {}

PageFileSet::~PageFileSet() { Reset(); }

bool PageFileSet::NewPageFile(int pageMode) {
    ClosePageFile();
    open_ = NumberedFile::Create(folder_, L"QX", L".tmp", NextPageFileNumber());
    if (!open_) return false;
    paths_.push_back(open_->Path());
    const PageGeometry& geometry = SharedPageGeometry();
    openText_ = Format(L"VER(%f)\r\nDOC(%d,%d)\r\n\r\nPAG(%d,%d)\r\n", kPageFileVersion, geometry.width,
                       geometry.landscape ? 1 : 0, PageCount(), pageMode);
    return true;
}

void PageFileSet::WriteObject(const PRINTOBJ& object, int dx, int dy) {
    if (!open_) return;
    AppendObjectRecord(openText_, object, dx, dy);
    openText_ += L"\r\n";
}

void PageFileSet::ClosePageFile() {
    if (!open_) return;
    // A page that cannot be written out reads back as far as it got.
    open_->Write(EncodeUtf16WithMark(openText_));
    open_.reset();
    openText_.clear();
}

void PageFileSet::Reset() {
    ClosePageFile();
    for (const std::wstring& path : paths_) RemoveFile(path);
    paths_.clear();
}

}  // namespace qx
