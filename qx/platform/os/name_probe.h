// Existence checks for searches that try many names in few folders.
//
// NameProbe::Exists(path) tells what GetFileStatus(path).has_value() tells,
// including names that exist in another letter case. The probe reads the
// state of each folder it is asked about once and answers from the folder's
// listing, which is kept process-wide while the folder's modification time
// stands (see native_path.h): a name the listing holds as a plain file or
// folder, or does not hold at all, costs no system call of its own. Names in
// folders that cannot be listed, symbolic links and entries whose kind the
// file system does not tell are asked about one by one.
//
// A probe answers for the moment of one search: make one per search, since
// a folder's state is not read again while the probe lives.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/base/export.h"

namespace qx {

namespace detail {
class FolderListing;
}

class QX_API NameProbe {
public:
    NameProbe();
    ~NameProbe();
    NameProbe(const NameProbe&) = delete;
    NameProbe& operator=(const NameProbe&) = delete;

    bool Exists(std::wstring_view path);

private:
    // The listing of *nativeFolder*, null when it cannot be listed.
    const detail::FolderListing* Listing(const std::string& nativeFolder);

    struct Folder {
        std::string path;
        std::shared_ptr<const detail::FolderListing> listing;
    };
    std::vector<Folder> folders_;
};

}  // namespace qx
