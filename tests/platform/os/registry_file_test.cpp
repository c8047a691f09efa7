#include "qx/platform/os/registry_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qx/platform/base/utf.h"

namespace {

using qx::RegFileContent;
using qx::RegFileLine;
using qx::RegValue;

std::string Hex(const std::string& bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char b : bytes) {
        out += kDigits[b >> 4];
        out += kDigits[b & 0xF];
    }
    return out;
}

std::string DescribeLine(const RegFileLine& line) {
    const std::string name = qx::WideToUtf8(line.name);
    switch (line.kind) {
        case RegFileLine::Kind::DeleteValue: return name + "=-";
        case RegFileLine::Kind::Kept: {
            const char* flaw = line.flaw == RegFileLine::Flaw::CutShort      ? "cut:"
                               : line.flaw == RegFileLine::Flaw::InvalidName ? "name:"
                                                                             : "kept:";
            return flaw + qx::WideToUtf8(line.text);
        }
        case RegFileLine::Kind::SetValue: break;
    }
    if (auto text = line.value.AsText(); text && line.value.type == qx::kRegSz) return name + "=sz:" + qx::WideToUtf8(*text);
    if (auto number = line.value.AsNumber()) return name + "=dword:" + std::to_string(*number);
    return name + "=hex(" + std::to_string(line.value.type) + "):" + Hex(line.value.data);
}

// One line per section header and per line, so a case reads as the file does.
std::vector<std::string> Describe(const RegFileContent& content) {
    std::vector<std::string> out;
    for (const auto& line : content.leading) out.push_back(DescribeLine(line));
    for (const auto& section : content.sections) {
        if (section.malformed) out.push_back("bad:" + qx::WideToUtf8(section.header));
        else out.push_back((section.remove ? "[-" : "[") + qx::WideToUtf8(section.key) + "]");
        for (const auto& line : section.lines) out.push_back(DescribeLine(line));
    }
    return out;
}

struct ParseCase {
    const char* name;
    std::string text;  // UTF-8
    qx::RegFileVersion version;
    std::vector<std::string> expected;
};

TEST(RegFileParseTest, ReadsEveryForm) {
    using V = qx::RegFileVersion;
    const ParseCase cases[] = {
        {"value types",
         "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\A]\n"
         "\"Lang\"=\"de\"\n@=\"default\"\n\"Count\"=dword:0000002a\n\"Blob\"=hex:01,ff,00\n"
         "\"Path\"=hex(2):25,00,54,00,00,00\n\"Q\"=hex(b):01,00,00,00,00,00,00,00\n",
         V::Regedit5,
         {"[HKEY_CURRENT_USER\\Software\\A]", "Lang=sz:de", "=sz:default", "Count=dword:42", "Blob=hex(3):01ff00",
          "Path=hex(2):250054000000", "Q=hex(11):0100000000000000"}},
        {"REGEDIT4 keeps text in hex as 8-bit bytes",
         "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\X]\n\"E\"=hex(2):25,54,fc,00\n", V::Regedit4,
         {"[HKEY_LOCAL_MACHINE\\X]", "E=hex(2):25005400fc000000"}},
        {"escapes in names and strings",
         "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\K]\n"
         "\"a \\\"q\\\" \\\\ b\"=\"C:\\\\Dir\\\\\"\n\"x\"=\"say \\\"hi\\\"\"\n\"odd\"=\"a\\tb\"\n",
         V::Regedit5, {"[HKEY_CURRENT_USER\\K]", "a \"q\" \\ b=sz:C:\\Dir\\", "x=sz:say \"hi\"", "odd=sz:a\\tb"}},
        {"hex lists continue after a backslash, strings do not",
         "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\K]\n"
         "\"B\"=hex:01,02,\\\n  03,04,\\\n\t05\n\"S\"=\"ends\\\\\"\n\"T\"=\"next\"\n",
         V::Regedit5, {"[HKEY_CURRENT_USER\\K]", "B=hex(3):0102030405", "S=sz:ends\\", "T=sz:next"}},
        {"deletions", "Windows Registry Editor Version 5.00\n[-HKEY_CURRENT_USER\\Gone]\n[HKEY_CURRENT_USER\\K]\n\"old\"=-\n@=-\n",
         V::Regedit5, {"[-HKEY_CURRENT_USER\\Gone]", "[HKEY_CURRENT_USER\\K]", "old=-", "=-"}},
        {"malformed lines are kept as they stood",
         "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\K]\n"
         "garbage here\n\"open=\"x\"\n\"s\"=\"unterminated\n\"d\"=dword:zz\n\"d9\"=dword:123456789\n"
         "\"h\"=hex:1g\n\"h2\"=hex(zz):00\n\"n\" \"x\"\n\"t\"=\"a\" trailing\n; comment\n\"ok\"=\"fine\"\n",
         V::Regedit5,
         {"[HKEY_CURRENT_USER\\K]", "kept:garbage here", "kept:\"open=\"x\"", "kept:\"s\"=\"unterminated",
          "kept:\"d\"=dword:zz", "kept:\"d9\"=dword:123456789", "kept:\"h\"=hex:1g", "kept:\"h2\"=hex(zz):00",
          "kept:\"n\" \"x\"", "kept:\"t\"=\"a\" trailing", "kept:; comment", "ok=sz:fine"}},
        {"a malformed hex list keeps all its lines",
         "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\K]\n\"h\"=hex:01,\\\n  zz\n\"ok\"=dword:1\n",
         V::Regedit5, {"[HKEY_CURRENT_USER\\K]", "kept:\"h\"=hex:01,\\\n  zz", "ok=dword:1"}},
        // A continued list reads as its lines joined without their
        // backslashes and outer blanks, whatever the lines cut.
        {"continuation lines join before the list is read",
         "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\K]\n\"a\"=hex:01,0\\\n2,03\n"
         "\"b\"=hex(2)\\\n:41,00\n\"c\"=hex:01,0\\\\\n\n2\n\"d\"=hex:01,\\\n  ,02\n",
         V::Regedit5,
         {"[HKEY_CURRENT_USER\\K]", "a=hex(3):010203", "b=hex(2):4100", "c=hex(3):0102",
          "kept:\"d\"=hex:01,\\\n  ,02"}},
        {"a header without its bracket",
         "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\K\n\"a\"=\"b\"\n", V::Regedit5,
         {"bad:[HKEY_CURRENT_USER\\K", "a=sz:b"}},
        {"CR LF and lone CR line ends, blanks around",
         "Windows Registry Editor Version 5.00\r\n\r\n  [HKEY_CURRENT_USER\\K]  \r\n\"a\" = \"b\"\r\"c\"=dword:1\r\n",
         V::Regedit5, {"[HKEY_CURRENT_USER\\K]", "a=sz:b", "c=dword:1"}},
        {"lines before the first section have no key",
         "Windows Registry Editor Version 5.00\n\"a\"=\"b\"\n; note\n[HKEY_CURRENT_USER\\K]\n", V::Regedit5,
         {"kept:\"a\"=\"b\"", "kept:; note", "[HKEY_CURRENT_USER\\K]"}},
        {"no header", "[HKEY_CURRENT_USER\\K]\n\"a\"=\"b\"\n", V::None, {"[HKEY_CURRENT_USER\\K]", "a=sz:b"}},
        {"empty hex list and trailing comma", "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"e\"=hex:\n\"t\"=hex:01,\n",
         V::Regedit4, {"[HKEY_CURRENT_USER\\K]", "e=hex(3):", "t=hex(3):01"}},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.name);
        const RegFileContent content = qx::ParseRegFile(c.text);
        EXPECT_EQ(content.version, c.version);
        EXPECT_EQ(Describe(content), c.expected);
    }
}

TEST(RegFileParseTest, ALastLineCutShortIsKeptNotRead) {
    const std::string head = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\K]\n\"a\"=\"b\"\n";
    const std::string key = "[HKEY_CURRENT_USER\\K]";
    const struct {
        const char* name;
        std::string last;  // what follows the head
        std::vector<std::string> expected;
    } cases[] = {
        {"a quoted value without its closing quote", "\"q\"=\"unterminated", {"cut:\"q\"=\"unterminated"}},
        {"a quoted name cut", "\"qu", {"cut:\"qu"}},
        {"a hex list promising a next line", "\"h\"=hex:01,02,\\\n", {"cut:\"h\"=hex:01,02,\\"}},
        {"a hex list cut in its next line", "\"h\"=hex:01,02,\\\n  03,0", {"cut:\"h\"=hex:01,02,\\\n  03,0"}},
        {"a hex list without line end", "\"h\"=hex:01,02", {"cut:\"h\"=hex:01,02"}},
        {"a dword cut in its digits", "\"d\"=dword:0000002", {"cut:\"d\"=dword:0000002"}},
        {"a value without its data", "\"d\"=", {"cut:\"d\"="}},
        // What cannot have gone on reads as it is.
        {"a dword of eight digits", "\"d\"=dword:0000002a", {"d=dword:42"}},
        {"a quoted value", "\"q\"=\"whole\"", {"q=sz:whole"}},
        {"a deletion", "\"q\"=-", {"q=-"}},
        {"a dword cut in its digits, then a line end", "\"d\"=dword:0000002\n", {"d=dword:2"}},
        {"an open quote, then a line end", "\"q\"=\"open\n", {"kept:\"q\"=\"open"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> expected = {key, "a=sz:b"};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(Describe(qx::ParseRegFile(head + c.last)), expected);
    }

    // A UTF-16 file of odd length was cut: its last line is, whatever it holds.
    const std::string utf16 = "\xFF\xFE" + qx::WideToUtf16Bytes(qx::Utf8ToWide(head) + L"\"d\"=dword:0000002a\r\n", false);
    const struct {
        const char* name;
        size_t cut;
        std::string last;
    } oddCases[] = {
        {"cut in the digits", 7, "cut:\"d\"=dword:000000\xEF\xBF\xBD"},
        {"cut in the line end", 3, "cut:\"d\"=dword:0000002a\xEF\xBF\xBD"},
        {"one byte after the line end", 0, "cut:\xEF\xBF\xBD"},
    };
    for (const auto& c : oddCases) {
        SCOPED_TRACE(c.name);
        std::string bytes = utf16.substr(0, utf16.size() - c.cut);
        if (c.cut == 0) bytes += 'x';
        const std::vector<std::string> described = Describe(qx::ParseRegFile(bytes));
        ASSERT_FALSE(described.empty());
        EXPECT_EQ(described.back(), c.last);
    }
}

TEST(RegFileParseTest, ValueNamesBeyondTheLimitAreKept) {
    for (const size_t length : {qx::kMaxRegValueNameLength, qx::kMaxRegValueNameLength + 1}) {
        SCOPED_TRACE(length);
        const std::string name(length, 'n');
        const RegFileContent content =
            qx::ParseRegFile("REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"" + name + "\"=\"v\"\n\"" + name + "\"=-\n");
        ASSERT_EQ(content.sections.size(), 1u);
        for (const RegFileLine& line : content.sections[0].lines)
            EXPECT_EQ(line.flaw == RegFileLine::Flaw::InvalidName, length > qx::kMaxRegValueNameLength);
    }
}

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::wstring text;
};

TEST(RegFileDecodeTest, FollowsMarksThenGuesses) {
    const DecodeCase cases[] = {
        {"UTF-16LE with mark", std::string("\xFF\xFE" "R\0\xFC\0", 6), L"R\u00FC"},
        {"UTF-16BE with mark", std::string("\xFE\xFF\0R\0\xFC", 6), L"R\u00FC"},
        {"UTF-8 with mark", "\xEF\xBB\xBFR\xC3\xBC", L"R\u00FC"},
        {"UTF-8 without mark", "R\xC3\xBC", L"R\u00FC"},
        {"8-bit without mark", "R\xFC", L"R\u00FC"},
        {"UTF-16LE without mark", std::string("R\0\xFC\0", 4), L"R\u00FC"},
        {"UTF-16 of odd length ends in half a character", std::string("\xFF\xFE" "R\0\xFC", 5), L"R\uFFFD"},
        {"empty", "", L""},
    };
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(qx::DecodeRegFileBytes(c.bytes), c.text);
    }
}

TEST(RegFileParseTest, ReadsWhatRegeditExportsOnWindows) {
    // UTF-16LE with mark and CR LF, exactly as regedit writes its exports.
    const std::wstring text =
        L"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\quOrix GmbH\\Env]\r\n"
        L"\"Lang\"=\"de\"\r\n\"Adressen20\"=\"C:\\\\Daten\\\\Adressen\\\\\"\r\n\r\n";
    const RegFileContent content = qx::ParseRegFile("\xFF\xFE" + qx::WideToUtf16Bytes(text, false));
    EXPECT_EQ(Describe(content), (std::vector<std::string>{"[HKEY_CURRENT_USER\\Software\\quOrix GmbH\\Env]",
                                                           "Lang=sz:de", "Adressen20=sz:C:\\Daten\\Adressen\\"}));
}

struct RoundTripCase {
    const char* name;
    std::wstring valueName;
    RegValue value;
};

TEST(RegFileWriterTest, WhatItWritesReadsBackTheSame) {
    const RoundTripCase cases[] = {
        {"plain text", L"Lang", RegValue::Text(L"de")},
        {"quotes and backslashes", L"a\"b\\c", RegValue::Text(L"C:\\x\\\"y\"\\")},
        {"default value", L"", RegValue::Text(L"d")},
        {"line break in text", L"multi", RegValue::Text(L"one\r\ntwo")},
        {"zero inside text", L"z", RegValue::Bytes(std::string("a\0\0\0b\0\0\0", 8), qx::kRegSz)},
        {"text without terminator", L"nt", RegValue::Bytes(std::string("a\0", 2), qx::kRegSz)},
        {"lone surrogate", L"ls", RegValue::Bytes(std::string("\x00\xD8" "a\0\0\0", 6), qx::kRegSz)},
        {"odd byte count", L"odd", RegValue::Bytes(std::string("a\0\0", 3), qx::kRegSz)},
        {"expandable text", L"e", RegValue::Text(L"%TEMP%\\x", qx::kRegExpandSz)},
        {"number", L"n", RegValue::Number(0xFFFFFFFFu)},
        {"short dword stays bytes", L"d3", RegValue::Bytes(std::string("\1\2\3", 3), qx::kRegDword)},
        {"long binary wraps", L"blob", RegValue::Bytes(std::string(300, '\x5A'))},
        {"empty binary", L"empty", RegValue::Bytes("")},
        {"unknown type", L"t", RegValue::Bytes("\x01", 0x12345)},
        {"non-ASCII", L"\u00C4nderung", RegValue::Text(L"\u20AC \U0001F600")},
    };
    for (const RoundTripCase& c : cases) {
        for (const auto encoding : {qx::RegFileEncoding::Utf8, qx::RegFileEncoding::Utf16Le}) {
            SCOPED_TRACE(c.name);
            qx::RegFileWriter writer;
            writer.BeginSection(L"HKEY_CURRENT_USER\\K");
            writer.WriteValue(c.valueName, c.value);
            const std::string bytes = writer.Finish(encoding);
            const RegFileContent content = qx::ParseRegFile(bytes);
            ASSERT_EQ(content.sections.size(), 1u);
            ASSERT_EQ(content.sections[0].lines.size(), 1u);
            const RegFileLine& line = content.sections[0].lines[0];
            EXPECT_EQ(line.kind, RegFileLine::Kind::SetValue) << qx::WideToUtf8(line.text);
            EXPECT_EQ(line.name, c.valueName);
            EXPECT_EQ(line.value, c.value);
            EXPECT_EQ(content.version, qx::RegFileVersion::Regedit5);
            // Every line fits the 80 columns regedit keeps to.
            if (encoding == qx::RegFileEncoding::Utf8) {
                for (size_t start = 0, end; start < bytes.size(); start = end + 1) {
                    end = std::min(bytes.find('\n', start), bytes.size());
                    EXPECT_LE(end - start, 80u);
                }
            }
        }
    }
}

TEST(RegFileWriterTest, Utf16FormHasMarkAndCrLf) {
    qx::RegFileWriter writer;
    writer.BeginSection(L"HKEY_CURRENT_USER\\K");
    writer.WriteValue(L"a", RegValue::Text(L"b"));
    const std::string bytes = writer.Finish(qx::RegFileEncoding::Utf16Le);
    ASSERT_TRUE(bytes.starts_with("\xFF\xFE"));
    const std::wstring text = qx::Utf16BytesToWide(bytes.substr(2), false);
    EXPECT_EQ(text, L"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"a\"=\"b\"\r\n");
}

}  // namespace
