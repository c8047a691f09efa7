// The text parts list: templates written here, lists written through them,
// the output read back byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "qx/export/text_st_list_export.h"
#include "qx/platform/base/codepage.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/ctime.h"
#include "qx/platform/os/process_info.h"
#include "tests/export/export_messages.h"
#include "tests/support/test_support.h"

namespace {

using qx::test::Messages;

// A list that owns its articles, as an application's would.
class Articles {
public:
    CArticle& Add(int pos, const wchar_t* text) {
        articles_.push_back(std::make_unique<CArticle>());
        CArticle& a = *articles_.back();
        a.m_nPos = pos;
        a.m_text = text;
        list_.AddTail(&a);
        return a;
    }
    CStList& List() { return list_; }

private:
    std::vector<std::unique_ptr<CArticle>> articles_;
    CStList list_;
};

// The line counts of most tests: 10 lines a page, headers of 3 and 2 lines
// and a footer of 1 leave 6 article lines on page 1 and 7 on the others.
const char* const kVariables = "#VAR\n&LINES_PG 10\n&LINES_T1 3\n&LINES_TN 2\n&LINES_BO 1\n#END\n";

const char* const kBlocks =
    "// headers and footer\n"
    "#TOP1\nListe $PROJ_NA\nSeite $PAGE_NR\n%\n#END\n"
    "#TOPN\nFortsetzung nach Seite $PAGE_NR\n%\n#END\n"
    "#BOTTOM\nSeite $PAGE_NR |\n#END\n";

class TextStListTest : public ::testing::Test {
protected:
    // Writes *list* through the template *text* (UTF-8 without mark, read
    // in the system code page: keep it ASCII unless that is the point).
    int Export(const std::string& text, CStList& list, CProjectInfo* project = nullptr) {
        qx::test::WriteBytes(dir_.path() / "template.txt", text);
        CTextStListExport exporter;
        return exporter.CreateStList(list, Out(), CString(dir_.Wide("template.txt")), project);
    }
    CString Out() const { return CString(dir_.Wide("list.txt")); }
    bool Written() const { return std::filesystem::exists(dir_.path() / "list.txt"); }
    std::string Output() const { return qx::test::ReadBytes(dir_.path() / "list.txt"); }
    std::vector<std::string> OutputLines() const {
        std::vector<std::string> lines;
        const std::string text = Output();
        size_t start = 0;
        for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
            lines.push_back(text.substr(start, end - start));
        }
        EXPECT_EQ(start, text.size()) << "the last line has no line feed";
        return lines;
    }

    qx::test::TempDir dir_;
};

TEST(TextStListTypes, ArticlesStartAsNoneAndCopyEveryMember) {
    CArticle article;
    EXPECT_EQ(article.m_nPos, -1);
    EXPECT_EQ(article.m_dQuantity, -1.0);
    EXPECT_EQ(article.m_dPrice, -1.0);
    EXPECT_EQ(article.m_nLineCursor, 0);
    EXPECT_EQ(article.GetLineCount(), 1);
    article.m_text = L"eins\r\nzwei\n\ndrei";
    EXPECT_EQ(article.GetLineCount(), 4);
    article.m_nPos = 3;
    article.m_unit = L"m";
    article.m_nLineCursor = 6;
    CArticle copy;
    copy = article;
    EXPECT_EQ(copy.m_nPos, 3);
    EXPECT_EQ(copy.m_unit, CString(L"m"));
    EXPECT_EQ(copy.m_text, article.m_text);
    EXPECT_EQ(copy.m_nLineCursor, 6);

    const CProjectInfo project;
    EXPECT_EQ(project.m_projectNo, CString(L" "));
    EXPECT_EQ(project.m_projectName, CString(L" "));
    EXPECT_EQ(project.m_projectDate, CString(L" "));
}

TEST_F(TextStListTest, FieldsTakeTheirWidthsFromTheLine) {
    const std::string spaces(8, ' ');
    struct Case {
        const char* output;
        std::string expected;  // the article's line
    } const cases[] = {
        // ART is 4 wide: 12 and two spaces, the kept space, then UNT to the end.
        {"$ART $UNT", "12   m"},
        // PRC runs through the "|": 10 wide, right-aligned.
        {"$PRC     |", "     12.50"},
        // A right-aligned field may have another after its "|".
        {"$POS |$NUM   |", "     7    2.50"},
        // Left-aligned up to the character before the next field, which
        // stays; the last field takes the rest of the line (the ">" too).
        {"<$UNT     $ART >", "<m" + spaces + "12"},
        {"[$CURR $TXT", "[EUR   Rohr $POS"},
        // Values are never searched for fields.
        {"$NUM $TXT", "2.50 Rohr $POS"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output);
        Articles articles;
        CArticle& a = articles.Add(7, L"Rohr $POS");
        a.m_articleNo = L"12";
        a.m_unit = L"m";
        a.m_dQuantity = 2.5;
        a.m_dPrice = 12.5;
        a.m_currency = L"EUR";
        Messages messages;
        ASSERT_EQ(Export(std::string("#OUTPUT\n") + c.output + "\n#END\n" + kVariables, articles.List()), 1);
        EXPECT_TRUE(messages.Texts().empty());
        EXPECT_EQ(OutputLines().at(0), c.expected);
    }
}

TEST_F(TextStListTest, EmptyValuesAreASpaceAndLongValuesStopTheExportSilently) {
    Articles articles;
    articles.Add(-1, L"");  // no position, quantity, price or texts
    ASSERT_EQ(Export(std::string("#OUTPUT\n$POS |$NUM  |$UNT $TXT\n#END\n") + kVariables, articles.List()), 1);
    // 6 + 7 + 4 padded, the kept space, and a space for the empty text.
    EXPECT_EQ(OutputLines().at(0), std::string(19, ' '));

    // A value longer than its field: result 0, no message, and an existing
    // output file keeps what it held.
    qx::test::WriteBytes(dir_.path() / "list.txt", "before\n");
    Articles longer;
    longer.Add(1, L"Ventil").m_articleNo = L"12345";
    Messages messages;
    EXPECT_EQ(Export(std::string("#OUTPUT\n$ART $UNT\n#END\n") + kVariables, longer.List()), 0);
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(Output(), "before\n");
}

TEST_F(TextStListTest, PagesEndWithFootersAndArticlesGoOnAfterThePageEnd) {
    Articles articles;
    articles.Add(1, L"a1\nb1\nc1");       // three lines and the extra empty one: 4 of 6
    articles.Add(2, L"\n\nx\ny\n");       // 3 lines once its outer line feeds are gone: not begun with 2 left
    articles.Add(3, L"l1\nl2\nl3\nl4\nl5\nl6");  // 7 lines with 4 left: cut after l4
    CProjectInfo project;
    project.m_projectName = L"Schule";
    Messages messages;
    ASSERT_EQ(Export(std::string(kBlocks) + "#OUTPUT\n$POS $TXT\n%\n#END\n" + kVariables, articles.List(), &project), 1);
    EXPECT_TRUE(messages.Texts().empty());
    const std::string footer = "Seite " + std::string(9, ' ');  // "$PAGE_NR |" is 10 wide, right-aligned
    const std::vector<std::string> expected = {
        "Liste Schule", "Seite 0", "",                                // TOP1: the page before the first is 0
        "1    a1", "     b1", "     c1", "",                         // the article and its extra empty line
        "", "",                                                      // 2 lines left: article 2 waits
        footer + "1",                                                // line 10: the footer of page 1
        "Fortsetzung nach Seite 1", "",                              // TOPN: the number of the page before
        "2    x", "     y", "",
        "3    l1", "     l2", "     l3", "     l4",                  // the lines left on page 2
        footer + "2",
        "Fortsetzung nach Seite 2", "",
        "     l5", "     l6", "",                                    // the rest, as continuation lines
        footer + "3",                                                // the closing footer; no padding
    };
    EXPECT_EQ(OutputLines(), expected);
    // The caller's articles are as they were.
    POSITION pos = articles.List().GetHeadPosition();
    articles.List().GetNext(pos);
    const CArticle* second = articles.List().GetNext(pos);
    EXPECT_EQ(second->m_text, CString(L"\n\nx\ny\n"));
    EXPECT_EQ(second->m_nLineCursor, 0);
    // And the list can be written again, to the same result.
    ASSERT_EQ(Export(std::string(kBlocks) + "#OUTPUT\n$POS $TXT\n%\n#END\n" + kVariables, articles.List(), &project), 1);
    EXPECT_EQ(OutputLines(), expected);
}

TEST_F(TextStListTest, TheClosingFooterFollowsTheCurrentPagesOwnCapacity) {
    // Headers of 2 and 4 lines: page 1 holds 7 article lines, the others 5.
    const std::string layout = "#TOP1\nKopf $PAGE_NR\n%\n#END\n#TOPN\nWeiter $PAGE_NR\n%\n%\n%\n#END\n"
                               "#BOTTOM\nFuss $PAGE_NR\n#END\n#OUTPUT\n$POS\n#END\n"
                               "#VAR\n&LINES_PG 10\n&LINES_T1 2\n&LINES_TN 4\n&LINES_BO 1\n#END\n";
    struct Case {
        std::vector<const wchar_t*> texts;
        std::vector<std::string> expected;
    } const cases[] = {
        // Nothing on page 1: its header alone.
        {{}, {"Kopf 0", ""}},
        // Two lines on page 1 leave 5, the others' capacity: still a footer.
        {{L"a", L"b"}, {"Kopf 0", "", "1", "2", "Fuss 1"}},
        // Exactly the 7 lines of page 1: one footer, no header after it.
        {{L"1\n2\n3\n4\n5\n6\n7"}, {"Kopf 0", "", "1", "", "", "", "", "", "", "Fuss 1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.texts.size());
        Articles articles;
        for (size_t i = 0; i < c.texts.size(); ++i) articles.Add(static_cast<int>(i) + 1, c.texts[i]);
        ASSERT_EQ(Export(layout, articles.List()), 1);
        EXPECT_EQ(OutputLines(), c.expected);
    }
}

TEST_F(TextStListTest, VariablesAreNamedInAnyCaseAndUnusualCountsAreAskedAbout) {
    // 60 lines a page, named in lower case: the footer stands on line 60.
    Articles articles;
    for (int i = 1; i <= 70; ++i) articles.Add(i, L"x");
    const std::string blocks = "#TOP1\n1\n2\n#END\n#TOPN\nt\nt\n#END\n#BOTTOM\nFuss $PAGE_NR\n#END\n#OUTPUT\n$POS\n#END\n";
    ASSERT_EQ(Export(blocks + "#VAR\n  &lines_pg 60 Zeilen\n&LINES_T1 2\n&LINES_TN 2\n&LINES_BO 1\n", articles.List()), 1);
    std::vector<std::string> lines = OutputLines();
    ASSERT_GE(lines.size(), 62u);
    EXPECT_EQ(lines[59], "Fuss 1");
    // A one-line article with one line left waits for the next page.
    EXPECT_EQ(lines[58], "");
    EXPECT_EQ(lines[57], "56");
    EXPECT_EQ(lines[62], "57");
    EXPECT_EQ(lines.back(), "Fuss 2");

    // 120 lines a page only when the question is answered Yes.
    const std::string unusual = blocks + "#VAR\n&LINES_PG 120\n&LINES_T1 2\n&LINES_TN 2\n&LINES_BO 1\n#END\n";
    std::filesystem::remove(dir_.path() / "list.txt");
    {
        Messages messages({IDNO});
        EXPECT_EQ(Export(unusual, articles.List()), 0);
        ASSERT_EQ(messages.Texts().size(), 1u);
        EXPECT_EQ(messages.Texts()[0], L"Zeile: 16\nGibt es wirklich 120 druckbare Zeilen?");
        EXPECT_EQ(messages.Flags()[0], static_cast<unsigned>(MB_YESNO | MB_ICONQUESTION));
        EXPECT_FALSE(Written());
    }
    {
        Messages messages({IDYES});
        ASSERT_EQ(Export(unusual, articles.List()), 1);
        EXPECT_EQ(messages.Texts().size(), 1u);
        lines = OutputLines();
        EXPECT_EQ(lines.size(), 2u + 70u + 1u);  // all on page 1
        EXPECT_EQ(lines.back(), "Fuss 1");
    }
    // Each count has its range and its question.
    struct Case {
        const char* line;
        const wchar_t* question;
    } const cases[] = {
        {"&LINES_PG 9", L"Gibt es wirklich 9 druckbare Zeilen?"},
        {"&LINES_T1 31", L"Ist der Kopf für Seite 1 wirklich 31 Zeilen groß?"},
        {"&LINES_TN 1", L"Ist der Kopf für Seite 2 und folgende wirklich 1 Zeilen groß?"},
        {"&LINES_BO 21", L"Ist die Fußzeile wirklich 21 Zeilen groß?"},
        {"&LINES_PG 99999999999999", L"Gibt es wirklich 999999999 druckbare Zeilen?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Messages messages({IDNO});
        EXPECT_EQ(Export(std::string("#VAR\n") + c.line + "\n", articles.List()), 0);
        ASSERT_EQ(messages.Texts().size(), 1u);
        EXPECT_EQ(messages.Texts()[0], std::wstring(L"Zeile: 2\n") + c.question);
    }
}

TEST_F(TextStListTest, EveryTemplateFaultShowsItsMessageWithItsLineNumber) {
    const std::string output = "#OUTPUT\n$POS\n#END\n";
    struct Case {
        std::string text;
        std::wstring message;
    } const cases[] = {
        {"// Vorlage\n#FOOT\n", L"Zeile 2: \"#FOOT\"\nUnbekannter oder fehlplazierter Block!"},
        {"#TOP1\n#END\n  #end\n", L"Zeile 3: \"  #end\"\nUnbekannter oder fehlplazierter Block!"},
        {"#TOP1\n%\nSeite $SEITE\n",
         L"Zeile 3: \"Seite $SEITE\"\n\nEs dürfen nur gültige Variablennamen\nmit der Kennzeichnung '$' aufgeführt sein!"},
        {"#OUTPUT\n$POS|  $NUM\n%\n#END\n",
         L"Zeile 2: \"$POS|  $NUM\"\n\nEs dürfen nur gültige Variablennamen\nmit der Kennzeichnung '$' aufgeführt sein!"},
        {"#TOP1\n#END\n#top1 again\n", L"Zeile: 3\nDer Kopf der 1. Seite wurde bereits eingelesen!"},
        {"#TOPN\n#END\n#TOPN\n", L"Zeile: 3\nDer Kopf der 2. Seite wurde bereits eingelesen!"},
        {"#BOTTOM\n#END\n#BOTTOM\n", L"Zeile: 3\nDie Fußzeile wurde bereits eingelesen!"},
        {"#OUTPUT Zeile\n%\n",
         L"Zeile 2: #OUTPUT Zeile\n\nZusätzliche Leerzeilen sind nur nach der Definitionder Ausgabezeile gestattet!"},
        {output + "#OUTPUT\n",
         L"Zeile 4: #OUTPUT\n\nDie Definition der Ausgabezeile wurde bereits eingelesen.Eine mehrzeilige Ausgabe ist "
         L"nicht möglich!"},
        {"#VAR\nLINES_PG 10\n",
         L"Zeile 2: \"LINES_PG 10\"\n\nIm Variablenblock dürfen nur gültige Variablennamen\nmit der Kennzeichnung '&' "
         L"aufgeführt sein!"},
        {"#VAR\n&lines_pg\n", L"Zeile 2: \"&lines_pg\"\nKein Wert für die Variable LINES_PG angegeben!"},
        {"#VAR\n&LINES_PG Zeilen\n", L"Zeile 2: \"&LINES_PG Zeilen\"\nKein Wert für die Variable LINES_PG angegeben!"},
        {"#VAR\n&LINES_XX 5\n", L"Zeile 2: \"&LINES_XX 5\"\n Unbekannter Variablenname!"},
        {std::string(kVariables) + "#VAR\n", L"Zeile: 7\nEs wurde bereits ein Variablenblock eingelesen!"},
        {output, L"Zeile: 3\nDie Vorlage enthält keinen Variablenblock!"},
        // The following pages would hold 1 article line: no list could end.
        {"#VAR\n&LINES_PG 10\n&LINES_T1 2\n&LINES_TN 8\n&LINES_BO 1\n#END\n// fertig\n",
         L"Zeile: 6\nKopf und Fußzeile lassen auf den Folgeseiten nur 1 Zeilen für Artikel.\nEs müssen mindestens 3 sein!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Articles articles;
        articles.Add(1, L"x");
        Messages messages;
        EXPECT_EQ(Export(c.text, articles.List()), 0);
        ASSERT_EQ(messages.Texts().size(), 1u);
        EXPECT_EQ(messages.Texts()[0], c.message);
        EXPECT_EQ(messages.Flags()[0], static_cast<unsigned>(MB_ICONSTOP));
        EXPECT_FALSE(Written());
    }
}

TEST_F(TextStListTest, FilesThatCannotBeOpenedOrCreatedAreReported) {
    Articles articles;
    CTextStListExport exporter;
    {
        Messages messages;
        EXPECT_EQ(exporter.CreateStList(articles.List(), Out(), CString(dir_.Wide("missing.txt")), nullptr), 0);
        ASSERT_EQ(messages.Texts().size(), 1u);
        EXPECT_EQ(messages.Texts()[0], L"Die Vorlage \"" + dir_.Wide("missing.txt") + L"\" konnte nicht geöffnet werden!");
    }
    {
        qx::test::WriteBytes(dir_.path() / "template.txt", kVariables);
        Messages messages;
        const CString output(dir_.Wide("no/such/folder/list.txt"));
        EXPECT_EQ(exporter.CreateStList(articles.List(), output, CString(dir_.Wide("template.txt")), nullptr), 0);
        ASSERT_EQ(messages.Texts().size(), 1u);
        EXPECT_EQ(messages.Texts()[0], L"Die Datei \"" + output.str() + L"\" konnte nicht erstellt werden!");
    }
}

TEST_F(TextStListTest, BlockFieldsAreFilledWhenReadAndPageNumbersWhenWritten) {
    // 2026-03-05 12:00 UTC: the same date in every time zone of Europe.
    qx::SetClockForTesting([] { return std::int64_t{1772712000} * 1000; });
    const CTime now = CTime::GetCurrentTime();
    const std::string today = (now.GetDay() < 10 ? "0" : "") + std::to_string(now.GetDay()) + "." +
                              (now.GetMonth() < 10 ? "0" : "") + std::to_string(now.GetMonth()) + "." +
                              std::to_string(now.GetYear());
    const std::string blocks = "#TOP1\nNr $PROJ_NR   |$PROJ_NA $PROJ_DA\n$DATE_TD   $PAGE_NR $PAGE_NR\n#END\n"
                               "#BOTTOM\n[$PROJ_NR  |]\n#END\n#OUTPUT\n$POS\n#END\n" + std::string(kVariables);
    Articles articles;
    articles.Add(1, L"x");
    CProjectInfo project;
    project.m_projectNo = L"4711";
    project.m_projectName = L"Schule";
    project.m_projectDate = L"1.2.2026";
    ASSERT_EQ(Export(blocks, articles.List(), &project), 1);
    // NR right-aligned 12 wide, NA left-aligned 8 wide and the kept space,
    // DA to the end; the page numbers 8 wide and to the end.
    EXPECT_EQ(OutputLines(), (std::vector<std::string>{"Nr " + std::string(8, ' ') + "4711Schule   1.2.2026",
                                                       today + " 0" + std::string(8, ' ') + "0", "1",
                                                       "[" + std::string(7, ' ') + "4711]"}));
    // Without project information the project fields are empty.
    ASSERT_EQ(Export(blocks, articles.List()), 1);
    EXPECT_EQ(OutputLines().at(0), "Nr " + std::string(21, ' '));
    EXPECT_EQ(OutputLines().at(3), "[" + std::string(11, ' ') + "]");
    // A project value longer than its field ends the reading (no message).
    project.m_projectNo = L"1234567890123";
    Messages messages;
    EXPECT_EQ(Export(blocks, articles.List(), &project), 0);
    EXPECT_TRUE(messages.Texts().empty());
    qx::SetClockForTesting(nullptr);
}

TEST_F(TextStListTest, TheListIsWrittenInTheTemplatesEncodingAndLineEnds) {
    const std::u8string text8 = u8"#TOP1\r\nStückliste\r\n#END\r\n#OUTPUT\r\n$TXT\r\n#END\r\n#VAR\r\n&LINES_PG 10\r\n"
                                u8"&LINES_T1 2\r\n&LINES_TN 2\r\n&LINES_BO 1\r\n";
    const std::string utf8(text8.begin(), text8.end());
    const std::wstring wide = qx::Utf8ToWide(utf8);
    struct Case {
        const char* name;
        std::string bytes;     // the template
        std::string expected;  // the list
    } const cases[] = {
        {"UTF-8", "\xEF\xBB\xBF" + utf8, "\xEF\xBB\xBF" "St\xC3\xBC" "ckliste\r\nGr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC\r\n"},
        {"UTF-16", "\xFF\xFE" + qx::WideToUtf16Bytes(wide, false),
         "\xFF\xFE" + qx::WideToUtf16Bytes(L"Stückliste\r\nGröße €\r\n", false)},
        // Without a mark: the system code page (1252) both ways.
        {"1252", qx::WideToCodePage(wide, 1252), "St\xFC" "ckliste\r\nGr\xF6\xDF" "e \x80\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Articles articles;
        articles.Add(1, L"Größe €");
        ASSERT_EQ(Export(c.bytes, articles.List()), 1);
        EXPECT_EQ(Output(), c.expected);
    }
}

}  // namespace
