#include "qx/export/text_st_list_export.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

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

// An article as it is being written: its text without outer line feeds,
// where its next line starts, and what is left of it.
class ArticleInWriting {
public:
    ArticleInWriting(const CArticle& article, int extraEmptyLines) : article_(article) {
        const std::wstring_view text = article.m_text.str();
        const size_t first = text.find_first_not_of(L'\n');
        if (first != std::wstring_view::npos) text_ = text.substr(first, text.find_last_not_of(L'\n') - first + 1);
        linesLeft = 1 + static_cast<int>(std::count(text_.begin(), text_.end(), L'\n')) + extraEmptyLines;
    }

    const CArticle& Article() const { return article_; }
    bool HasNextLine() const { return next_ <= text_.size(); }
    // The next line of the text, without its line end; "" once they are used up.
    std::wstring_view NextLine() {
        if (!HasNextLine()) return {};
        size_t end = text_.find(L'\n', next_);
        if (end == std::wstring_view::npos) end = text_.size();
        std::wstring_view line = text_.substr(next_, end - next_);
        next_ = end + 1;
        if (line.ends_with(L'\r')) line.remove_suffix(1);
        return line;
    }

    int linesLeft = 0;   // its lines not yet written, the extra empty lines included
    bool first = true;   // its output line not yet written

private:
    const CArticle& article_;
    std::wstring_view text_;
    size_t next_ = 0;
};

// Text for the value of a field, in a buffer of the caller's: a number with
// two decimals as "%.2f" writes it, empty when it is none (negative).
class ValueText {
public:
    std::wstring_view Number(double value) {
        if (!(value >= 0)) return {};
        const std::to_chars_result result = std::to_chars(narrow_, narrow_ + sizeof narrow_, value, std::chars_format::fixed, 2);
        return Widened(result);
    }
    std::wstring_view Integer(int value) {
        if (value < 0) return {};
        return Widened(std::to_chars(narrow_, narrow_ + sizeof narrow_, value));
    }

private:
    std::wstring_view Widened(const std::to_chars_result& result) {
        if (result.ec != std::errc()) return {};
        const size_t length = static_cast<size_t>(result.ptr - narrow_);
        std::copy(narrow_, result.ptr, wide_);
        return {wide_, length};
    }
    // Enough for any double with two decimals.
    char narrow_[400];
    wchar_t wide_[400];
};

// The value of output field *id* for *a* (TXT: its next text line).
std::wstring_view FieldValue(int id, ArticleInWriting& a, ValueText& text) {
    const CArticle& article = a.Article();
    switch (id) {
        case qx::detail::kFieldPosition: return text.Integer(article.m_nPos);
        case qx::detail::kFieldQuantity: return text.Number(article.m_dQuantity);
        case qx::detail::kFieldUnit: return article.m_unit.str();
        case qx::detail::kFieldText: return a.NextLine();
        case qx::detail::kFieldArticleNo: return article.m_articleNo.str();
        case qx::detail::kFieldPrice: return text.Number(article.m_dPrice);
        default: return article.m_currency.str();
    }
}

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
            const CArticle* article = list.GetNext(pos);
            if (!article) continue;
            ArticleInWriting a(*article, layout_.extraEmptyLines);
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
    // Ends the line that was appended to pending_.
    bool EndLine() {
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
            const size_t base = pending_.size();
            pending_ += line.text;
            for (const TemplateField& field : line.pageFields) {
                if (!FillField(pending_, base, field, number)) return false;
            }
            if (!EndLine()) return false;
        }
        return true;
    }

    void EmptyLines(int count) {
        for (; count > 0; --count) {
            EndLine();
            --linesLeft_;
        }
    }

    // Appends *line* with its *fields* filled for the article; false when a
    // value is longer than its field.
    bool Filled(const std::wstring& line, const std::vector<TemplateField>& fields, ArticleInWriting& a) {
        const size_t base = pending_.size();
        pending_ += line;
        for (const TemplateField& field : fields) {
            std::wstring_view value = FieldValue(field.id, a, values_);
            if (value.empty()) value = L" ";
            if (!FillField(pending_, base, field, value)) return false;
        }
        return true;
    }

    // Writes up to *count* lines of the article: its output line first, then
    // continuation lines while its text has lines, then its empty lines.
    bool WriteArticle(ArticleInWriting& a, int count) {
        for (; count > 0 && a.linesLeft > 0; --count, --a.linesLeft, --linesLeft_) {
            if (a.first) {
                if (!Filled(layout_.outputLine, layout_.outputFields, a)) return false;
                a.first = false;
            } else if (layout_.textColumn >= 0 && a.HasNextLine()) {
                if (!Filled(layout_.continuationLine, layout_.continuationFields, a)) return false;
            }
            if (!EndLine()) return false;
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
    ValueText values_;
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
