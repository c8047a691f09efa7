// Page files: the finished pages of a print job, one small file per page in
// the temporary folder, in the record syntax of layout files:
//
//   VER(2.000000)
//   DOC(<page width>,<landscape 0|1>)
//   (empty line)
//   PAG(<page number from 1>,<page mode>)
//   OBJ(<34 fields>)            one line per object
//
// UTF-16LE with a byte-order mark, lines ending in CR LF. The files are the
// os layer's temporary files (temporary_files.h): named with the process id
// and a number the process never repeats, claimed by exclusive creation, so a
// job of any length gets distinct files, and removed when the process is
// ended by a signal or, after a kill, by the next process that writes there.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/print/print_object.h"

namespace qx {

class TemporaryFile;

// The page files of one job: writes them one at a time and deletes them all
// on Reset and when it goes.
class QX_API PageFileSet {
public:
    // Page files in the temporary folder ($TMPDIR, else /tmp).
    PageFileSet();
    // Page files in *folder* (a library path ending with a backslash).
    explicit PageFileSet(std::wstring folder);
    ~PageFileSet();
    PageFileSet(const PageFileSet&) = delete;
    PageFileSet& operator=(const PageFileSet&) = delete;

    // Closes the open page, creates the next page file and writes its header
    // (the process-wide page width and landscape flag, the page's number and
    // *pageMode*). False when the file cannot be created: the page is left
    // out and objects written until the next page are dropped.
    bool NewPageFile(int pageMode);
    // Appends the object record of *object* moved by (*dx*, *dy*) to the open
    // page.
    void WriteObject(const PRINTOBJ& object, int dx, int dy);
    // Writes out and closes the open page, if any.
    void ClosePageFile();

    // Pages created since the last reset, and the file of each (0-based).
    int PageCount() const { return static_cast<int>(pages_.size()); }
    const std::wstring& PagePath(int page) const;

    // Closes the open page and deletes every page file; the count becomes 0.
    void Reset();

private:
    std::wstring folder_;
    std::vector<std::unique_ptr<TemporaryFile>> pages_;
    bool pageOpen_ = false;  // the last of pages_ is being written
    std::wstring openText_;  // the open page's lines, written out on close
};

}  // namespace qx
