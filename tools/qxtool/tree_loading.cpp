#include "tools/qxtool/tree_loading.h"

#include <cwctype>

#include "qx/platform/base/utf.h"
#include "qx/platform/os/last_error.h"
#include "qx/text/system_message.h"
#include "qx/tree/exc.h"
#include "qx/tree/vdi.h"
#include "tools/qxtool/command.h"

namespace qxtool {

namespace {

// The VDI file's tree, as the tree file layer reads it; null when the file
// cannot be read.
std::unique_ptr<CNode> LoadVdi(const std::string& file, const std::wstring& path, bool encoded, bool keepUnknown) {
    qx::VdiImportOptions options;
    options.keepUnknownRecords = keepUnknown;
    qx::VdiImportOutcome outcome;
    std::unique_ptr<CNode> root(qx::ReadVdiFile(path.c_str(), encoded, 0, options, outcome));
    using Stop = qx::VdiImportOutcome::Stop;
    if (outcome.stop == Stop::kUnreadable || outcome.Complete()) return root;
    const char* hint = outcome.stop == Stop::kUnknownType ? " (--keep-unknown keeps such records)" : "";
    throw Failure(file + ": " + qx::WideToUtf8(qx::DescribeVdiImportOutcome(outcome)) + hint);
}

}  // namespace

bool IsEncodedName(const std::wstring& path) { return !path.empty() && std::towlower(path.back()) == L'x'; }

LoadedTree LoadTree(const std::string& file, bool keepUnknownVdiRecords) {
    LoadedTree tree;
    std::wstring path = Wide(file);
    tree.encoded = IsEncodedName(path);
    try {
        qx::SetLastError(0);
        if (qx::IsVdiPath(path)) {
            tree.root = LoadVdi(file, path, tree.encoded, keepUnknownVdiRecords);
        } else {
            tree.root.reset(CNode::ReadFromFile(path.c_str(), tree.encoded, L':', &tree.unicode, 0));
        }
    } catch (const CExcRead& e) {
        throw Failure(qx::WideToUtf8(e.GetMessage()));
    }
    if (!tree.root) {
        unsigned error = qx::GetLastError();
        std::string reason = error ? qx::WideToUtf8(FormatMessageW(error).Trim().str()) : "not a tree document";
        throw Failure("cannot read " + file + ": " + reason);
    }
    return tree;
}

}  // namespace qxtool
