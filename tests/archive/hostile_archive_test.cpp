// Archives and cache folders prepared by someone else: nothing may be written
// outside the cache folder, and a damaged member never yields a copy.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "qx/archive/cabinet_handling.h"
#include "tests/archive/archive_fixture.h"
#include "tests/support/raw_zip.h"

namespace qx::test {
namespace {

namespace fs = std::filesystem;

class HostileArchiveTest : public ArchiveTest {
protected:
    // Requests C:\data\<name> and expects failure without any copy.
    void ExpectNoCopy(const wchar_t* name) {
        CString usable;
        EXPECT_EQ(CCabinetHandling::getUncabedPathName(CString(L"C:\\data\\") + name, usable), 0);
        EXPECT_TRUE(usable.IsEmpty()) << fs::path(usable.str()).string();
        EXPECT_TRUE(FilesBelow(CacheFolder()).empty());
    }
};

size_t FindCentralEntry(const std::string& zip) { return zip.find(std::string("PK\x01\x02", 4)); }

void Put32(std::string& bytes, size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t Get32(const std::string& bytes, size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

TEST_F(HostileArchiveTest, DamagedZipMemberLeavesNoFile) {
    struct Case {
        const char* name;
        bool deflate;
        void (*damage)(std::string& zip);
    };
    // Offsets: the local header holds CRC, compressed and real size at 14,
    // 18 and 22; the central entry at 16, 20 and 24. Both are changed, so
    // the two headers agree with each other and only the data disagrees.
    const Case cases[] = {
        {"claims a byte more than stored", false,
         [](std::string& zip) {
             const size_t central = FindCentralEntry(zip);
             Put32(zip, 22, Get32(zip, 22) + 1);
             Put32(zip, central + 24, Get32(zip, central + 24) + 1);
         }},
        {"claims a byte less than it inflates to", true,
         [](std::string& zip) {
             const size_t central = FindCentralEntry(zip);
             Put32(zip, 22, Get32(zip, 22) - 1);
             Put32(zip, central + 24, Get32(zip, central + 24) - 1);
         }},
        {"wrong checksum", true,
         [](std::string& zip) {
             const size_t central = FindCentralEntry(zip);
             Put32(zip, 14, Get32(zip, 14) ^ 1);
             Put32(zip, central + 16, Get32(zip, central + 16) ^ 1);
         }},
        {"corrupt deflate stream", true,
         [](std::string& zip) {
             const size_t data = 30 + 5;  // after the header and the name "a.txt"
             for (size_t i = data; i < data + 8; ++i) zip[i] = '\xFF';
         }},
    };
    const std::string content(5000, 'q');
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCabinetHandling::destroy();
        WriteZip(DataFolder() / "data.zip", {{"a.txt", content + c.name, kMemberDate, kMemberTime, 0x20, c.deflate}});
        std::string zip = ReadBytes(DataFolder() / "data.zip");
        c.damage(zip);
        WriteBytes(DataFolder() / "data.zip", zip);
        ExpectNoCopy(L"a.txt");
    }
}

TEST_F(HostileArchiveTest, TruncatedZipIsNoArchive) {
    WriteZip(DataFolder() / "data.zip", {{"a.txt", std::string(5000, 'q')}});
    std::string zip = ReadBytes(DataFolder() / "data.zip");
    zip.resize(zip.size() / 2);
    WriteBytes(DataFolder() / "data.zip", zip);
    CString usable;
    EXPECT_EQ(CCabinetHandling::getUncabedPathName(L"C:\\data\\a.txt", usable), 0);
    EXPECT_EQ(usable.str(), L"C:\\data\\a.txt") << "the path as asked for, which does not exist";
    EXPECT_EQ(CCabinetHandling::accessFile(L"C:\\data\\a.txt", 0), 0);
    EXPECT_TRUE(FilesBelow(CacheFolder()).empty());
}

TEST_F(HostileArchiveTest, Zip64MemberIsRefusedBeforeAnythingIsWritten) {
    // Headers claiming 5 GiB for 5 bytes of data: nothing in proportion to
    // the claim, nor anything at all, is written for it.
    fs::create_directories(DataFolder());
    WriteBytes(DataFolder() / "data.zip", RawZip({{"big.txt", "hello", 0x3610a686, 5ull << 30}}));
    EXPECT_EQ(CCabinetHandling::accessFile(L"C:\\data\\big.txt", 0), 1) << "it is in the archive";
    ExpectNoCopy(L"big.txt");
    EXPECT_FALSE(fs::exists(CacheFolder() / "data")) << "not even its folder";
}

TEST_F(HostileArchiveTest, DamagedCabinetLeavesNoFile) {
    if (!HaveGcab()) GTEST_SKIP() << "gcab is not installed";
    struct Case {
        const char* name;
        bool compress;
        void (*damage)(std::string& cab);
    };
    const Case cases[] = {
        {"truncated", false, [](std::string& cab) { cab.resize(cab.size() - 100); }},
        {"corrupt compressed data", true,
         [](std::string& cab) {
             for (size_t i = cab.size() - 60; i < cab.size() - 40; ++i) cab[i] = static_cast<char>(cab[i] ^ 0x5A);
         }},
    };
    std::string content;
    for (int i = 0; i < 4000; ++i) content += std::to_string(i * 7919 % 10007) + ",";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCabinetHandling::destroy();
        WriteCabinet(DataFolder() / "data.cab", {{"a.txt", content}}, FileTimeAt(2020, 6, 15, 10, 20, 30), c.compress);
        std::string cab = ReadBytes(DataFolder() / "data.cab");
        c.damage(cab);
        WriteBytes(DataFolder() / "data.cab", cab);
        ExpectNoCopy(L"a.txt");
    }
}

TEST_F(HostileArchiveTest, MemberNamesCannotEscape) {
    const char* const names[] = {"../x.txt", "..\\x.txt", "/x.txt", "sub/x.txt", "sub\\x.txt", "C:\\x.txt"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        CCabinetHandling::destroy();
        WriteZip(DataFolder() / "data.zip", {{name, "escaped"}});
        ExpectNoCopy(L"x.txt");
        EXPECT_EQ(CCabinetHandling::accessFile(L"C:\\data\\x.txt", 0), 0);
        EXPECT_FALSE(fs::exists(dir_.path() / "x.txt"));
        EXPECT_FALSE(fs::exists(TempFolder() / "x.txt"));
    }
}

TEST_F(HostileArchiveTest, LinksInTheCacheAreNotFollowed) {
    const TempDir outside;
    struct Case {
        const char* name;
        void (*prepare)(const fs::path& cache, const fs::path& outside);
        bool usable;
    };
    const Case cases[] = {
        {"cache folder is a link", [](const fs::path& cache, const fs::path& target) {
             fs::create_directory_symlink(target, cache);
         }, false},
        {"its data folder is a link", [](const fs::path& cache, const fs::path& target) {
             fs::create_directory(cache);
             fs::create_directory_symlink(target, cache / "data");
         }, false},
        {"the copy's place is a link", [](const fs::path& cache, const fs::path& target) {
             fs::create_directories(cache / "data");
             fs::create_symlink(target / "a.txt", cache / "data" / "a.txt");
         }, true},
    };
    WriteZip(DataFolder() / "data.zip", {{"a.txt", "archived"}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCabinetHandling::destroy();
        fs::remove_all(CacheFolder());
        WriteBytes(outside.path() / "a.txt", "outside");
        c.prepare(CacheFolder(), outside.path());
        CString usable;
        EXPECT_EQ(CCabinetHandling::getUncabedPathName(L"C:\\data\\a.txt", usable), c.usable ? 1 : 0);
        EXPECT_EQ(ReadBytes(outside.path() / "a.txt"), "outside");
        EXPECT_EQ(FilesBelow(outside.path()).size(), 1u);
        if (c.usable) {
            EXPECT_FALSE(fs::is_symlink(CacheFolder() / "data" / "a.txt"));
            EXPECT_EQ(ReadBytes(CacheFolder() / "data" / "a.txt"), "archived");
        }
        fs::remove_all(CacheFolder());  // does not follow a link
    }
}

TEST_F(HostileArchiveTest, CacheFolderIsMadePrivate) {
    WriteZip(DataFolder() / "data.zip", {{"a.txt", "archived"}});
    fs::create_directory(CacheFolder());
    fs::permissions(CacheFolder(), fs::perms::all);
    CString usable;
    ASSERT_EQ(CCabinetHandling::getUncabedPathName(L"C:\\data\\a.txt", usable), 1);
    EXPECT_EQ(fs::status(CacheFolder()).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(fs::status(CacheFolder() / "data").permissions() & fs::perms::all, fs::perms::owner_all);
}

TEST_F(HostileArchiveTest, CacheFolderOfAnotherUserIsRefused) {
    if (::geteuid() != 0) GTEST_SKIP() << "giving a folder away needs root";
    WriteZip(DataFolder() / "data.zip", {{"a.txt", "archived"}});
    fs::create_directory(CacheFolder());
    ASSERT_EQ(::chown(CacheFolder().c_str(), 65534, 65534), 0);
    ExpectNoCopy(L"a.txt");
    CCabinetHandling::destroy();
    EXPECT_TRUE(fs::exists(CacheFolder())) << "not ours to remove";
    fs::remove(CacheFolder());
}

TEST_F(HostileArchiveTest, UnsettableDateFailsWithAMessageAndTheProcessGoesOn) {
    // Month 13: the date cannot be given to a file.
    const std::uint16_t badDate = (40 << 9) | (13 << 5) | 1;
    WriteZip(DataFolder() / "data.zip", {{"a.txt", "archived", badDate, kMemberTime}});
    ExpectNoCopy(L"a.txt");
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].find(L"Fehler beim \u00e4ndern des Dateidatums!\r\nEntpackvorgang wird nicht fortgesetzt"),
              std::wstring::npos);
    EXPECT_NE(messages_[0].find(L"Verzeichnis: " + FromNativePath(CacheFolder().string()) + L"\\data\r\n"),
              std::wstring::npos);
    EXPECT_NE(messages_[0].find(L"Fehlercode: 87"), std::wstring::npos);
    EXPECT_FALSE(fs::exists(CacheFolder() / "data" / "dtchk.tmp"));
}

}  // namespace
}  // namespace qx::test
