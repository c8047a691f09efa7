#include "qx/export/text_st_list_export.h"

#include <memory>
#include <optional>
#include <string>

#include "qx/export/internal/text_list_template.h"
#include "qx/message/message_table.h"
#include "qx/platform/base/codepage.h"
#include "qx/platform/base/format.h"
#include "qx/platform/os/file_stream.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/wnd/control_classes.h"
#include "qx/platform/wnd/message_box.h"
#include "qx/text/text_codec.h"

namespace {

using qx::detail::BlockLine;
using qx::detail::TemplateField;
using qx::detail::TextListTemplate;

// A template is a page description written by hand.
constexpr std::uint64_t kMaxTemplateBytes = 64u << 20;
// Text gathered before it is encoded and written.
constexpr size_t kChunkCharacters = 1u << 16;

void ShowFileMessage(const wchar_t* format, const CString& path) {
    qx::ShowAppMessage(qx::Format(qx::TranslateMessage(format), path.GetString()).c_str(), MB_ICONSTOP);
}

std::wstring Number(double value) { return value >= 0 ? qx::Format(L"%.2lf", value) : std::wstring(); }

// The value of output field *name* for *article* (TXT: its next text line).
std::wstring FieldValue(const std::wstring& name, CArticle& article) {
    if (name == L"POS") return article.m_nPos >= 0 ? qx::Format(L"%d", article.m_nPos) : std::wstring();
    if (name == L"NUM") return Number(article.m_dQuantity);
    if (name == L"UNT") return article.m_unit.str();
    if (name == L"TXT") return article.GetNextLine().str();
    if (name == L"ART") return article.m_articleNo.str();
    if (name == L"PRC") return Number(article.m_dPrice);
    return article.m_currency.str();  // CURR: the template reader lets no other name through
}

// *text* without line feeds at either end.
CString WithoutOuterLineFeeds(const CString& text) {
    const std::wstring& s = text.str();
    const size_t first = s.find_first_not_of(L'\n');
    if (first == std::wstring::npos) return CString();
    return CString(s.substr(first, s.find_last_not_of(L'\n') - first + 1));
}

// One article as it is being written: what is left of it.
struct ArticleInWriting {
    CArticle article;
    int linesLeft = 0;   // its lines not yet written, the extra empty lines included
    bool first = true;   // its output line not yet written
};

class ListWriter {
public:
    ListWriter(const TextListTemplate& layout, qx::FileReplacer& file, unsigned codePage, std::wstring lineEnd)
        : layout_(layout), file_(file), codePage_(codePage), encoder_(codePage), lineEnd_(std::move(lineEnd)) {}

    // Writes the byte-order mark of the code page (if it has one) and the
    // list. False when a value did not fit its field or the file could not
    // be written (WriteFailed tells which).
    bool Write(const CStList& list) {
        if (!file_.Write(qx::TextMark(codePage_))) writeFailed_ = true;
        page_ = 0;
        linesLeft_ = layout_.articleLinesFirst;
        capacity_ = layout_.articleLinesFirst;
        if (!WriteBlock(layout_.headerFirst)) return false;
        for (POSITION pos = list.GetHeadPosition(); pos;) {
            const CArticle* source = list.GetNext(pos);
            if (!source) continue;
            ArticleInWriting a{*source};
            a.article.m_text = WithoutOuterLineFeeds(a.article.m_text);
            a.article.ResetLines();
            a.linesLeft = a.article.GetLineCount() + layout_.extraEmptyLines;
            while (linesLeft_ <= a.linesLeft) {
                if (linesLeft_ < qx::detail::kFewestArticleLines) {
                    EmptyLines(linesLeft_);
                } else if (!WriteArticle(a, linesLeft_)) {
                    return false;
                }
                if (!EndPage(a.linesLeft > 0 || pos != nullptr)) return false;
            }
            if (a.linesLeft > 0 && !WriteArticle(a, a.linesLeft)) return false;
        }
        if (linesLeft_ != capacity_) {
            ++page_;
            if (!WriteBlock(layout_.footer)) return false;
        }
        return Flush();
    }

    bool WriteFailed() const { return writeFailed_; }

private:
    bool Line(std::wstring_view text) {
        pending_ += text;
        pending_ += lineEnd_;
        return pending_.size() < kChunkCharacters ? !writeFailed_ : Flush();
    }

    bool Flush() {
        std::string bytes;
        encoder_.Append(pending_, bytes);
        pending_.clear();
        if (!file_.Write(bytes)) writeFailed_ = true;
        return !writeFailed_;
    }

    bool WriteBlock(const std::vector<BlockLine>& block) {
        const std::wstring number = qx::Format(L"%d", page_);
        for (const BlockLine& line : block) {
            std::wstring text = line.text;
            for (const TemplateField& field : line.pageFields) {
                if (!FillField(text, field, number)) return false;
            }
            if (!Line(text)) return false;
        }
        return true;
    }

    void EmptyLines(int count) {
        for (; count > 0; --count) {
            Line({});
            --linesLeft_;
        }
    }

    // Fills *fields* of *line* for the article; false when a value is
    // longer than its field.
    static bool Filled(std::wstring& line, const std::vector<TemplateField>& fields, CArticle& article) {
        for (const TemplateField& field : fields) {
            std::wstring value = FieldValue(field.name, article);
            if (value.empty()) value = L" ";
            if (!FillField(line, field, value)) return false;
        }
        return true;
    }

    // Writes up to *count* lines of the article: its output line first, then
    // continuation lines while its text has lines, then its empty lines.
    bool WriteArticle(ArticleInWriting& a, int count) {
        for (; count > 0 && a.linesLeft > 0; --count, --a.linesLeft, --linesLeft_) {
            std::wstring line;
            if (a.first) {
                line = layout_.outputLine;
                if (!Filled(line, layout_.outputFields, a.article)) return false;
                a.first = false;
            } else if (layout_.textColumn >= 0 && a.article.HasNextLine()) {
                line = layout_.continuationLine;
                if (!Filled(line, layout_.continuationFields, a.article)) return false;
            }
            if (!Line(line)) return false;
        }
        return true;
    }

    // The footer; then, when *more* is to be written, the next page's
    // header. Lines are counted afresh either way.
    bool EndPage(bool more) {
        ++page_;
        if (!WriteBlock(layout_.footer)) return false;
        if (more && !WriteBlock(layout_.headerNext)) return false;
        linesLeft_ = layout_.articleLinesNext;
        capacity_ = layout_.articleLinesNext;
        return true;
    }

    const TextListTemplate& layout_;
    qx::FileReplacer& file_;
    unsigned codePage_;
    qx::CodePageWriter encoder_;
    std::wstring lineEnd_;
    std::wstring pending_;
    bool writeFailed_ = false;
    int page_ = 0;
    int linesLeft_ = 0;
    int capacity_ = 0;  // the article lines of the current page
};

// CR LF when the template's first line ends so, else LF.
std::wstring LineEndOf(std::wstring_view text) {
    const size_t end = text.find_first_of(L"\r\n");
    return end != std::wstring_view::npos && text.substr(end, 2) == L"\r\n" ? L"\r\n" : L"\n";
}

}  // namespace

CTextStListExport::CTextStListExport() = default;
CTextStListExport::~CTextStListExport() = default;

int CTextStListExport::CreateStList(CStList& list, const CString& outputFile, const CString& templateFile,
                                    CProjectInfo* project) {
    CWaitCursor wait;
    const std::optional<std::string> bytes = qx::ReadWholeFileShared(templateFile.str(), kMaxTemplateBytes);
    if (!bytes) {
        ShowFileMessage(L"Die Vorlage \"%s\" konnte nicht geöffnet werden!", templateFile);
        return 0;
    }
    const std::unique_ptr<qx::FileReplacer> output = qx::FileReplacer::Create(outputFile.str());
    if (!output) {
        ShowFileMessage(L"Die Datei \"%s\" konnte nicht erstellt werden!", outputFile);
        return 0;
    }
    const std::wstring text = qx::DecodeText(*bytes, qx::kCpAcp);
    TextListTemplate layout;
    if (!qx::detail::ReadTextListTemplate(text, project, layout)) return 0;

    const unsigned marked = qx::MarkedCodePage(*bytes);
    ListWriter writer(layout, *output, marked ? marked : qx::kCpAcp, LineEndOf(text));
    const bool written = writer.Write(list);
    if (!written && !writer.WriteFailed()) return 0;  // a value longer than its field
    if (!written || !output->Commit()) {
        ShowFileMessage(L"Die Datei \"%s\" konnte nicht geschrieben werden!", outputFile);
        return 0;
    }
    return 1;
}
