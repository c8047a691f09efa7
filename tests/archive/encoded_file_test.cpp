#include "qx/archive/encoded_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "qx/platform/wnd/message_box.h"
#include "qx/text/encoded_form.h"
#include "tests/support/fixtures.h"

namespace qx::test {
namespace {

namespace fs = std::filesystem;

std::string AllBytes() {
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
    return bytes;
}

std::string Shifted(std::string bytes, size_t count) {
    for (size_t i = 0; i < count && i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(static_cast<unsigned char>(bytes[i]) + kEncodingOffset);
    return bytes;
}

class EncodedFileTest : public DriveFolderTest {
protected:
    std::vector<std::wstring> messages_;
    ScopedMessageHandler handler_{[this](const wchar_t* text, const wchar_t*, unsigned) {
        messages_.push_back(text);
        return IDOK;
    }};
};

TEST_F(EncodedFileTest, EncodeThenDecodeGivesTheInputBack) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    std::string large;
    // Past the size of one piece, so that the pieces join correctly.
    for (int i = 0; large.size() < (5u << 19); ++i) large += AllBytes().substr(static_cast<size_t>(i % 7));
    const Case cases[] = {{"every byte value", AllBytes()}, {"empty", ""}, {"several pieces", large}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Write("plain", c.bytes);
        ASSERT_EQ(Codieren(L"C:\\plain", L"C:\\encoded"), 1);
        EXPECT_EQ(ReadBytes(Native("encoded")), Shifted(c.bytes, c.bytes.size()));
        ASSERT_EQ(Decodieren(L"C:\\encoded", L"C:\\decoded"), 1);
        EXPECT_EQ(ReadBytes(Native("decoded")), c.bytes);
    }
}

TEST_F(EncodedFileTest, FailuresAndTargets) {
    Write("plain", "abc");
    EXPECT_EQ(Codieren(L"C:\\missing", L"C:\\out"), 0);
    EXPECT_FALSE(fs::exists(Native("out")));
    EXPECT_EQ(Codieren(L"C:\\plain", L"C:\\no\\such\\folder\\out"), 0);

    Write("readonly", "old");
    fs::permissions(Native("readonly"), fs::perms::owner_read);
    EXPECT_EQ(Codieren(L"C:\\plain", L"C:\\readonly"), 1);
    EXPECT_EQ(ReadBytes(Native("readonly")), Shifted("abc", 3));
}

TEST_F(EncodedFileTest, FileCanBeItsOwnTarget) {
    // Truncating the target first would have emptied the source too.
    Write("same", "data that must survive");
    ASSERT_EQ(Codieren(L"C:\\same", L"C:\\same"), 1);
    ASSERT_EQ(Decodieren(L"C:\\same", L"C:\\same"), 1);
    EXPECT_EQ(ReadBytes(Native("same")), "data that must survive");
}

TEST_F(EncodedFileTest, DecodedCopy) {
    struct Case {
        const char* name;
        size_t length;
        int full;
        const wchar_t* targetDir;
        const char* resultFile;
    };
    const Case cases[] = {
        {"head of a short file", 60, 0, L"", "data/f.txt"},
        {"head of a long file", 300, 0, L"", "data/f.txt"},
        {"whole file", 300, 1, L"", "data/f.txt"},
        {"into another folder", 300, 1, L"C:\\out", "out/f.txt"},
        {"into another folder with backslash", 300, 0, L"C:\\out\\", "out/f.txt"},
    };
    MakeFolder("out");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string plain;
        for (size_t i = 0; i < c.length; ++i) plain += static_cast<char>(i * 37);
        const size_t encodedLength = c.full ? c.length : std::min<size_t>(c.length, kEncodedHeadLength);
        Write("data/f.dtx", Shifted(plain, encodedLength));
        const CString result = getDeCodedFile(L"C:\\data\\f.anything", c.full, L"unused", L"dtx", L"txt", c.targetDir);
        EXPECT_EQ(result.str(), std::wstring(L"C:\\") + (c.resultFile[0] == 'd' ? L"data" : L"out") + L"\\f.txt");
        EXPECT_EQ(ReadBytes(Native(c.resultFile)), plain);
    }
    EXPECT_TRUE(messages_.empty());
}

TEST_F(EncodedFileTest, MissingSourceIsReportedAndThePathStillReturned) {
    const CString result = getDeCodedFile(L"C:\\data\\gone.x", 1, L"", L"dtx", L"txt", L"");
    EXPECT_EQ(result.str(), L"C:\\data\\gone.txt");
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], L"Die Datei C:\\data\\gone.dtx wurde nicht gefunden");
    EXPECT_FALSE(fs::exists(Native("data/gone.txt")));
}

}  // namespace
}  // namespace qx::test
