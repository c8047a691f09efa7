#include "qx/platform/os/native_path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "qx/platform/os/file_system.h"
#include "qx/platform/os/last_error.h"
#include "tests/support/fixtures.h"

namespace qx {
namespace {

using test::DriveFolderTest;

// Each test starts without kept folder listings.
class CaseCacheTest : public DriveFolderTest {
protected:
    CaseCacheTest() { ResetFolderListingCache(); }
};

class DriveMapTest : public ::testing::Test {
protected:
    ~DriveMapTest() override { ResetDriveMap(); }
};

TEST_F(DriveMapTest, MapsLibraryPathsWithoutTouchingTheDisk) {
    SetDriveMap("C=/srv/qx/c;d=/mnt/d/;R=/");
    struct Case {
        const wchar_t* library;
        const char* native;  // null: not mapped
        unsigned error;      // the last error when not mapped
    };
    const Case cases[] = {
        {L"C:\\Data\\a.txt", "/srv/qx/c/Data/a.txt", 0},
        {L"c:/Data/a.txt", "/srv/qx/c/Data/a.txt", 0},
        {L"C:\\Data/Sub\\", "/srv/qx/c/Data/Sub/", 0},
        {L"C:", "/srv/qx/c/", 0},
        {L"C:\\", "/srv/qx/c/", 0},
        {L"C:a.txt", "/srv/qx/c/a.txt", 0},
        {L"D:\\x", "/mnt/d/x", 0},  // trailing slash of the mapped folder
        {L"d:\\x", "/mnt/d/x", 0},
        {L"R:\\etc\\x", "/etc/x", 0},  // drive mapped to the root
        {L"R:", "/", 0},
        {L"\\tmp\\a.txt", "/tmp/a.txt", 0},
        {L"/tmp/a.txt", "/tmp/a.txt", 0},
        {L"Data\\a.txt", "Data/a.txt", 0},
        {L"..\\a.txt", "../a.txt", 0},
        {L"a\\\\b\\.\\c", "a//b/./c", 0},
        {L"C:\\Gr\u00FC\u00DFe\\\u20AC.txt", "/srv/qx/c/Gr\xC3\xBC\xC3\x9F" "e/\xE2\x82\xAC.txt", 0},
        {L"Q:\\a.txt", nullptr, kErrorPathNotFound},
        {L"1:\\a.txt", "1:/a.txt", 0},  // not a drive letter: a relative name
        {L"\\\\server\\share\\a.txt", nullptr, kErrorBadNetPath},
        {L"//server/share/a.txt", nullptr, kErrorBadNetPath},
        {L"\\\\?\\C:\\a.txt", nullptr, kErrorBadNetPath},
        {L"", nullptr, kErrorPathNotFound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "library path \"" << c.library << "\"");
        SetLastError(0);
        const auto native = ToNativePath(c.library, false);
        if (c.native) {
            EXPECT_EQ(native, std::optional<std::string>(c.native));
            EXPECT_EQ(GetLastError(), 0u);
        } else {
            EXPECT_EQ(native, std::nullopt);
            EXPECT_EQ(GetLastError(), c.error);
        }
    }
}

TEST_F(DriveMapTest, RefusesAPathWithAZeroCharacter) {
    // Passed on, the zero would cut the path short and name another file.
    const std::wstring path(L"\\tmp\\a.txt\0.bak", 15);
    EXPECT_EQ(ToNativePath(path), std::nullopt);
    EXPECT_EQ(GetLastError(), kErrorInvalidName);
}

TEST_F(DriveMapTest, ParsesTheMapLeniently) {
    SetDriveMap(" c = /one ; ;junk;E=relative/dir;FF=/x;G=/g1;g=/g2;H=");
    EXPECT_EQ(ToNativePath(L"C:\\a", false), std::optional<std::string>("/one/a"));
    EXPECT_EQ(ToNativePath(L"E:\\a", false), std::nullopt) << "a relative folder is not a drive";
    EXPECT_EQ(ToNativePath(L"F:\\a", false), std::nullopt);
    EXPECT_EQ(ToNativePath(L"G:\\a", false), std::optional<std::string>("/g2/a")) << "the later entry wins";
    EXPECT_EQ(ToNativePath(L"H:\\a", false), std::nullopt);
}

TEST_F(DriveMapTest, ReadsTheEnvironmentUntilAMapIsSet) {
    test::ScopedEnv env("QX_DRIVES", "X=/from/env");
    ResetDriveMap();
    EXPECT_EQ(ToNativePath(L"X:\\a", false), std::optional<std::string>("/from/env/a"));
    SetDriveMap("Y=/set");
    EXPECT_EQ(ToNativePath(L"X:\\a", false), std::nullopt);
    ResetDriveMap();
    EXPECT_EQ(ToNativePath(L"X:\\a", false), std::optional<std::string>("/from/env/a"));
}

TEST_F(DriveMapTest, MapsNativePathsBackToDriveLetters) {
    SetDriveMap("C=/srv/qx/c;D=/srv/qx/c/sub;E=/srv/qx/c/sub");
    struct Case {
        const char* native;
        const wchar_t* library;
    };
    const Case cases[] = {
        {"/srv/qx/c/Data/a.txt", L"C:\\Data\\a.txt"},
        {"/srv/qx/c", L"C:\\"},
        {"/srv/qx/c/", L"C:\\"},
        {"/srv/qx/c/sub/a.txt", L"D:\\a.txt"},  // longest folder, then first letter
        {"/srv/qx/cc/a.txt", L"\\srv\\qx\\cc\\a.txt"},
        {"/tmp/a.txt", L"\\tmp\\a.txt"},
        {"Data/a.txt", L"Data\\a.txt"},
        {"Gr\xC3\xBC\xC3\x9F" "e", L"Gr\u00FC\u00DFe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.native);
        EXPECT_EQ(FromNativePath(c.native), c.library);
    }
}

TEST_F(DriveMapTest, CarriesBytesThatAreNotUtf8BothWays) {
    for (const std::string native : {"a\xFF" "b", "\xC3", "\xED\xA0\x80", "\xC0\xAF", "ok\xE2\x82"}) {
        SCOPED_TRACE(testing::Message() << "bytes of length " << native.size());
        const std::wstring library = FromNativePath(native);
        EXPECT_EQ(ToNativePath(library, false), std::optional<std::string>(native));
    }
}

TEST_F(DriveFolderTest, FindsTheSingleEntryThatDiffersOnlyInCase) {
    MakeFolder("Data/Sub");
    Write("Data/Sub/File.TXT", "x");
    Write("Data/Readme.txt", "1");
    Write("Data/README.TXT", "2");
    Write("Data/same.txt", "exact");
    Write("Data/SAME.txt", "variant");
    MakeFolder("\xC3\x84rger");  // "Ärger"
    Write("\xC3\x84rger/Stra\xC3\x9F" "e.dat", "");
    struct Case {
        const wchar_t* library;
        const char* native;  // inside the folder
    };
    const Case cases[] = {
        {L"C:\\Data\\Sub\\File.TXT", "Data/Sub/File.TXT"},
        {L"C:\\data\\sub\\file.txt", "Data/Sub/File.TXT"},
        {L"C:\\DATA\\SUB\\", "Data/Sub/"},
        {L"C:\\data\\..\\DATA\\sub", "Data/../Data/Sub"},
        // Missing names keep their spelling after the resolved part.
        {L"C:\\data\\new\\file.txt", "Data/new/file.txt"},
        {L"C:\\DATA\\Sub\\new.txt", "Data/Sub/new.txt"},
        // Two variants: choosing one could open the wrong file.
        {L"C:\\data\\readme.txt", "Data/readme.txt"},
        {L"C:\\data\\Readme.txt", "Data/Readme.txt"},
        // An exact name wins over its variants.
        {L"C:\\data\\SAME.txt", "Data/SAME.txt"},
        // Simple case folding beyond ASCII.
        {L"C:\\\u00E4RGER\\STRA\u00DFE.DAT", "\xC3\x84rger/Stra\xC3\x9F" "e.dat"},
    };
    // The second pass finds the folders' listings kept from the first: their
    // times lie in the past, so the cache trusts them.
    for (const char* folder : {"", "Data", "Data/Sub", "\xC3\x84rger"}) Backdate(folder);
    for (const char* pass : {"first", "kept listings"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << pass << " pass, library path \"" << c.library << "\"");
            EXPECT_EQ(ToNativePath(c.library), std::optional<std::string>(Native(c.native)));
        }
    }
    EXPECT_EQ(ToNativePath(L"C:\\data\\sub\\file.txt", false), Native("data/sub/file.txt"));
    EXPECT_EQ(ReadWholeFile(L"C:\\DATA\\sub\\FILE.txt"), std::optional<std::string>("x"));
}

// Entries that others create, remove or replace after a first look-up are
// seen: a kept listing is read again when its folder's time or identity
// changes.
TEST_F(CaseCacheTest, SeesEntriesChangedAfterAFirstLookUp) {
    Write("Data/File.txt", "x");
    Backdate("Data");
    EXPECT_EQ(ToNativePath(L"C:\\data\\NEW.txt"), Native("Data/NEW.txt"));
    Write("Data/new.TXT", "created");
    EXPECT_EQ(ToNativePath(L"C:\\data\\NEW.txt"), Native("Data/new.TXT"));
    EXPECT_EQ(ReadWholeFile(L"C:\\DATA\\NEW.TXT"), std::optional<std::string>("created"));

    Backdate("Data");
    EXPECT_EQ(ToNativePath(L"C:\\data\\file.txt"), Native("Data/File.txt"));
    std::filesystem::remove(dir_.path() / "Data/File.txt");
    EXPECT_EQ(ToNativePath(L"C:\\data\\file.txt"), Native("Data/file.txt"));
    EXPECT_FALSE(GetFileStatus(L"C:\\data\\file.txt"));

    // A second variant makes the name ambiguous.
    Backdate("Data");
    EXPECT_EQ(ToNativePath(L"C:\\data\\new.txt"), Native("Data/new.TXT"));
    Write("Data/NEW.txt", "second");
    EXPECT_EQ(ToNativePath(L"C:\\data\\new.txt"), Native("Data/new.txt"));
}

TEST_F(CaseCacheTest, SeesAFolderReplacedByAnotherOfTheSameTime) {
    Write("Data/Old.txt", "old");
    Write("Other/Fresh.txt", "fresh");
    const auto time = Backdate("Data");
    std::filesystem::last_write_time(dir_.path() / "Other", time);
    EXPECT_EQ(ToNativePath(L"C:\\Data\\old.TXT"), Native("Data/Old.txt"));
    std::filesystem::remove_all(dir_.path() / "Data");
    std::filesystem::rename(dir_.path() / "Other", dir_.path() / "Data");
    std::filesystem::last_write_time(dir_.path() / "Data", time);
    EXPECT_EQ(ToNativePath(L"C:\\Data\\old.TXT"), Native("Data/old.TXT"));
    EXPECT_EQ(ToNativePath(L"C:\\Data\\FRESH.txt"), Native("Data/Fresh.txt"));
}

TEST_F(DriveFolderTest, ResolvesCaseInRelativePaths) {
    Write("Data/File.txt", "x");
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
    const auto native = ToNativePath(L"data\\FILE.TXT");
    std::filesystem::current_path(old);
    EXPECT_EQ(native, std::optional<std::string>("Data/File.txt"));
}

TEST_F(DriveFolderTest, OpensNamesThatAreNotUtf8) {
    const std::string name = "bad\xFF.txt";
    Write(name, "content");
    const std::wstring library = FromNativePath(Native(name));
    EXPECT_EQ(ReadWholeFile(library), std::optional<std::string>("content"));
    EXPECT_TRUE(WriteFileAtomically(library, "new"));
    EXPECT_EQ(test::ReadBytes(Native(name)), "new");
}

}  // namespace
}  // namespace qx
