// Tree files: CNode::WriteToFile, CNode::ReadFromFile, the TreeItems
// convenience readers and VDI files read with their import's outcome.
#include <cwctype>
#include <memory>
#include <optional>
#include <string>

#include "qx/message/message_table.h"
#include "qx/platform/base/codepage.h"
#include "qx/platform/base/format.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/last_error.h"
#include "qx/platform/wnd/message_box.h"
#include "qx/text/encoded_form.h"
#include "qx/text/text_codec.h"
#include "qx/tree/exc.h"
#include "qx/tree/internal/tree_reader.h"
#include "qx/tree/internal/tree_writer.h"
#include "qx/tree/internal/vdi_import.h"
#include "qx/tree/tree_items.h"
#include "qx/tree/vdi.h"

namespace {

using qx::IsVdiPath;

const wchar_t* ReadErrorCaption() { return qx::TranslateMessage("Fehler beim Lesen der Datei:"); }

// The file's bytes: UTF-8 with its mark or code page *codePage*, the VDI
// export for a ".vdi" path, else the text form written straight into bytes.
std::string TreeFileBytes(const CNode& node, const wchar_t* path, bool indent, bool utf8, unsigned codePage,
                          wchar_t separator) {
    std::string bytes = utf8 ? qx::EncodeUtf8WithMark(L"") : std::string();
    const qx::CodePageWriter writer(utf8 ? qx::kCpUtf8 : codePage);
    if (IsVdiPath(path)) {
        writer.Append(qx::ExportVdi(node).str(), bytes);
    } else {
        qx::detail::AppendNodeEncoded(node, indent ? 0 : -1, separator, writer, bytes);
    }
    return bytes;
}

// A VDI file imported from its bytes with *options*; null when the file
// cannot be read (the outcome then says so) or the import gives no tree.
CNode* ImportVdiFile(const wchar_t* path, bool encoded, unsigned codePage, const qx::VdiImportOptions& options,
                     qx::VdiImportOutcome& outcome) {
    std::optional<std::string> bytes = path ? qx::ReadWholeFile(path) : std::nullopt;
    if (!bytes) {
        outcome = qx::VdiImportOutcome();
        outcome.stop = qx::VdiImportOutcome::Stop::kUnreadable;
        return nullptr;
    }
    if (encoded) qx::DecodeStoredBytes(*bytes);
    return qx::detail::ImportVdiBytes(*bytes, codePage, options, outcome);
}

}  // namespace

bool qx::IsVdiPath(std::wstring_view path) {
    return path.size() > 4 && CString(std::wstring(path.substr(path.size() - 4))).CompareNoCase(L".vdi") == 0;
}

bool CNode::WriteToFile(const wchar_t* path, bool encode, bool indent, bool utf8, unsigned codePage,
                        wchar_t separator) const {
    if (!path || !*path) return false;
    std::string bytes = TreeFileBytes(*this, path, indent, utf8, codePage, separator);
    if (encode) qx::EncodeBytes(bytes);
    return qx::WriteFileAtomically(path, bytes);
}

CNode* CNode::ReadFromFile(const wchar_t* path, bool encoded, wchar_t separator, bool* isUnicode,
                           unsigned codePage) {
    if (!path) return nullptr;
    if (IsVdiPath(path)) {
        qx::VdiImportOutcome outcome;
        CNode* root = ImportVdiFile(path, encoded, codePage, qx::VdiImportOptions(), outcome);
        qx::detail::ShowVdiImportMessage(outcome);
        return root;
    }
    std::optional<std::string> bytes = qx::ReadWholeFile(path);
    if (!bytes) return nullptr;
    bool unicode = qx::HasUnicodeMark(*bytes, encoded);
    if (encoded) qx::DecodeStoredBytes(*bytes);

    auto root = std::make_unique<CNode>();
    qx::detail::ReadTreeBytes(*root, *bytes, codePage, separator);  // a CExcRead passes on; the root goes with it
    if (isUnicode) *isUnicode = unicode;
    return root.release();
}

CNode* qx::ReadVdiFile(const wchar_t* path, bool encoded, unsigned codePage, const VdiImportOptions& options,
                       VdiImportOutcome& outcome) {
    return ImportVdiFile(path, encoded, codePage, options, outcome);
}

namespace TreeItems {

int ReadFromFile(const CString& path, CNode*& root, int quiet) {
    bool encoded = !path.IsEmpty() && std::towlower(static_cast<wint_t>(path[path.GetLength() - 1])) == L'x';
    CNode* read = nullptr;
    try {
        qx::SetLastError(0);
        read = CNode::ReadFromFile(path, encoded, L':', nullptr, 0);
    } catch (const CExcRead& e) {
        if (!quiet) {
            qx::ShowAppMessage(qx::Format(L"%s\n%s\nError: %s", ReadErrorCaption(), path.GetString(), e.GetMessage()).c_str(),
                               MB_ICONERROR);
        }
        return 0;
    }
    if (read) {
        root = read;
        return 1;
    }
    unsigned error = qx::GetLastError();
    if (quiet || error == qx::kErrorFileNotFound) return 0;
    std::wstring text = error ? qx::Format(L"%s\n%s\nError: %d", ReadErrorCaption(), path.GetString(), error)
                              : qx::Format(L"%s\n%s", ReadErrorCaption(), path.GetString());
    qx::ShowAppMessage(text.c_str(), MB_ICONERROR);
    return 0;
}

int ReadFromString(const CString& text, CNode*& root, int quiet) {
    root = new CNode;
    const wchar_t* cursor = text.GetString();
    try {
        root->ReadFromMem(cursor, L':');
    } catch (const CExcRead& e) {
        if (!quiet) qx::ShowAppMessage(e.GetMessage(), MB_ICONERROR);
        return 0;
    }
    return 1;
}

}  // namespace TreeItems
