#include "qx/platform/os/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "qx/platform/os/last_error.h"
#include "tests/support/fixtures.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

class FileSystemTest : public test::DriveFolderTest {
protected:
    fs::perms Permissions(const std::string& name) const {
        return fs::status(Native(name)).permissions() & fs::perms::mask;
    }
    // The entries of a folder, to see that no temporary file stayed behind.
    std::vector<std::string> Entries(const std::string& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Native(folder)))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    void MakeReadOnly(const std::string& name) const {
        fs::permissions(Native(name), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    }
};

TEST_F(FileSystemTest, ReportsAMissingFileAndAMissingFolderApart) {
    Write("dir/present.txt", "");
    struct Case {
        const wchar_t* path;
        unsigned error;
    };
    const Case cases[] = {
        {L"C:\\dir\\missing.txt", kErrorFileNotFound},
        {L"C:\\nodir\\missing.txt", kErrorPathNotFound},
        {L"C:\\nodir\\deeper\\missing.txt", kErrorPathNotFound},
        {L"C:\\dir\\present.txt\\x", kErrorPathNotFound},  // a file on the way
        {L"Q:\\unmapped.txt", kErrorPathNotFound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "path \"" << c.path << "\"");
        SetLastError(0);
        EXPECT_EQ(ReadWholeFile(c.path), std::nullopt);
        EXPECT_EQ(GetLastError(), c.error);
        SetLastError(0);
        EXPECT_EQ(FileAttributes(c.path), kInvalidFileAttributes);
        EXPECT_EQ(GetLastError(), c.error);
        SetLastError(0);
        EXPECT_FALSE(RemoveFile(c.path));
        EXPECT_EQ(GetLastError(), c.error);
    }
}

TEST_F(FileSystemTest, WritesAndReadsWholeFiles) {
    const std::string binary("a\0b\r\n\xFF", 6);
    EXPECT_TRUE(WriteFileAtomically(L"C:\\new.bin", binary));
    EXPECT_EQ(ReadWholeFile(L"C:\\new.bin"), binary);
    EXPECT_TRUE(WriteFileAtomically(L"C:\\new.bin", ""));
    EXPECT_EQ(ReadWholeFile(L"C:\\new.bin"), std::string());
    const std::string large(300000, 'x');  // more than one read chunk
    EXPECT_TRUE(WriteFileAtomically(L"C:\\new.bin", large));
    EXPECT_EQ(ReadWholeFile(L"C:\\new.bin"), large);
    EXPECT_EQ(Entries(""), std::vector<std::string>{"new.bin"});
}

TEST_F(FileSystemTest, ReadingAFolderIsAccessDenied) {
    MakeFolder("dir");
    EXPECT_EQ(ReadWholeFile(L"C:\\dir"), std::nullopt);
    EXPECT_EQ(GetLastError(), kErrorAccessDenied);
}

TEST_F(FileSystemTest, ReplacingAFileKeepsItsPermissionBits) {
    Write("a.txt", "old");
    fs::permissions(Native("a.txt"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_TRUE(WriteFileAtomically(L"C:\\A.TXT", "new"));  // replaces a.txt, keeping its name
    EXPECT_EQ(test::ReadBytes(Native("a.txt")), "new");
    EXPECT_EQ(Permissions("a.txt"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Entries(""), std::vector<std::string>{"a.txt"});
}

TEST_F(FileSystemTest, ReplacingThroughALinkReplacesTheFileItNames) {
    Write("real.txt", "old");
    fs::create_symlink("real.txt", Native("link.txt"));
    EXPECT_TRUE(WriteFileAtomically(L"C:\\link.txt", "new"));
    EXPECT_TRUE(fs::is_symlink(Native("link.txt")));
    EXPECT_EQ(test::ReadBytes(Native("real.txt")), "new");
}

TEST_F(FileSystemTest, AReadOnlyFileIsNeitherReplacedNorDeleted) {
    Write("locked.txt", "old");
    MakeReadOnly("locked.txt");
    Write("other.txt", "other");

    EXPECT_FALSE(WriteFileAtomically(L"C:\\locked.txt", "new"));
    EXPECT_EQ(GetLastError(), kErrorAccessDenied);
    EXPECT_FALSE(RemoveFile(L"C:\\locked.txt"));
    EXPECT_EQ(GetLastError(), kErrorAccessDenied);
    EXPECT_FALSE(RenameFile(L"C:\\other.txt", L"C:\\locked.txt", true));
    EXPECT_EQ(GetLastError(), kErrorAccessDenied);
    EXPECT_FALSE(CopyFileAtomically(L"C:\\other.txt", L"C:\\locked.txt", false));
    EXPECT_EQ(GetLastError(), kErrorAccessDenied);
    EXPECT_FALSE(IsWritable(L"C:\\locked.txt"));
    EXPECT_TRUE(IsReadable(L"C:\\locked.txt"));

    EXPECT_EQ(test::ReadBytes(Native("locked.txt")), "old");
    EXPECT_EQ(Entries(""), (std::vector<std::string>{"locked.txt", "other.txt"}));

    EXPECT_TRUE(ChangeFileAttributes(L"C:\\locked.txt", kFileAttributeNormal));
    EXPECT_TRUE(IsWritable(L"C:\\locked.txt"));
    EXPECT_TRUE(WriteFileAtomically(L"C:\\locked.txt", "new"));
    EXPECT_TRUE(RemoveFile(L"C:\\locked.txt"));
}

TEST_F(FileSystemTest, WritingIntoAMissingFolderFails) {
    EXPECT_FALSE(WriteFileAtomically(L"C:\\nodir\\a.txt", "x"));
    EXPECT_EQ(GetLastError(), kErrorPathNotFound);
    MakeFolder("dir");
    EXPECT_FALSE(WriteFileAtomically(L"C:\\dir", "x"));
    EXPECT_EQ(GetLastError(), kErrorAccessDenied);
    EXPECT_TRUE(fs::is_directory(Native("dir")));
}

TEST_F(FileSystemTest, ReportsAttributes) {
    Write("plain.txt", "12345");
    Write(".hidden", "");
    Write("locked.txt", "");
    MakeReadOnly("locked.txt");
    MakeFolder("dir");
    MakeFolder(".git");
    struct Case {
        const wchar_t* path;
        unsigned attributes;
    };
    const Case cases[] = {
        {L"C:\\plain.txt", kFileAttributeArchive},
        {L"C:\\PLAIN.TXT", kFileAttributeArchive},
        {L"C:\\.hidden", kFileAttributeArchive | kFileAttributeHidden},
        {L"C:\\locked.txt", kFileAttributeArchive | kFileAttributeReadOnly},
        {L"C:\\dir", kFileAttributeDirectory},
        {L"C:\\dir\\", kFileAttributeDirectory},
        {L"C:\\.git", kFileAttributeDirectory | kFileAttributeHidden},
        {L"C:\\dir\\..", kFileAttributeDirectory},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "path \"" << c.path << "\"");
        EXPECT_EQ(FileAttributes(c.path), c.attributes);
    }
    EXPECT_EQ(GetFileSize(L"C:\\plain.txt"), std::optional<std::uint64_t>(5));
    EXPECT_EQ(GetFileSize(L"C:\\dir"), std::optional<std::uint64_t>(0));
    EXPECT_TRUE(FileExists(L"C:\\plain.txt"));
    EXPECT_FALSE(FileExists(L"C:\\dir"));
    EXPECT_TRUE(DirectoryExists(L"C:\\dir"));
    EXPECT_FALSE(DirectoryExists(L"C:\\plain.txt"));
    EXPECT_FALSE(FileExists(L"C:\\missing"));
}

TEST_F(FileSystemTest, ReadOnlyAttributeSwitchesWritePermission) {
    Write("a.txt", "");
    fs::permissions(Native("a.txt"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_write);
    EXPECT_TRUE(ChangeFileAttributes(L"C:\\a.txt", kFileAttributeReadOnly | kFileAttributeHidden));
    EXPECT_EQ(Permissions("a.txt"), fs::perms::owner_read);
    EXPECT_EQ(FileAttributes(L"C:\\a.txt"), kFileAttributeArchive | kFileAttributeReadOnly);
    EXPECT_TRUE(ChangeFileAttributes(L"C:\\a.txt", kFileAttributeArchive));
    EXPECT_EQ(Permissions("a.txt"), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(FileSystemTest, FileTimesRoundTripToTheTick) {
    Write("a.txt", "");
    // 2003-04-05 06:07:08.1234567 UTC and a time before 1970.
    const FileTime written = FileTimeFromUnix(1049522828, 123456700);
    const FileTime accessed = FileTimeFromUnix(-86400 * 365, 100);
    EXPECT_TRUE(SetFileTimes(L"C:\\a.txt", written, accessed, written));
    const auto status = GetFileStatus(L"C:\\a.txt");
    ASSERT_TRUE(status);
    EXPECT_EQ(status->lastWriteTime, written);
    EXPECT_EQ(status->lastAccessTime, accessed);

    EXPECT_TRUE(SetFileTimes(L"C:\\a.txt", std::nullopt, std::nullopt, accessed));
    EXPECT_EQ(GetFileStatus(L"C:\\a.txt")->lastWriteTime, accessed);
    EXPECT_EQ(GetFileStatus(L"C:\\a.txt")->lastAccessTime, accessed) << "an absent time stays";

    EXPECT_FALSE(SetFileTimes(L"C:\\missing.txt", std::nullopt, written, written));
    EXPECT_EQ(GetLastError(), kErrorFileNotFound);
}

TEST(FileTimeTest, ConvertsToAndFromUnixTime) {
    static_assert(FileTimeFromUnix(0).ticks == kFileTimeUnixEpoch);
    struct Case {
        std::int64_t ticks;
        std::int64_t seconds;
        std::int64_t nanoseconds;
    };
    const Case cases[] = {
        {kFileTimeUnixEpoch, 0, 0},
        {kFileTimeUnixEpoch + 15, 0, 1500},
        {kFileTimeUnixEpoch - 1, -1, 999999900},
        {kFileTimeUnixEpoch - kFileTimeTicksPerSecond, -1, 0},
        {0, -11644473600, 0},  // 1601-01-01
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ticks);
        const FileTime time{c.ticks};
        EXPECT_EQ(UnixSecondsOf(time), c.seconds);
        EXPECT_EQ(NanosecondsOf(time), c.nanoseconds);
        EXPECT_EQ(FileTimeFromUnix(c.seconds, c.nanoseconds), time);
    }
}

TEST_F(FileSystemTest, CreatesFolders) {
    EXPECT_TRUE(MakeDirectory(L"C:\\One"));
    EXPECT_FALSE(MakeDirectory(L"C:\\one"));
    EXPECT_EQ(GetLastError(), kErrorAlreadyExists);
    EXPECT_FALSE(MakeDirectory(L"C:\\none\\two"));
    EXPECT_EQ(GetLastError(), kErrorPathNotFound);

    EXPECT_TRUE(CreateDirectories(L"C:\\ONE\\two\\three\\"));
    EXPECT_TRUE(fs::is_directory(Native("One/two/three")));
    EXPECT_TRUE(CreateDirectories(L"C:\\one\\TWO"));
    EXPECT_EQ(Entries("One"), std::vector<std::string>{"two"});

    Write("file", "");
    EXPECT_FALSE(CreateDirectories(L"C:\\file\\sub"));
    EXPECT_FALSE(CreateDirectories(L"C:\\file"));
    EXPECT_EQ(GetLastError(), kErrorAlreadyExists);
}

TEST_F(FileSystemTest, DeletesFilesAndEmptyFolders) {
    Write("dir/a.txt", "");
    EXPECT_FALSE(RemoveFile(L"C:\\dir"));
    EXPECT_EQ(GetLastError(), kErrorAccessDenied);
    EXPECT_FALSE(RemoveEmptyDirectory(L"C:\\dir"));
    EXPECT_EQ(GetLastError(), kErrorDirNotEmpty);
    EXPECT_TRUE(RemoveFile(L"C:\\DIR\\A.txt"));
    EXPECT_TRUE(RemoveEmptyDirectory(L"C:\\dir"));
    EXPECT_FALSE(fs::exists(Native("dir")));
    EXPECT_FALSE(RemoveEmptyDirectory(L"C:\\dir"));
    EXPECT_EQ(GetLastError(), kErrorFileNotFound);
}

TEST_F(FileSystemTest, RenamesWithoutReplacingUnlessAsked) {
    Write("a.txt", "a");
    Write("b.txt", "b");
    EXPECT_FALSE(RenameFile(L"C:\\a.txt", L"C:\\b.txt"));
    EXPECT_EQ(GetLastError(), kErrorAlreadyExists);
    EXPECT_EQ(test::ReadBytes(Native("b.txt")), "b");

    EXPECT_TRUE(RenameFile(L"C:\\a.txt", L"C:\\B.TXT", true));
    EXPECT_EQ(test::ReadBytes(Native("b.txt")), "a");
    EXPECT_EQ(Entries(""), std::vector<std::string>{"b.txt"});

    EXPECT_TRUE(RenameFile(L"C:\\b.txt", L"C:\\B.txt"));  // letter case only
    EXPECT_EQ(Entries(""), std::vector<std::string>{"B.txt"});
    EXPECT_TRUE(RenameFile(L"C:\\B.txt", L"C:\\B.txt"));

    MakeFolder("dir");
    EXPECT_TRUE(RenameFile(L"C:\\b.txt", L"C:\\dir\\moved.txt"));
    EXPECT_TRUE(RenameFile(L"C:\\dir", L"C:\\folder"));
    EXPECT_EQ(test::ReadBytes(Native("folder/moved.txt")), "a");

    EXPECT_FALSE(RenameFile(L"C:\\missing", L"C:\\x"));
    EXPECT_EQ(GetLastError(), kErrorFileNotFound);
}

TEST_F(FileSystemTest, CopiesContentPermissionsAndTimes) {
    Write("src.txt", "content");
    fs::permissions(Native("src.txt"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    const FileTime written = FileTimeFromUnix(1000000000, 500);
    ASSERT_TRUE(SetFileTimes(L"C:\\src.txt", std::nullopt, written, written));
    Write("dst.txt", "old");

    EXPECT_FALSE(CopyFileAtomically(L"C:\\src.txt", L"C:\\dst.txt", true));
    EXPECT_EQ(GetLastError(), kErrorFileExists);
    EXPECT_EQ(test::ReadBytes(Native("dst.txt")), "old");

    EXPECT_TRUE(CopyFileAtomically(L"C:\\src.txt", L"C:\\DST.TXT", false));
    EXPECT_TRUE(CopyFileAtomically(L"C:\\src.txt", L"C:\\new.txt", true));
    for (const std::string name : {"dst.txt", "new.txt"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(test::ReadBytes(Native(name)), "content");
        EXPECT_EQ(Permissions(name), fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
        EXPECT_EQ(GetFileStatus(FromNativePath(Native(name)))->lastWriteTime, written);
    }
    EXPECT_EQ(Entries(""), (std::vector<std::string>{"dst.txt", "new.txt", "src.txt"}));

    MakeFolder("dir");
    EXPECT_FALSE(CopyFileAtomically(L"C:\\dir", L"C:\\copy", false));
    EXPECT_EQ(GetLastError(), kErrorAccessDenied);
    EXPECT_FALSE(CopyFileAtomically(L"C:\\missing", L"C:\\copy", false));
    EXPECT_EQ(GetLastError(), kErrorFileNotFound);
}

TEST_F(FileSystemTest, NamesTheTemporaryAndTheCurrentFolder) {
    {
        test::ScopedEnv env("TMPDIR", Native("tmp"));
        EXPECT_EQ(TempDirectory(), L"C:\\tmp\\");
    }
    {
        test::ScopedEnv env("TMPDIR", std::nullopt);
        EXPECT_EQ(TempDirectory(), L"\\tmp\\");
    }
    MakeFolder("cwd");
    const fs::path old = fs::current_path();
    fs::current_path(Native("cwd"));
    const std::wstring current = CurrentDirectory();
    fs::current_path(old);
    EXPECT_EQ(current, L"C:\\cwd");
}

}  // namespace
}  // namespace qx
