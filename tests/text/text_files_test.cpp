#include "qx/text/text_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qx/text/encoded_form.h"
#include "qx/text/str_util.h"
#include "tests/support/test_support.h"

namespace {

using qx::test::ReadBytes;
using qx::test::TempDir;
using qx::test::WriteBytes;

constexpr unsigned kUtf16 = 0xFFFFFFFFu;

std::vector<std::wstring> Lines(const CStringList& list) {
    std::vector<std::wstring> out;
    for (POSITION pos = list.GetHeadPosition(); pos;) out.push_back(list.GetNext(pos).str());
    return out;
}

std::string Utf16Le(const std::wstring& text) {
    std::string s;
    for (wchar_t c : text) {
        s += static_cast<char>(c & 0xFF);
        s += static_cast<char>(c >> 8);
    }
    return s;
}

TEST(TextFilesTest, ReadStringlistSplitsLines) {
    TempDir dir;
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::wstring> lines;
    } cases[] = {
        {"blank line CRLF", "a\r\n\r\nb", {L"a", L"", L"b"}},
        {"blank line LF", "a\n\nb", {L"a", L"", L"b"}},
        {"blank line CR", "a\r\rb", {L"a", L"", L"b"}},
        {"one final line end adds nothing", "a\r\n", {L"a"}},
        {"two final line ends add one", "a\n\n", {L"a", L""}},
        {"leading blank line", "\nb", {L"", L"b"}},
        {"empty file", "", {}},
        {"utf-8 with mark", "\xEF\xBB\xBFx\xC3\xA4\r\ny", {L"xä", L"y"}},
        {"utf-16le", "\xFF\xFE" + Utf16Le(L"p\r\nq"), {L"p", L"q"}},
        {"code page 1252", "\x80", {L"€"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(dir.path() / "f.txt", c.bytes);
        CStringList lines;
        lines.AddTail(L"stale");
        ASSERT_TRUE(qxStrUtil::readStringlistFromFile(lines, dir.Wide("f.txt").c_str(), 0, 0));
        EXPECT_EQ(Lines(lines), c.lines);
    }
    CStringList lines;
    lines.AddTail(L"stale");
    EXPECT_FALSE(qxStrUtil::readStringlistFromFile(lines, dir.Wide("missing").c_str(), 0, 0));
    EXPECT_TRUE(lines.IsEmpty());
}

TEST(TextFilesTest, WriteStringlist) {
    TempDir dir;
    CStringList lines;
    lines.AddTail(L"a");
    lines.AddTail(L"ü");
    struct Case {
        const char* name;
        unsigned codePage;
        bool ok;
        std::string bytes;
    } cases[] = {
        {"utf-16", kUtf16, true, "\xFF\xFE" + Utf16Le(L"a\r\nü\r\n")},
        {"utf-8", 65001, true, "\xEF\xBB\xBF" "a\r\n\xC3\xBC\r\n"},
        {"default code page", 0, true, "a\r\n\xFC\r\n"},
        {"other code pages are refused", 1252, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(dir.path() / "out.txt");
        EXPECT_EQ(qxStrUtil::writeStringlistToFile(lines, dir.Wide("out.txt").c_str(), c.codePage), c.ok);
        EXPECT_EQ(std::filesystem::exists(dir.path() / "out.txt"), c.ok);
        if (c.ok) {
            EXPECT_EQ(ReadBytes(dir.path() / "out.txt"), c.bytes);
        }
    }
    // A line far longer than the old 40000-byte limit is written whole.
    CStringList longLines;
    longLines.AddTail(CString(std::wstring(50000, L'\u20AC')));
    ASSERT_TRUE(qxStrUtil::writeStringlistToFile(longLines, dir.Wide("long.txt").c_str(), 65001));
    EXPECT_EQ(ReadBytes(dir.path() / "long.txt").size(), 3u + 50000u * 3u + 2u);
}

TEST(TextFilesTest, WriteStringBufferAndReadBack) {
    TempDir dir;
    const wchar_t* text = L"Zeile 1\r\nÄrger €";
    struct Case {
        const char* name;
        bool unicode;
        unsigned codePage;
        bool encode;
        std::string bytes;
    } cases[] = {
        {"utf-8", true, 65001, false, "\xEF\xBB\xBFZeile 1\r\n\xC3\x84rger \xE2\x82\xAC"},
        {"utf-16", true, kUtf16, false, "\xFF\xFE" + Utf16Le(text)},
        {"unicode with another code page writes nothing", true, 1252, false, ""},
        {"code page", false, 1252, false, "Zeile 1\r\n\xC4rger \x80"},
        {"code page lacking a character", false, 1251, false, "Zeile 1\r\n?rger \x88"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring path = dir.Wide("buf.txt");
        ASSERT_TRUE(qxStrUtil::writeStringBufferToFile(text, path.c_str(), c.unicode, c.codePage, c.encode));
        EXPECT_EQ(ReadBytes(dir.path() / "buf.txt"), c.bytes);
    }
    // Encoded UTF-8: the mark is shifted too, and reading with encoded gives
    // the text back.
    std::wstring path = dir.Wide("enc.txx");
    ASSERT_TRUE(qxStrUtil::writeStringBufferToFile(text, path.c_str(), true, 65001, true));
    std::string stored = ReadBytes(dir.path() / "enc.txx");
    ASSERT_GE(stored.size(), 3u);
    EXPECT_EQ(static_cast<unsigned char>(stored[0]), static_cast<unsigned char>(0xEF + qx::kEncodingOffset));
    CString back;
    ASSERT_TRUE(qxStrUtil::readStringBufferFromFile(back, path.c_str(), 0, 1));
    EXPECT_EQ(back, text);
    EXPECT_TRUE(qxStrUtil::isUnicodeFile(path.c_str(), 1));
    EXPECT_FALSE(qxStrUtil::isUnicodeFile(path.c_str(), 0));

    wchar_t* raw = nullptr;
    ASSERT_TRUE(qxStrUtil::readStringBufferFromFile(raw, path.c_str(), 0, 1));
    EXPECT_EQ(std::wstring(raw), text);
    delete[] raw;
    raw = reinterpret_cast<wchar_t*>(0x1);
    EXPECT_FALSE(qxStrUtil::readStringBufferFromFile(raw, dir.Wide("missing").c_str(), 0, 0));
    EXPECT_EQ(raw, reinterpret_cast<wchar_t*>(0x1));
    EXPECT_FALSE(qxStrUtil::writeStringBufferToFile(text, dir.Wide("no/folder/x").c_str(), false, 0, false));
}

TEST(TextFilesTest, IsUnicodeFile) {
    TempDir dir;
    struct Case {
        const char* name;
        std::string bytes;
        bool unicode;
    } cases[] = {
        {"utf-16le", "\xFF\xFEx\0", true},  {"utf-16be", std::string("\xFE\xFF\0x", 4), true}, {"utf-8", "\xEF\xBB\xBFx", true},
        {"plain", "abc", false},            {"short", "\xFF\xFE", false},     {"empty", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(dir.path() / "f", c.bytes);
        EXPECT_EQ(qxStrUtil::isUnicodeFile(dir.Wide("f").c_str(), 0), c.unicode);
    }
    EXPECT_FALSE(qxStrUtil::isUnicodeFile(dir.Wide("missing").c_str(), 0));
}

TEST(TextFilesTest, LoadFromFile) {
    TempDir dir;
    CString text(L"stale");
    WriteBytes(dir.path() / "one", "\xE4");
    EXPECT_EQ(LoadFromFile(dir.Wide("one").c_str(), text, nullptr), 1);
    EXPECT_EQ(text, L"ä");
    WriteBytes(dir.path() / "mark", "\xFF\xFE");
    EXPECT_EQ(LoadFromFile(dir.Wide("mark").c_str(), text, nullptr), 1);
    EXPECT_EQ(text, L"");
    WriteBytes(dir.path() / "wide", "\xFF\xFE" + Utf16Le(L"ok"));
    EXPECT_EQ(LoadFromFile(dir.Wide("wide").c_str(), text, nullptr), 1);
    EXPECT_EQ(text, L"ok");

    CFileException error;
    text = L"stale";
    EXPECT_EQ(LoadFromFile(dir.Wide("missing").c_str(), text, &error), 0);
    EXPECT_EQ(text, L"");
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_lOsError, 2);
    EXPECT_EQ(error.m_strFileName.str(), dir.Wide("missing"));
}

TEST(TextFilesTest, QuorixReadLine) {
    const CString text(L"  a\r\n\nb\n\r\tc");
    wchar_t* cursor = nullptr;
    CString line;
    std::vector<std::wstring> got;
    while (quOrixReadLine(line, text, cursor)) got.push_back(line.str());
    EXPECT_EQ(got, (std::vector<std::wstring>{L"a", L"", L"b", L"c"}));
    EXPECT_EQ(quOrixReadLine(line, text, cursor), 0);

    const CString empty;
    cursor = nullptr;
    EXPECT_EQ(quOrixReadLine(line, empty, cursor), 0);

    // A line longer than the family's old 2047-character buffer comes whole.
    const CString longLine(std::wstring(5000, L'x') + L"\ny");
    cursor = nullptr;
    ASSERT_EQ(quOrixReadLine(line, longLine, cursor), 1);
    EXPECT_EQ(line.GetLength(), 5000);
    ASSERT_EQ(quOrixReadLine(line, longLine, cursor), 1);
    EXPECT_EQ(line, L"y");
}

}  // namespace
