#include "qx/export/internal/text_list_template.h"

#include <cwctype>
#include <iterator>

#include "qx/export/st_list.h"
#include "qx/message/message_table.h"
#include "qx/platform/base/format.h"
#include "qx/platform/os/ctime.h"
#include "qx/platform/wnd/message_box.h"
#include "qx/text/text_files.h"

namespace qx::detail {
namespace {

enum class Block { None, HeaderFirst, HeaderNext, Footer, Output, Variables };

// A line count beyond this is taken as this (the questions then show it).
constexpr int kLargestCount = 999999999;

std::wstring_view TrimmedLeft(std::wstring_view line) {
    size_t first = 0;
    while (first < line.size() && std::iswspace(line[first])) ++first;
    return line.substr(first);
}

// The text from *from* up to the first white space.
std::wstring_view Word(std::wstring_view line, size_t from) {
    size_t end = from;
    while (end < line.size() && !std::iswspace(line[end])) ++end;
    return line.substr(from, end - from);
}

std::wstring Upper(std::wstring_view text) {
    std::wstring upper(text);
    for (wchar_t& c : upper) c = static_cast<wchar_t>(std::towupper(c));
    return upper;
}

bool IsBlockEnd(std::wstring_view line) { return Upper(line.substr(0, 4)) == L"#END"; }

const wchar_t* Translated(const wchar_t* key) { return qx::TranslateMessage(key); }

const wchar_t* const kInvalidField =
    L"Zeile %d: \"%s\"\n\nEs dürfen nur gültige Variablennamen\nmit der Kennzeichnung '$' aufgeführt sein!";

// A variable of the #VAR block: where it goes, the counts accepted without
// asking, and the question for any other.
struct Variable {
    const wchar_t* name;
    int TextListTemplate::*count;
    int low;
    int high;
    const wchar_t* question;
};
constexpr Variable kVariables[] = {
    {L"LINES_PG", &TextListTemplate::linesPerPage, 10, 100, L"Gibt es wirklich %d druckbare Zeilen?"},
    {L"LINES_T1", &TextListTemplate::headerFirstLines, 2, 30, L"Ist der Kopf für Seite 1 wirklich %d Zeilen groß?"},
    {L"LINES_TN", &TextListTemplate::headerNextLines, 2, 30,
     L"Ist der Kopf für Seite 2 und folgende wirklich %d Zeilen groß?"},
    {L"LINES_BO", &TextListTemplate::footerLines, 1, 20, L"Ist die Fußzeile wirklich %d Zeilen groß?"},
};

// The number of an output field's name (OutputField), -1 for none.
int OutputFieldId(const std::wstring& name) {
    static const wchar_t* const kNames[] = {L"POS", L"NUM", L"UNT", L"TXT", L"ART", L"PRC", L"CURR"};
    for (int id = 0; id < static_cast<int>(std::size(kNames)); ++id) {
        if (name == kNames[id]) return id;
    }
    return -1;
}

class TemplateReader {
public:
    TemplateReader(const CProjectInfo* project, TextListTemplate& result) : project_(project), result_(result) {}

    bool Read(std::wstring_view text) {
        std::vector<std::wstring_view> lines;
        qx::SplitTextLines(text, lines);
        for (std::wstring_view line : lines) {
            ++line_;
            if (!(block_ == Block::None ? Outside(line) : Inside(line))) return false;
        }
        if (block_ != Block::None && !CloseBlock()) return false;
        if (!read_[static_cast<int>(Block::Variables)]) {
            return Fail(Prefix() + Translated(L"Die Vorlage enthält keinen Variablenblock!"));
        }
        if (result_.articleLinesNext < kFewestArticleLines) {
            return Fail(Prefix(variablesEnd_) +
                        qx::Format(Translated(L"Kopf und Fußzeile lassen auf den Folgeseiten nur %d Zeilen für "
                                              L"Artikel.\nEs müssen mindestens 3 sein!"),
                                   result_.articleLinesNext));
        }
        return true;
    }

private:
    bool Fail(const std::wstring& message) {
        qx::ShowAppMessage(message.c_str(), MB_ICONSTOP);
        return false;
    }
    std::wstring Prefix(int line = 0) const { return qx::Format(Translated(L"Zeile: %d\n"), line ? line : line_); }
    std::wstring Quoted(const wchar_t* key, std::wstring_view line) const {
        return qx::Format(Translated(key), line_, std::wstring(line).c_str());
    }

    bool Outside(std::wstring_view raw) {
        const std::wstring_view line = TrimmedLeft(raw);
        if (line.empty() || line.starts_with(L"//") || line[0] != L'#') return true;
        const std::wstring keyword = Upper(Word(line, 1));
        struct Opening {
            const wchar_t* keyword;
            Block block;
            const wchar_t* again;
        } const openings[] = {
            {L"TOP1", Block::HeaderFirst, L"Der Kopf der 1. Seite wurde bereits eingelesen!"},
            {L"TOPN", Block::HeaderNext, L"Der Kopf der 2. Seite wurde bereits eingelesen!"},
            {L"BOTTOM", Block::Footer, L"Die Fußzeile wurde bereits eingelesen!"},
            {L"OUTPUT", Block::Output, nullptr},
            {L"VAR", Block::Variables, L"Es wurde bereits ein Variablenblock eingelesen!"},
        };
        for (const Opening& opening : openings) {
            if (keyword != opening.keyword) continue;
            if (read_[static_cast<int>(opening.block)]) {
                if (opening.block == Block::Output) {
                    return Fail(OutputPrefix(raw) +
                                Translated(L"Die Definition der Ausgabezeile wurde bereits eingelesen.Eine "
                                           L"mehrzeilige Ausgabe ist nicht möglich!"));
                }
                return Fail(Prefix() + Translated(opening.again));
            }
            block_ = opening.block;
            read_[static_cast<int>(opening.block)] = true;
            opening_ = std::wstring(raw);
            return true;
        }
        return Fail(Quoted(L"Zeile %d: \"%s\"\nUnbekannter oder fehlplazierter Block!", raw));
    }

    std::wstring OutputPrefix(std::wstring_view opening) const {
        return qx::Format(Translated(L"Zeile %d: %s\n\n"), line_, std::wstring(opening).c_str());
    }

    bool Inside(std::wstring_view raw) {
        const std::wstring_view line = block_ == Block::Variables ? TrimmedLeft(raw) : raw;
        if (IsBlockEnd(line)) return CloseBlock();
        if (line.starts_with(L"//")) return true;
        switch (block_) {
            case Block::HeaderFirst: return AddBlockLine(raw, result_.headerFirst);
            case Block::HeaderNext: return AddBlockLine(raw, result_.headerNext);
            case Block::Footer: return AddBlockLine(raw, result_.footer);
            case Block::Output: return OutputLine(raw);
            case Block::Variables: return line.empty() || VariableLine(raw, line);
            case Block::None: break;
        }
        return true;
    }

    std::wstring BlockValue(const std::wstring& name) const {
        if (name == L"DATE_TD") {
            const CTime now = CTime::GetCurrentTime();
            return qx::Format(L"%02d.%02d.%02d", now.GetDay(), now.GetMonth(), now.GetYear());
        }
        if (!project_) return {};
        if (name == L"PROJ_NR") return project_->m_projectNo.str();
        if (name == L"PROJ_NA") return project_->m_projectName.str();
        return project_->m_projectDate.str();
    }

    bool AddBlockLine(std::wstring_view line, std::vector<BlockLine>& block) {
        if (line.starts_with(L"%")) {
            block.push_back({});
            return true;
        }
        BlockLine filled{std::wstring(line), {}};
        const std::vector<TemplateField> fields = FindFields(line);
        for (const TemplateField& field : fields) {
            const std::wstring& name = field.name;
            if (name != L"DATE_TD" && name != L"PROJ_NR" && name != L"PROJ_NA" && name != L"PROJ_DA" &&
                name != L"PAGE_NR") {
                return Fail(Quoted(kInvalidField, line));
            }
        }
        for (const TemplateField& field : fields) {
            if (field.name == L"PAGE_NR") {
                filled.pageFields.push_back(field);
            } else if (!FillField(filled.text, 0, field, BlockValue(field.name))) {
                return false;
            }
        }
        block.push_back(std::move(filled));
        return true;
    }

    bool OutputLine(std::wstring_view line) {
        if (!line.starts_with(L"%")) {
            result_.outputLine = std::wstring(line);
            outputLineNumber_ = line_;
            return true;
        }
        if (outputLineNumber_ == 0) {
            return Fail(OutputPrefix(opening_) +
                        Translated(L"Zusätzliche Leerzeilen sind nur nach der Definitionder Ausgabezeile gestattet!"));
        }
        ++result_.extraEmptyLines;
        return true;
    }

    bool VariableLine(std::wstring_view raw, std::wstring_view line) {
        if (line[0] != L'&') {
            return Fail(Quoted(L"Zeile %d: \"%s\"\n\nIm Variablenblock dürfen nur gültige Variablennamen\nmit der "
                               L"Kennzeichnung '&' aufgeführt sein!",
                               raw));
        }
        const std::wstring name = Upper(Word(line, 1));
        size_t at = 1 + name.size();
        while (at < line.size() && std::iswspace(line[at])) ++at;
        if (at >= line.size() || line[at] < L'0' || line[at] > L'9') {
            return Fail(qx::Format(Translated(L"Zeile %d: \"%s\"\nKein Wert für die Variable %s angegeben!"), line_,
                                   std::wstring(raw).c_str(), name.c_str()));
        }
        int value = 0;
        for (; at < line.size() && line[at] >= L'0' && line[at] <= L'9'; ++at) {
            value = value > (kLargestCount - 9) / 10 ? kLargestCount : value * 10 + (line[at] - L'0');
        }
        for (const Variable& variable : kVariables) {
            if (name != variable.name) continue;
            if (value < variable.low || value > variable.high) {
                const std::wstring question = Prefix() + qx::Format(Translated(variable.question), value);
                if (qx::ShowAppMessage(question.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
            }
            result_.*variable.count = value;
            return true;
        }
        return Fail(Quoted(L"Zeile %d: \"%s\"\n Unbekannter Variablenname!", raw));
    }

    bool CloseBlock() {
        const Block closed = block_;
        block_ = Block::None;
        if (closed == Block::Variables) {
            result_.articleLinesFirst = result_.linesPerPage - result_.footerLines - result_.headerFirstLines;
            result_.articleLinesNext = result_.linesPerPage - result_.footerLines - result_.headerNextLines;
            variablesEnd_ = line_;
        }
        if (closed == Block::Output && outputLineNumber_ != 0) return PrepareOutputLine();
        return true;
    }

    // The output line's fields, checked once the block is read, and the
    // continuation line made from it.
    bool PrepareOutputLine() {
        TextListTemplate& t = result_;
        t.outputFields = FindFields(t.outputLine);
        for (TemplateField& field : t.outputFields) {
            field.id = OutputFieldId(field.name);
            if (field.id < 0) return Fail(qx::Format(Translated(kInvalidField), outputLineNumber_, t.outputLine.c_str()));
        }
        for (const TemplateField& field : t.outputFields) {
            if (field.id != kFieldText) continue;
            t.textColumn = static_cast<int>(field.start);
            const size_t end = field.fit == TemplateField::Fit::Right ? field.start + field.width : field.start + 4;
            t.continuationLine = std::wstring(field.start, L' ') + t.outputLine.substr(field.start, end - field.start);
            t.continuationFields = FindFields(t.continuationLine);
            for (TemplateField& continued : t.continuationFields) continued.id = kFieldText;
            break;
        }
        return true;
    }

    const CProjectInfo* project_;
    TextListTemplate& result_;
    int line_ = 0;
    Block block_ = Block::None;
    bool read_[6] = {};
    std::wstring opening_;
    int outputLineNumber_ = 0;
    int variablesEnd_ = 0;
};

}  // namespace

bool ReadTextListTemplate(std::wstring_view text, const CProjectInfo* project, TextListTemplate& result) {
    result = TextListTemplate();
    return TemplateReader(project, result).Read(text);
}

}  // namespace qx::detail
