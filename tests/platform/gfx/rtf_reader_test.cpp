#include "qx/platform/gfx/rtf_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "qx/platform/gfx/rich_text.h"

namespace qx::gfx {
namespace {

struct TextCase {
    const char* name;
    std::string rtf;
    std::wstring text;
};

TEST(RtfReader, ReadsTheTextAsTheControlCountsIt) {
    const TextCase cases[] = {
        {"code page escape", R"({\rtf1\ansi K\'e4se})", L"K\u00e4se"},
        {"raw 8-bit byte", "{\\rtf1 K\xe4se}", L"K\u00e4se"},
        {"ansicpg names another page", R"({\rtf1\ansi\ansicpg1250 \'9a})", L"\u0161"},
        {"unknown ansicpg keeps 1252", R"({\rtf1\ansi\ansicpg932 \'e4})", L"\u00e4"},
        {"unicode skips its fallback", R"({\rtf1 \u8364? EUR})", L"\u20ac EUR"},
        {"uc2 skips two characters", R"({\rtf1\uc2\u8364 EU!})", L"\u20ac!"},
        {"uc0 skips none", R"({\rtf1\uc0\u8364 x})", L"\u20acx"},
        {"uc belongs to its group", R"({\rtf1{\uc2 \u228 ab}\u246 cd})", L"\u00e4\u00f6d"},
        {"an escape is one fallback character", R"({\rtf1\u252\'fc x})", L"\u00fc x"},
        {"a brace ends the fallback", R"({\rtf1\uc3\u252{x}y})", L"\u00fcxy"},
        {"negative unicode", R"({\rtf1\u-4064?})", L"\uf020"},
        {"surrogate pair", R"({\rtf1\u-10179?\u-8704?})", L"\U0001F600"},
        {"lone high surrogate", R"({\rtf1\u-10179?x})", L"\ufffdx"},
        {"lone low surrogate", R"({\rtf1\u-8704?x})", L"\ufffdx"},
        {"control character from unicode", R"({\rtf1 a\u0?b\u9?c})", L"ab\tc"},
        {"escaped braces and backslash", R"({\rtf1 a\{b\}c\\d})", L"a{b}c\\d"},
        {"paragraph, line and tab", R"({\rtf1 a\par b\line c\tab d})", L"a\nb\vc\td"},
        {"backslash before a line end", "{\\rtf1 a\\\nb}", L"a\nb"},
        {"literal line ends are no text", "{\\rtf1 a\r\nb}", L"ab"},
        {"named characters", R"({\rtf1 \emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote\~x})",
         L"\u2014\u2013\u2022\u2018\u2019\u201c\u201d\u00a0x"},
        {"unknown words and symbols", R"({\rtf1 a\foo b\bar-12 c\|d\-e})", L"abcde"},
        {"ignorable destination", R"({\rtf1 a{\*\foo hidden {nested}}b})", L"ab"},
        {"known destinations", R"({\rtf1{\info{\title T}}{\stylesheet{\s0 Normal;}}{\pict\pngblip 89504e47}a})",
         L"a"},
        {"field shows its result", R"({\rtf1{\field{\*\fldinst PAGE}{\fldrslt 7}}})", L"7"},
        {"font and colour tables are no text", R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red1;}x})", L"x"},
        {"binary data is skipped", "{\\rtf1 a{\\pict\\bin3 }{x}b}c}", L"ab"},
        {"binary length past the end", "{\\rtf1 a{\\pict\\bin999999 xy", L"a"},
        {"missing closing braces", R"({\rtf1 a{\b b)", L"ab"},
        {"text after the document", R"({\rtf1 a}b}c)", L"a"},
        {"backslash at the end", "{\\rtf1 a\\", L"a"},
        {"escape cut short", "{\\rtf1 a\\'", L"a"},
        {"parameter out of range", R"({\rtf1\fs99999999999999999999 a\cf-99999999999999 b})", L"ab"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        const RtfDocument doc = ReadRtf(c.rtf);
        EXPECT_EQ(doc.PlainText(), c.text);
        EXPECT_EQ(doc.CharacterCount(), static_cast<long>(c.text.size()));
    }
}

// One run as "text|face|size|biu|colour", flags as '-' when off.
std::wstring Describe(const RtfRun& run) {
    wchar_t color[16] = L"auto";
    if (!run.format.autoColor) {
        std::swprintf(color, 16, L"%02x%02x%02x", GetRValue(run.format.color), GetGValue(run.format.color),
                      GetBValue(run.format.color));
    }
    return run.text + L"|" + run.format.face + L"|" + std::to_wstring(run.format.halfPoints) + L"|" +
           (run.format.bold ? L"b" : L"-") + (run.format.italic ? L"i" : L"-") +
           (run.format.underline ? L"u" : L"-") + L"|" + color;
}

std::vector<std::wstring> DescribeRuns(const RtfDocument& doc) {
    std::vector<std::wstring> runs;
    for (const RtfRun& run : doc.runs) runs.push_back(Describe(run));
    return runs;
}

struct FormatCase {
    const char* name;
    std::string rtf;
    std::vector<std::wstring> runs;
};

TEST(RtfReader, GivesEachRunItsCharacterFormat) {
    const std::string tables =
        R"({\rtf1\ansi\deff0{\fonttbl{\f0\fswiss\fcharset0 Arial;}{\f1\froman Times New Roman;})"
        R"({\f2\fmodern{\*\panose 0203}Courier New;}}{\colortbl ;\red255\green0\blue0;\red0\green128\blue0;})";
    const FormatCase cases[] = {
        {"switches on and off",
         tables + R"(a \b b\b0  {\i i} \ul u\ulnone \ul0 x\ul1 y\ul0 \i1 z\i0 })",
         {L"a |Arial|24|---|auto", L"b|Arial|24|b--|auto", L" |Arial|24|---|auto", L"i|Arial|24|-i-|auto",
          L" |Arial|24|---|auto", L"u|Arial|24|--u|auto", L"x|Arial|24|---|auto", L"y|Arial|24|--u|auto",
          L"z|Arial|24|-i-|auto"}},
        {"font, size and colour", tables + R"(\f1\fs36\cf1 big red\plain\cf2  green\f2 mono\cf0 first})",
         {L"big red|Times New Roman|36|---|ff0000", L" green|Arial|24|---|008000",
          L"mono|Courier New|24|---|008000", L"first|Courier New|24|---|auto"}},
        {"groups restore the format", tables + R"({\b\fs40{\i x}y}z})",
         {L"x|Arial|40|bi-|auto", L"y|Arial|40|b--|auto", L"z|Arial|24|---|auto"}},
        {"font table without inner groups", R"({\rtf1{\fonttbl\f0\fnil Arial;\f1 Courier New;}\f1 x})",
         {L"x|Courier New|24|---|auto"}},
        {"default font", R"({\rtf1\deff1{\fonttbl{\f0 Arial;}{\f1 Courier New;}}x\f0 y\plain z})",
         {L"x|Courier New|24|---|auto", L"y|Arial|24|---|auto", L"z|Courier New|24|---|auto"}},
        {"unknown font and colour", tables + R"(\f9\cf9 x})", {L"x||24|---|auto"}},
        {"font name in the code page", R"({\rtf1{\fonttbl{\f0 K\'e4se;}}x})", {L"x|K\u00e4se|24|---|auto"}},
        {"a paragraph end closes its run", tables + R"(a\par b\par})",
         {L"a\n|Arial|24|---|auto", L"b\n|Arial|24|---|auto"}},
        {"size without parameter", tables + R"(\fs40 a\fs b\fs0 c})",
         {L"a|Arial|40|---|auto", L"bc|Arial|24|---|auto"}},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DescribeRuns(ReadRtf(c.rtf)), c.runs);
    }
}

TEST(RtfReader, AParagraphTakesTheAlignmentInEffectAtItsEnd) {
    const RtfDocument doc = ReadRtf(R"({\rtf1 left\par\qc a {\b b} centred\par\pard\qr right\par\qj last})");
    std::vector<std::pair<std::wstring, ParagraphAlignment>> runs;
    for (const RtfRun& run : doc.runs) runs.emplace_back(run.text, run.alignment);
    const std::vector<std::pair<std::wstring, ParagraphAlignment>> expected = {
        {L"left\n", ParagraphAlignment::Left},    {L"a ", ParagraphAlignment::Center},
        {L"b", ParagraphAlignment::Center},       {L" centred\n", ParagraphAlignment::Center},
        {L"right\n", ParagraphAlignment::Right},  {L"last", ParagraphAlignment::Justify},
    };
    EXPECT_EQ(runs, expected);
}

TEST(RtfReader, SurvivesDeepNestingAndReadsOnAfterIt) {
    const std::string deep(100000, '{');
    const std::string closing(100000, '}');
    EXPECT_EQ(ReadRtf("{\\rtf1 a" + deep + "x" + closing + "b}").PlainText(), L"ab");
    EXPECT_EQ(ReadRtf("{\\rtf1 a" + deep + "x").PlainText(), L"a");

    // Within the kept depth the state of every group is restored.
    std::string nested = "{\\rtf1 ";
    for (int k = 0; k < 100; ++k) nested += k == 50 ? "{\\b " : "{";
    nested += "x" + std::string(100, '}') + "y}";
    const RtfDocument doc = ReadRtf(nested);
    EXPECT_EQ(DescribeRuns(doc), (std::vector<std::wstring>{L"x||24|b--|auto", L"y||24|---|auto"}));
}

TEST(RichText, TakesTextWithoutTheRtfMarkAsPlainText) {
    RichText text;
    text.LoadRtf("line one\r\nline two\nthree\rK\xe4se\x01\tend\r\n");
    EXPECT_EQ(text.PlainText(), CString(L"line one\nline two\nthree\nK\u00e4se\tend\n"));
    EXPECT_EQ(text.CharacterCount(), text.PlainText().GetLength());

    text.LoadRtf("{\\rtf1 a\\par b}");
    EXPECT_EQ(text.PlainText(), CString(L"a\nb"));
    EXPECT_EQ(text.CharacterCount(), 3);
    text.LoadRtf("");
    EXPECT_EQ(text.CharacterCount(), 0);
}

}  // namespace
}  // namespace qx::gfx
