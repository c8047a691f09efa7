#include "tools/qxtool/tree_loading.h"

#include <cwctype>

#include "qx/platform/base/utf.h"
#include "qx/platform/os/last_error.h"
#include "qx/text/system_message.h"
#include "qx/tree/exc.h"
#include "tools/qxtool/command.h"

namespace qxtool {

bool IsEncodedName(const std::wstring& path) { return !path.empty() && std::towlower(path.back()) == L'x'; }

LoadedTree LoadTree(const std::string& file) {
    LoadedTree tree;
    std::wstring path = Wide(file);
    tree.encoded = IsEncodedName(path);
    try {
        qx::SetLastError(0);
        tree.root.reset(CNode::ReadFromFile(path.c_str(), tree.encoded, L':', &tree.unicode, 0));
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
