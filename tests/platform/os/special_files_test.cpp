// FIFOs, devices, sockets and planted links where the os layer expects a
// regular file: readers refuse them without waiting, replacing writers leave
// them as they are.
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "qx/platform/os/archive_reader.h"
#include "qx/platform/os/file_stream.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/last_error.h"
#include "qx/platform/os/locked_append_file.h"
#include "tests/support/fixtures.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

enum class Kind { Fifo, Socket, Device };

const char* KindName(Kind kind) {
    switch (kind) {
    case Kind::Fifo: return "FIFO";
    case Kind::Socket: return "socket";
    case Kind::Device: return "device";
    }
    return "";
}

// What a replacing writer must leave in place.
struct EntryIdentity {
    mode_t type = 0;
    ino_t inode = 0;
    dev_t rdev = 0;
    bool operator==(const EntryIdentity&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const EntryIdentity& e) {
        return out << "type " << std::oct << e.type << std::dec << ", inode " << e.inode << ", device " << e.rdev;
    }
};

EntryIdentity IdentityOf(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return {};
    return {static_cast<mode_t>(st.st_mode & S_IFMT), st.st_ino, st.st_rdev};
}

class SpecialFilesTest : public test::DriveFolderTest {
protected:
    // Makes an entry of *kind* at *name*; false when the system does not let
    // this user make one (a device needs privileges).
    bool Make(Kind kind, const std::string& name) const {
        const std::string path = Native(name);
        switch (kind) {
        case Kind::Fifo:
            test::MakeFifo(path);
            return true;
        case Kind::Socket: {
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            if (path.size() >= sizeof address.sun_path) return false;
            path.copy(address.sun_path, path.size());
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            const bool bound = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
            if (fd >= 0) ::close(fd);
            return bound;
        }
        case Kind::Device:
            // The null device, made in the test's own folder: replacing it
            // by mistake harms nothing else.
            return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
        }
        return false;
    }
};

struct ReaderCase {
    const char* name;
    std::function<bool(const std::wstring& path)> opens;
};

const ReaderCase kReaders[] = {
    {"ReadWholeFile", [](const std::wstring& path) { return ReadWholeFile(path).has_value(); }},
    {"FileReader", [](const std::wstring& path) { return FileReader::Open(path) != nullptr; }},
    {"CopyFileAtomically source",
     [](const std::wstring& path) { return CopyFileAtomically(path, L"C:\\copy", false); }},
    {"zip archive",
     [](const std::wstring& path) { return ArchiveReader::Open(path, ArchiveReader::Kind::Zip) != nullptr; }},
    {"cabinet",
     [](const std::wstring& path) { return ArchiveReader::Open(path, ArchiveReader::Kind::Cabinet) != nullptr; }},
    {"LockedAppendFile", [](const std::wstring& path) { return LockedAppendFile::Open(path, nullptr) != nullptr; }},
};

TEST_F(SpecialFilesTest, ReadersRefuseWhatIsNoRegularFileWithoutWaiting) {
    ASSERT_TRUE(Make(Kind::Fifo, "fifo"));
    ASSERT_TRUE(Make(Kind::Socket, "socket"));
    const std::wstring special[] = {L"C:\\fifo", L"C:\\socket", L"/dev/null"};
    for (const ReaderCase& reader : kReaders) {
        for (const std::wstring& path : special) {
            SCOPED_TRACE(testing::Message() << reader.name << " on " << fs::path(path).string());
            bool opened = true;
            unsigned error = 0;  // the last error is the running thread's
            EXPECT_TRUE(test::ReturnsWithoutWaitingOn(Native("fifo"), [&] {
                SetLastError(0);
                opened = reader.opens(path);
                error = GetLastError();
            }));
            EXPECT_FALSE(opened);
            EXPECT_EQ(error, kErrorAccessDenied);
        }
    }
    EXPECT_FALSE(fs::exists(Native("copy")));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

struct WriterCase {
    const char* name;
    std::function<bool(const std::wstring& path)> writes;
};

const WriterCase kWriters[] = {
    {"WriteFileAtomically", [](const std::wstring& path) { return WriteFileAtomically(path, "data"); }},
    {"CopyFileAtomically target",
     [](const std::wstring& path) { return CopyFileAtomically(L"C:\\source", path, false); }},
    {"FileReplacer",
     [](const std::wstring& path) {
         const auto replacer = FileReplacer::Create(path);
         return replacer && replacer->Write("data") && replacer->Commit();
     }},
    {"ChangeFileAttributes",
     [](const std::wstring& path) { return ChangeFileAttributes(path, kFileAttributeReadOnly); }},
};

TEST_F(SpecialFilesTest, ReplacingWritersLeaveWhatIsNoRegularFileAlone) {
    Write("source", "data");
    for (const Kind kind : {Kind::Fifo, Kind::Socket, Kind::Device}) {
        if (!Make(kind, "special")) {
            ASSERT_NE(kind, Kind::Fifo);
            continue;  // no device nodes without privileges
        }
        // Reached through its own name and through a link to it.
        fs::create_symlink("special", Native("link"));
        const EntryIdentity before = IdentityOf(Native("special"));
        for (const WriterCase& writer : kWriters) {
            for (const wchar_t* path : {L"C:\\special", L"C:\\link"}) {
                SCOPED_TRACE(testing::Message() << writer.name << " on a " << KindName(kind) << " as "
                                                << fs::path(path).string());
                SetLastError(0);
                EXPECT_FALSE(writer.writes(path));
                EXPECT_EQ(GetLastError(), kErrorAccessDenied);
                EXPECT_EQ(IdentityOf(Native("special")), before);
                EXPECT_TRUE(fs::is_symlink(Native("link")));
                EXPECT_TRUE(IsSpecialFile(path));
            }
        }
        SCOPED_TRACE(KindName(kind));
        EXPECT_FALSE(RenameFile(L"C:\\source", L"C:\\special", true));
        EXPECT_EQ(IdentityOf(Native("special")), before);
        fs::remove(Native("special"));
        fs::remove(Native("link"));
    }
    EXPECT_FALSE(IsSpecialFile(L"C:\\source"));
    EXPECT_FALSE(IsSpecialFile(L"C:\\"));
    EXPECT_FALSE(IsSpecialFile(L"C:\\missing"));
    // No temporary file was left behind.
    std::vector<std::string> entries;
    for (const auto& entry : fs::directory_iterator(Native(""))) entries.push_back(entry.path().filename().string());
    EXPECT_EQ(entries, std::vector<std::string>{"source"});
}

// A folder that everyone may write, as the temporary folder is.
class SharedFolderTest : public SpecialFilesTest {
protected:
    SharedFolderTest() {
        MakeFolder("shared");
        fs::permissions(Native("shared"), fs::perms::all | fs::perms::sticky_bit);
    }
    // Gives *name* (not what it names) to another user; false when this user
    // may not.
    bool GiveAway(const std::string& name) const { return ::lchown(Native(name).c_str(), kOtherUser, kOtherUser) == 0; }

    static constexpr uid_t kOtherUser = 54321;
};

TEST_F(SharedFolderTest, ALinkSomeoneElsePlantedIsNotFollowed) {
    Write("source", "data");
    Write("mine.txt", "precious");
    fs::create_symlink(Native("mine.txt"), Native("shared/out.txt"));
    if (!GiveAway("shared/out.txt")) GTEST_SKIP() << "only a privileged user can make a link of another user";
    for (const WriterCase& writer : kWriters) {
        if (writer.name == std::string("ChangeFileAttributes")) continue;  // replaces nothing
        SCOPED_TRACE(writer.name);
        SetLastError(0);
        EXPECT_FALSE(writer.writes(L"C:\\shared\\out.txt"));
        EXPECT_EQ(GetLastError(), kErrorAccessDenied);
        EXPECT_EQ(test::ReadBytes(Native("mine.txt")), "precious");
        EXPECT_TRUE(fs::is_symlink(Native("shared/out.txt")));
    }
}

TEST_F(SharedFolderTest, TheUsersOwnLinkIsFollowed) {
    Write("mine.txt", "old");
    fs::create_symlink(Native("mine.txt"), Native("shared/out.txt"));
    EXPECT_TRUE(WriteFileAtomically(L"C:\\shared\\out.txt", "new"));
    EXPECT_EQ(test::ReadBytes(Native("mine.txt")), "new");
    EXPECT_TRUE(fs::is_symlink(Native("shared/out.txt")));
}

TEST_F(SharedFolderTest, AnAppendedFileMustBeARegularFileOfTheUsersOwn) {
    Write("mine.txt", "precious");
    fs::create_symlink(Native("mine.txt"), Native("shared/link.csv"));
    fs::create_hard_link(Native("mine.txt"), Native("shared/hard.csv"));
    Write("shared/theirs.csv", "");
    const bool asOtherUser = GiveAway("shared/theirs.csv");
    struct Case {
        const char* name;
        bool opens;
    };
    const Case cases[] = {
        {"link.csv", false},    // never through a link, in any folder
        {"hard.csv", false},    // a second name of a file elsewhere
        {"theirs.csv", !asOtherUser},
        {"new.csv", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetLastError(0);
        const auto file = LockedAppendFile::Open(L"C:\\shared\\" + fs::path(c.name).wstring(), nullptr);
        EXPECT_EQ(file != nullptr, c.opens);
        if (!c.opens) {
            EXPECT_EQ(GetLastError(), kErrorAccessDenied);
        }
    }
    EXPECT_EQ(test::ReadBytes(Native("mine.txt")), "precious");

    // In a folder of the user alone, a file's second name is the user's own
    // business; a link is still not followed.
    fs::create_hard_link(Native("mine.txt"), Native("hard.csv"));
    EXPECT_NE(LockedAppendFile::Open(L"C:\\hard.csv", nullptr), nullptr);
    fs::create_symlink(Native("mine.txt"), Native("link.csv"));
    EXPECT_EQ(LockedAppendFile::Open(L"C:\\link.csv", nullptr), nullptr);
}

}  // namespace
}  // namespace qx
