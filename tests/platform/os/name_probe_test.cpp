#include "qx/platform/os/name_probe.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "qx/platform/os/file_system.h"
#include "qx/platform/os/native_path.h"
#include "tests/support/fixtures.h"

namespace qx {
namespace {

class NameProbeTest : public test::DriveFolderTest {
protected:
    NameProbeTest() { ResetFolderListingCache(); }

    // A symbolic link *name* to *target*, which is relative to the link.
    void Link(const std::string& target, const std::string& name) const {
        std::filesystem::create_symlink(target, dir_.path() / name);
    }
};

// Every answer of a probe is what GetFileStatus says of the same name, in
// settled folders (answered from their listings) and in folders changed just
// now (listed again for the probe).
TEST_F(NameProbeTest, AnswersAsTheFileStatusDoes) {
    Write("Data/File.txt", "x");
    Write("Data/Twice.txt", "x");
    Write("Data/TWICE.txt", "x");
    MakeFolder("Data/Sub");
    Write("Plain.txt", "x");
    Link("File.txt", "Data/ToFile.txt");
    Link("Gone.txt", "Data/Dangling.txt");
    Link("Sub", "Data/ToSub");
    struct Case {
        const wchar_t* path;
        bool exists;
    };
    const Case cases[] = {
        {L"C:\\Data\\File.txt", true},
        {L"C:\\Data\\file.TXT", true},  // another case
        {L"C:\\DATA\\FILE.txt", true},  // the folder too
        {L"C:\\Data\\Twice.txt", true},
        {L"C:\\Data\\twice.txt", false},  // two variants: none is chosen
        {L"C:\\Data\\Missing.txt", false},
        {L"C:\\Data\\Sub", true},
        {L"C:\\Data\\sub", true},
        {L"C:\\Data\\Sub\\", true},
        {L"C:\\Data\\ToFile.txt", true},
        {L"C:\\Data\\tofile.txt", true},
        {L"C:\\Data\\Dangling.txt", false},  // a link to nothing is no file
        {L"C:\\Data\\ToSub", true},
        {L"C:\\Data\\Sub\\.", true},
        {L"C:\\Data\\Sub\\..", true},
        {L"C:\\Data\\File.txt\\x", false},  // a file is no folder
        {L"C:\\Nowhere\\File.txt", false},
        {L"C:\\Plain.txt", true},
        {L"Q:\\File.txt", false},  // a drive that is not mapped
    };
    for (const bool settled : {true, false}) {
        if (settled) {
            Backdate("Data");
            Backdate("Data/Sub");
        }
        NameProbe probe;
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << (settled ? "settled " : "fresh ") << c.path);
            EXPECT_EQ(probe.Exists(c.path), c.exists);
            EXPECT_EQ(GetFileStatus(c.path).has_value(), c.exists);
        }
        MakeFolder("Data/Changed");  // the folders are no longer settled
    }
}

// A new probe sees what changed in a folder since the last one, also when
// the folder's listing is kept.
TEST_F(NameProbeTest, SeesEntriesChangedBetweenProbes) {
    Write("Data/File.txt", "x");
    Backdate("Data");
    EXPECT_TRUE(NameProbe().Exists(L"C:\\Data\\File.txt"));
    EXPECT_FALSE(NameProbe().Exists(L"C:\\Data\\New.txt"));

    std::filesystem::remove(dir_.path() / "Data/File.txt");
    Write("Data/New.txt", "x");
    NameProbe probe;
    EXPECT_FALSE(probe.Exists(L"C:\\Data\\File.txt"));
    EXPECT_TRUE(probe.Exists(L"C:\\Data\\new.txt"));

    // A folder replaced by another with the same time is another folder.
    Write("Other/Fresh.txt", "x");
    const auto time = Backdate("Data");
    std::filesystem::last_write_time(dir_.path() / "Other", time);
    EXPECT_TRUE(NameProbe().Exists(L"C:\\Data\\New.txt"));
    std::filesystem::remove_all(dir_.path() / "Data");
    std::filesystem::rename(dir_.path() / "Other", dir_.path() / "Data");
    std::filesystem::last_write_time(dir_.path() / "Data", time);
    NameProbe after;
    EXPECT_FALSE(after.Exists(L"C:\\Data\\New.txt"));
    EXPECT_TRUE(after.Exists(L"C:\\Data\\FRESH.txt"));
}

}  // namespace
}  // namespace qx
