#include "qx/archive/cabinet_handling.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "qx/archive/archive_path.h"
#include "qx/archive/dos_time.h"
#include "qx/platform/os/file_system.h"
#include "tests/archive/archive_fixture.h"

namespace qx::test {
namespace {

namespace fs = std::filesystem;

const fs::file_time_type kOlderThanMember = FileTimeAt(2019, 1, 2, 3, 4, 5);
const fs::file_time_type kNewerThanMember = FileTimeAt(2021, 1, 2, 3, 4, 5);
const fs::file_time_type kMemberFileTime = FileTimeAt(2020, 6, 15, 10, 20, 30);

enum class Disk { Missing, Older, Newer };
enum class Where { Disk, Cache, Nowhere };

struct DecisionCase {
    const char* name;
    bool zip;          // the archive is data.zip, else data.cab
    bool inArchive;    // the archive holds a.txt
    Disk disk;
    Where expected;
};

class DecisionTest : public ArchiveTest {};

TEST_F(DecisionTest, ChoosesTheNewerCopy) {
    const DecisionCase cases[] = {
        {"zip, disk newer", true, true, Disk::Newer, Where::Disk},
        {"zip, archive newer", true, true, Disk::Older, Where::Cache},
        {"zip only", true, true, Disk::Missing, Where::Cache},
        {"disk only beside a zip", true, false, Disk::Older, Where::Disk},
        {"neither, zip", true, false, Disk::Missing, Where::Nowhere},
        {"cab, disk newer", false, true, Disk::Newer, Where::Disk},
        {"cab, archive newer", false, true, Disk::Older, Where::Cache},
        {"cab only", false, true, Disk::Missing, Where::Cache},
        {"neither, cab", false, false, Disk::Missing, Where::Nowhere},
    };
    if (!HaveGcab()) GTEST_SKIP() << "gcab is not installed";
    for (const DecisionCase& c : cases) {
        SCOPED_TRACE(c.name);
        CCabinetHandling::destroy();
        fs::remove_all(DataFolder());
        const std::string member = c.inArchive ? "a.txt" : "other.txt";
        if (c.zip) WriteZip(DataFolder() / "data.zip", {{member, "from archive"}});
        else WriteCabinet(DataFolder() / "data.cab", {{member, "from archive"}}, kMemberFileTime);
        if (c.disk != Disk::Missing) {
            Write("data/a.txt", "from disk");
            fs::last_write_time(DataFolder() / "a.txt", c.disk == Disk::Newer ? kNewerThanMember : kOlderThanMember);
        }

        CString usable;
        const int result = CCabinetHandling::getUncabedPathName(L"C:\\data\\a.txt", usable);
        switch (c.expected) {
        case Where::Disk:
            EXPECT_EQ(result, 1);
            EXPECT_EQ(usable.str(), L"C:\\data\\a.txt");
            break;
        case Where::Cache:
            EXPECT_EQ(result, 1);
            EXPECT_EQ(usable.str(), CachedPath(L"a.txt"));
            EXPECT_EQ(ReadBytes(CacheFolder() / "data" / "a.txt"), "from archive");
            EXPECT_EQ(fs::last_write_time(CacheFolder() / "data" / "a.txt"), kMemberFileTime);
            break;
        case Where::Nowhere:
            EXPECT_EQ(result, 0);
            EXPECT_TRUE(usable.IsEmpty());
            break;
        }
        EXPECT_EQ(CCabinetHandling::accessFile(L"C:\\data\\a.txt", 1), c.expected == Where::Nowhere ? 0 : 1);
        EXPECT_EQ(CCabinetHandling::accessFile(L"C:\\data\\a.txt", 0), c.inArchive ? 1 : 0);
    }
}

TEST_F(DecisionTest, WithoutArchiveTheDiskDecidesAndNothingIsRemembered) {
    CString usable;
    EXPECT_EQ(CCabinetHandling::getUncabedPathName(L"C:\\data\\a.txt", usable), 0);
    EXPECT_EQ(usable.str(), L"C:\\data\\a.txt");
    Write("data/a.txt", "x");
    EXPECT_EQ(CCabinetHandling::getUncabedPathName(L"C:\\data\\a.txt", usable), 1);
    EXPECT_EQ(CCabinetHandling::getUncabedPathName(L"a.txt", usable), 0) << "a path needs a folder";
    EXPECT_EQ(usable.str(), L"a.txt");
}

TEST_F(DecisionTest, ZipWinsOverCabinet) {
    if (!HaveGcab()) GTEST_SKIP() << "gcab is not installed";
    WriteZip(DataFolder() / "data.zip", {{"a.txt", "zip"}});
    WriteCabinet(DataFolder() / "data.cab", {{"a.txt", "cab"}, {"b.txt", "cab"}}, kMemberFileTime);
    CString usable;
    ASSERT_EQ(CCabinetHandling::getUncabedPathName(L"C:\\data\\a.txt", usable), 1);
    EXPECT_EQ(ReadBytes(CacheFolder() / "data" / "a.txt"), "zip");
    EXPECT_EQ(CCabinetHandling::getUncabedPathName(L"C:\\data\\b.txt", usable), 0) << "the cabinet is not consulted";
}

TEST_F(DecisionTest, ExtractsOnceAndReusesTheCopy) {
    WriteZip(DataFolder() / "data.zip", {{"A.txt", "archived"}});
    CString first;
    ASSERT_EQ(CCabinetHandling::getUncabedPathName(L"C:\\data\\a.txt", first), 1);
    WriteBytes(CacheFolder() / "data" / "a.txt", "changed in the cache");
    CString second;
    ASSERT_EQ(CCabinetHandling::getUncabedPathName(L"C:\\DATA\\A.TXT", second), 1) << "names ignore case";
    EXPECT_EQ(ReadBytes(CacheFolder() / "data" / "a.txt"), "changed in the cache");
}

TEST_F(DecisionTest, NotFoundIsRememberedUntilDestroy) {
    WriteZip(DataFolder() / "data.zip", {{"other.txt", "x"}});
    CString usable;
    ASSERT_EQ(CCabinetHandling::getUncabedPathName(L"C:\\data\\a.txt", usable), 0);
    Write("data/a.txt", "arrived later");
    EXPECT_EQ(CCabinetHandling::getUncabedPathName(L"C:\\data\\a.txt", usable), 0);
    EXPECT_TRUE(usable.IsEmpty());
    CCabinetHandling::destroy();
    EXPECT_EQ(CCabinetHandling::getUncabedPathName(L"C:\\data\\a.txt", usable), 1);
    EXPECT_EQ(usable.str(), L"C:\\data\\a.txt");
}

TEST_F(DecisionTest, SlashesAndDotDotAreNormalised) {
    WriteZip(DataFolder() / "data.zip", {{"a.txt", "archived"}});
    MakeFolder("data/sub");
    CString usable;
    ASSERT_EQ(CCabinetHandling::getUncabedPathName(L"C:/data/sub/../a.txt", usable), 1);
    EXPECT_EQ(usable.str(), CachedPath(L"a.txt"));
    CString again;
    ASSERT_EQ(CCabinetHandling::getUncabedPathName(L"C:\\data\\\\a.txt", again), 1);
    EXPECT_EQ(again, usable);
}

TEST_F(DecisionTest, HiddenMemberIsExtracted) {
    WriteZip(DataFolder() / "data.zip", {{"h.txt", "hidden", kMemberDate, kMemberTime, 0x22}});
    CString usable;
    ASSERT_EQ(CCabinetHandling::getUncabedPathName(L"C:\\data\\h.txt", usable), 1);
    EXPECT_EQ(ReadBytes(CacheFolder() / "data" / "h.txt"), "hidden");
    EXPECT_EQ(CCabinetHandling::accessFile(L"C:\\data\\h.txt", 0), 1);
}

TEST_F(DecisionTest, DestroyRemovesCopiesAndTheCacheFolder) {
    if (!HaveGcab()) GTEST_SKIP() << "gcab is not installed";
    WriteCabinet(DataFolder() / "data.cab", {{"a.txt", "cab"}}, kMemberFileTime);
    MakeFolder("other");
    WriteZip(dir_.path() / "other" / "data.zip", {{"b.txt", "zip"}});
    CString usable;
    ASSERT_EQ(CCabinetHandling::getUncabedPathName(L"C:\\data\\a.txt", usable), 1);
    ASSERT_EQ(CCabinetHandling::getUncabedPathName(L"C:\\other\\b.txt", usable), 1);
    CCabinetHandling::destroy();
    EXPECT_FALSE(fs::exists(CacheFolder()));
    EXPECT_TRUE(fs::exists(DataFolder() / "data.cab"));
}

TEST(ArchivePathTest, Normalize) {
    struct Case {
        const wchar_t* in;
        const wchar_t* out;
    };
    const Case cases[] = {
        {L"C:/data//sub/../a.txt", L"C:\\data\\a.txt"},
        {L"C:\\data\\\\\\a.txt", L"C:\\data\\a.txt"},
        {L"\\\\srv\\share\\\\data\\a.txt", L"\\\\srv\\share\\data\\a.txt"},
        {L"//srv/share/a.txt", L"\\\\srv\\share\\a.txt"},
        {L"C:\\a\\b\\..\\..\\c.txt", L"C:\\c.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::filesystem::path(c.in).string());
        EXPECT_EQ(NormalizeArchivePath(c.in).str(), c.out);
    }
}

TEST(ArchivePathTest, CacheFolderNeverLeadsOut) {
    struct Case {
        const wchar_t* path;
        const wchar_t* relative;
    };
    const Case cases[] = {
        {L"C:\\data\\sub\\a.txt", L"data\\sub"},
        {L"\\\\srv\\share\\data\\a.txt", L"share\\data"},
        {L"C:\\a.txt", L""},
        {L"\\home\\u\\data\\a.txt", L"home\\u\\data"},
        {L"C:\\..\\..\\etc\\a.txt", L"etc"},
        {L"..\\..\\a.txt", L""},
        {L"\\\\srv", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::filesystem::path(c.path).string());
        EXPECT_EQ(CacheRelativeFolder(c.path).str(), c.relative);
    }
}

TEST(DosTimeTest, RejectsFieldsOutOfRange) {
    struct Case {
        const char* name;
        std::uint16_t date;
        std::uint16_t time;
        bool valid;
    };
    const Case cases[] = {
        {"ordinary", kMemberDate, kMemberTime, true},
        {"29 February of a leap year", (44 << 9) | (2 << 5) | 29, 0, true},
        {"29 February otherwise", (43 << 9) | (2 << 5) | 29, 0, false},
        {"month 0", (40 << 9) | (0 << 5) | 1, 0, false},
        {"month 13", (40 << 9) | (13 << 5) | 1, 0, false},
        {"day 0", (40 << 9) | (1 << 5) | 0, 0, false},
        {"hour 24", kMemberDate, 24 << 11, false},
        {"minute 60", kMemberDate, 60 << 5, false},
        {"second 60", kMemberDate, 30, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DosDateTimeToFileTime(c.date, c.time).has_value(), c.valid);
    }
    const std::time_t expected =
        std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(kMemberFileTime));
    EXPECT_EQ(DosDateTimeToFileTime(kMemberDate, kMemberTime), FileTimeFromUnix(expected));
}

}  // namespace
}  // namespace qx::test
