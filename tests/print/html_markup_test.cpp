#include "qx/print/html_markup.h"

#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using qx::HtmlToken;

// The tokens in a compact form: words in brackets, "/" for a line break,
// "P<alignment>" for a paragraph, with "+" when it starts a line.
std::wstring Shape(const std::vector<HtmlToken>& tokens) {
    std::wstring shape;
    for (const HtmlToken& token : tokens) {
        switch (token.kind) {
            case HtmlToken::Kind::Word: shape += L"[" + token.text.str() + L"]"; break;
            case HtmlToken::Kind::LineBreak: shape += L"/"; break;
            case HtmlToken::Kind::Paragraph:
                shape += L"P" + std::to_wstring(token.alignment) + (token.startsLine ? L"+" : L"");
                break;
        }
    }
    return shape;
}

std::vector<HtmlToken> Words(const std::vector<HtmlToken>& tokens) {
    std::vector<HtmlToken> words;
    for (const HtmlToken& token : tokens) {
        if (token.kind == HtmlToken::Kind::Word) words.push_back(token);
    }
    return words;
}

TEST(HtmlMarkupTest, CutsTextIntoWordPiecesLinesAndParagraphs) {
    struct Case {
        const char* name;
        const wchar_t* markup;
        const wchar_t* shape;
    } const cases[] = {
        {"tags between words", L"<b>Rohr</b> Bogen", L"[Rohr][ Bogen]"},
        {"after spaces and hyphens", L"Vor- und Rücklauf-Temperatur", L"[Vor- ][und ][Rücklauf-][Temperatur]"},
        {"a piece starts with its first character", L"a  b--c", L"[a ][ b-][-c]"},
        {"only spaces add nothing", L"a<b>   </b>c", L"[a][c]"},
        {"line feeds, carriage returns removed", L"a\r\nb\n\nc", L"[a]/[b]//[c]"},
        {"a carriage return alone makes no piece", L"a\r\n\r\nb", L"[a]//[b]"},
        {"br opening and closing", L"x<br>y</BR>z< br >", L"[x]/[y]/[z]/"},
        {"an unclosed < stays text", L"a < b", L"[a ][< ][b]"},
        {"text up to the first >", L"a<b<i>c>d", L"[a][c>d]"},
        {"unknown tags are ignored", L"<table>x</table><br/>y", L"[x][y]"},
        {"paragraphs", L"a<P align=right>b c</P>d<p>e", L"[a]P2+[b ][c]P0[d]P0+[e]"},
        {"paragraph alignments", L"<P align=CENTER>a<P align=left>b<P align=middle>c",
         L"P1+[a]P0+[b]P0+[c]"},
        {"closing paragraph with an alignment acts as opening", L"a</P align=center>b", L"[a]P1+[b]"},
        {"a tag that only starts with P", L"<Pre>a", L"[a]"},
        {"empty", L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Shape(qx::ParseHtmlMarkup(c.markup, {})), c.shape);
    }
}

TEST(HtmlMarkupTest, ReplacesKnownEntitiesOnce) {
    struct Case {
        const wchar_t* markup;
        const wchar_t* text;
    } const cases[] = {
        {L"&auml;&ouml;&uuml;&szlig;", L"\u00E4\u00F6\u00FC\u00DF"},
        {L"&Auml;&Ouml;&UUML;", L"\u00C4\u00D6\u00DC"},
        {L"&quot;x&QUOT;", L"'x'"},
        {L"&lt;b&gt;&amp;", L"<b>&"},
        {L"a&nbsp;b", L"a b"},  // a space from an entity does not cut the piece
        {L"&amp;lt;", L"&lt;"},
        {L"&euro;&#65;&amp&;;&", L"&euro;&#65;&amp&;;&"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.markup[1]));
        const auto words = Words(qx::ParseHtmlMarkup(c.markup, {}));
        ASSERT_EQ(words.size(), 1u);
        EXPECT_EQ(words[0].text, c.text);
    }
}

TEST(HtmlMarkupTest, TagsSwitchAttributesOfTheFollowingPieces) {
    DynamicFontInfo initial;
    initial.face = L"Courier New";
    initial.size = 80;
    initial.colour = RGB(0, 0, 255);
    initial.angle = 90;
    const auto words = Words(qx::ParseHtmlMarkup(
        L"<B>a</b><strong>b</STRONG><i>c</i><em>d</em><u>e</u><sup>f</sup><sub>g</sub>h", initial));
    ASSERT_EQ(words.size(), 8u);
    const bool bold[] = {true, true, false, false, false, false, false, false};
    const bool italic[] = {false, false, true, true, false, false, false, false};
    for (size_t k = 0; k < words.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(words[k].font.bold, bold[k]);
        EXPECT_EQ(words[k].font.italic, italic[k]);
        EXPECT_EQ(words[k].font.underline, k == 4);
        EXPECT_EQ(words[k].font.superscript, k == 5);
        EXPECT_EQ(words[k].font.subscript, k == 6);
        EXPECT_EQ(words[k].font.face, L"Courier New");
        EXPECT_EQ(words[k].font.size, 80);
        EXPECT_EQ(words[k].font.colour, RGB(0, 0, 255));
        EXPECT_EQ(words[k].font.angle, 90);
    }
}

TEST(HtmlMarkupTest, FontTagsSaveReadAndRestoreAttributes) {
    struct Case {
        const char* name;
        const wchar_t* markup;  // the word "x" is the one checked
        const wchar_t* face;
        int size;
        COLORREF colour;
    } const cases[] = {
        {"red until the closing tag", L"<font color=#FF0000>x</font>", L"Arial", 10, RGB(255, 0, 0)},
        {"after the closing tag", L"<font color=#FF0000>r</font>x", L"Arial", 10, 0},
        {"size picks a fixed height", L"<font size=3>x", L"Arial", -3, 0},
        {"quoted face", L"<FONT face=\"Times New Roman\" size=5>x", L"Times New Roman", -5, 0},
        {"values end at a comma or semicolon", L"<font face=Courier,size=2;color=#00ff00>x", L"Courier",
         -2, RGB(0, 255, 0)},
        {"a space ends a value before a comma", L"<font face=Courier,Bold size=2>x", L"Courier,Bold", -2, 0},
        {"unterminated quote", L"<font face=\"Sym bol>x", L"Sym bol", 10, 0},
        {"colour needs seven characters", L"<font color=#FF00>x", L"Arial", 10, 0},
        {"colour needs hex digits", L"<font color=#GG0000>x", L"Arial", 10, 0},
        {"size without a number", L"<font size=big>x", L"Arial", 10, 0},
        {"size clamped", L"<font size=99999999999>x", L"Arial", -INT_MAX, 0},
        {"negative size clamped", L"<font size=-99999999999>x", L"Arial", INT_MAX, 0},
        {"any tag starting with font", L"<fontface=Courier>x", L"Courier", 10, 0},
        {"nested", L"<font size=2><font size=4 color=#0000FF></font>x</font>", L"Arial", -2, 0},
        {"without = saves only", L"<font size=2><font></font>x", L"Arial", -2, 0},
        {"extra closing restores nothing", L"<font size=2></font></font>x", L"Arial", 10, 0},
        {"paragraph resets face and size", L"<font face=Courier size=1 color=#0000FF><P>x",
         L"Times New Roman", -3, RGB(0, 0, 255)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto words = Words(qx::ParseHtmlMarkup(c.markup, {}));
        ASSERT_FALSE(words.empty());
        const HtmlToken& x = words.back();
        EXPECT_EQ(x.text, L"x");
        EXPECT_EQ(x.font.face, c.face);
        EXPECT_EQ(x.font.size, c.size);
        EXPECT_EQ(x.font.colour, c.colour);
    }
}

TEST(HtmlMarkupTest, ParagraphEndsSubAndSuperscriptButKeepsBold) {
    const auto words = Words(qx::ParseHtmlMarkup(L"<b><sup><sub>a</P>b", {}));
    ASSERT_EQ(words.size(), 2u);
    EXPECT_TRUE(words[0].font.superscript && words[0].font.subscript);
    EXPECT_FALSE(words[1].font.superscript || words[1].font.subscript);
    EXPECT_TRUE(words[1].font.bold);
}

// A font tag left open in one text must not reach into the next one.
TEST(HtmlMarkupTest, EachTextStartsWithoutSavedAttributes) {
    DynamicFontInfo first;
    first.face = L"Courier";
    qx::ParseHtmlMarkup(L"<font size=1>open", first);
    const auto words = Words(qx::ParseHtmlMarkup(L"</font>x", {}));
    ASSERT_EQ(words.size(), 1u);
    EXPECT_EQ(words[0].font, DynamicFontInfo{});
}

}  // namespace
