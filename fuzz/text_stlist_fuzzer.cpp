// Text parts-list templates from arbitrary bytes, written with a small list
// of articles (a multi-line text, an empty one, values holding "$" and "|").
// The questions of the VAR block are answered Yes and No in turn.
//
// What holds: the export ends (every template: the paging of a list always
// comes to its end), and the output file exists exactly when the export
// reports success (a failed export leaves no partial file).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>

#include "qx/export/text_st_list_export.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/wnd/message_box.h"

namespace {

// Files of this process in the temporary folder.
const std::wstring& FileStem() {
    static const std::wstring stem = qx::TempDirectory() + L"text_stlist_fuzzer_" + std::to_wstring(std::random_device{}());
    return stem;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring templateFile = FileStem() + L".tpl";
    const std::wstring outputFile = FileStem() + L".txt";
    if (!qx::WriteFileAtomically(templateFile, std::string_view(reinterpret_cast<const char*>(data), size))) return 0;

    bool yes = false;
    qx::ScopedMessageHandler answers([&yes](const wchar_t*, const wchar_t*, unsigned flags) {
        if ((flags & MB_TYPEMASK) != MB_YESNO) return IDOK;
        yes = !yes;
        return yes ? IDYES : IDNO;
    });

    CArticle articles[3];
    articles[0].m_nPos = 1;
    articles[0].m_dQuantity = 2.5;
    articles[0].m_unit = L"Stk";
    articles[0].m_text = L"\nHeizkörper Typ 22\nmit $POS und |\r\n\nEntlüftung\n";
    articles[0].m_articleNo = L"4711";
    articles[0].m_dPrice = 1234.5;
    articles[0].m_currency = L"EUR";
    articles[2].m_text = L"a\nb\nc\nd\ne\nf\ng\nh\ni\nj\nk\nl\nm\nn\no\np\nq\nr\ns\nt\nu\nv\nw";
    articles[2].m_unit = L"$TXT";
    CStList list;
    for (CArticle& article : articles) list.AddTail(&article);
    CProjectInfo project;
    project.m_projectName = L"Schule $PAGE_NR";

    CTextStListExport exporter;
    const int result = exporter.CreateStList(list, outputFile.c_str(), templateFile.c_str(), size % 2 ? &project : nullptr);
    const bool written = qx::FileExists(outputFile);
    qx::RemoveFile(outputFile);
    qx::RemoveFile(templateFile);
    if ((result == 1) != written) std::abort();
    return 0;
}
