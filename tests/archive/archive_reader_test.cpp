// The archive readers below the cache: an archive is listed whole or not at
// all, and a member is copied whole or not at all.
#include "qx/platform/os/archive_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/archive/archive_fixture.h"
#include "tests/support/raw_zip.h"

namespace qx::test {
namespace {

namespace fs = std::filesystem;

class ArchiveReaderTest : public ArchiveTest {
protected:
    std::unique_ptr<ArchiveReader> OpenBytes(const std::string& bytes, ArchiveReader::Kind kind) {
        const fs::path file = DataFolder() / (kind == ArchiveReader::Kind::Zip ? "data.zip" : "data.cab");
        fs::create_directories(file.parent_path());
        WriteBytes(file, bytes);
        return ArchiveReader::Open(FromNativePath(file.string()), kind);
    }
};

TEST_F(ArchiveReaderTest, ArchiveCutShortIsNoArchive) {
    // Two members and a comment: the end record is 22 bytes and the comment.
    WriteZip(DataFolder() / "whole.zip", {{"a.txt", std::string(3000, 'a')}, {"b.txt", "second"}});
    std::string zip = ReadBytes(DataFolder() / "whole.zip");
    const std::string comment = "made for the test";
    zip[zip.size() - 2] = static_cast<char>(comment.size());
    zip += comment;
    ASSERT_NE(OpenBytes(zip, ArchiveReader::Kind::Zip), nullptr);
    EXPECT_EQ(OpenBytes(zip, ArchiveReader::Kind::Zip)->Members().size(), 2u);

    const size_t directory = zip.find(std::string("PK\x01\x02", 4));
    const struct {
        const char* name;
        size_t keep;
    } cases[] = {
        {"inside the comment", zip.size() - 5},
        {"the comment gone", zip.size() - comment.size()},
        {"inside the comment length", zip.size() - comment.size() - 1},
        {"the comment length gone", zip.size() - comment.size() - 2},
        {"inside the directory offset", zip.size() - comment.size() - 4},
        {"inside the directory size", zip.size() - comment.size() - 8},
        {"after the member counts", zip.size() - comment.size() - 10},
        {"inside the signature", zip.size() - comment.size() - 20},
        {"inside the second directory entry", directory + 60},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(OpenBytes(zip.substr(0, c.keep), ArchiveReader::Kind::Zip), nullptr);
    }

    if (!HaveGcab()) GTEST_SKIP() << "gcab is not installed";
    WriteCabinet(DataFolder() / "whole.cab", {{"a.txt", std::string(3000, 'a')}, {"b.txt", "second"}},
                 FileTimeAt(2020, 6, 15, 10, 20, 30), false);
    const std::string cab = ReadBytes(DataFolder() / "whole.cab");
    ASSERT_NE(OpenBytes(cab, ArchiveReader::Kind::Cabinet), nullptr);
    // The member list comes first; the cabinet is cut in its data.
    EXPECT_EQ(OpenBytes(cab.substr(0, cab.size() - 1), ArchiveReader::Kind::Cabinet), nullptr);
}

TEST_F(ArchiveReaderTest, ArchiveOfTheUnknownMemberCountIsListedWhole) {
    // 65,535 members give the count 0xFFFF, which minizip reads as "count
    // the headers": the list still ends as it should.
    std::vector<ZipEntry> entries;
    for (int i = 0; i < 0xFFFF; ++i) entries.push_back({std::to_string(i), "", kMemberDate, kMemberTime, 0x20, false});
    WriteZip(DataFolder() / "data.zip", entries);
    const auto reader = ArchiveReader::Open(FromNativePath((DataFolder() / "data.zip").string()), ArchiveReader::Kind::Zip);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->Members().size(), 0xFFFFu);
    EXPECT_EQ(reader->Members().back().name, L"65534");
}

TEST_F(ArchiveReaderTest, Zip64MemberIsListedWithItsSizeAndNeverRead) {
    constexpr std::uint64_t kClaimed = 5ull << 30;
    const struct {
        const char* name;
        std::uint64_t size;
    } cases[] = {
        {"claims 5 GiB and holds 5 bytes", kClaimed},
        {"a small member in the zip64 form", 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto reader = OpenBytes(RawZip({{"plain.txt", "plain", 0, std::nullopt}, {"big.txt", "hello", 0, c.size}}),
                                      ArchiveReader::Kind::Zip);
        ASSERT_NE(reader, nullptr);
        ASSERT_EQ(reader->Members().size(), 2u);
        const ArchiveMember& member = reader->Members()[1];
        EXPECT_EQ(member.name, L"big.txt");
        EXPECT_EQ(member.size, c.size) << "the 64-bit size, never 0xFFFFFFFF or a wrapped one";
        EXPECT_FALSE(member.extractable);
        EXPECT_TRUE(reader->Members()[0].extractable);
        size_t pieces = 0;
        EXPECT_FALSE(reader->Extract(1, [&](std::string_view) { return ++pieces, true; }));
        EXPECT_EQ(pieces, 0u) << "refused before any of its data is read";
    }
}

}  // namespace
}  // namespace qx::test
