// Failures of a replacing write that only the system can produce. The file
// size limit stops a write half-way even for root, for whom permissions are
// no obstacle.
#include <signal.h>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "qx/platform/os/file_system.h"
#include "qx/platform/os/last_error.h"
#include "tests/support/fixtures.h"

namespace qx {
namespace {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        // Past the limit, write() fails with EFBIG once SIGXFSZ is ignored.
        oldHandler_ = signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    sighandler_t oldHandler_;
};

using AtomicWriteTest = test::DriveFolderTest;

TEST_F(AtomicWriteTest, AFailedWriteLeavesTheOldFileAndNoLeftovers) {
    Write("data.txt", "old content");
    Write("big.txt", std::string(1000, 'b'));
    {
        FileSizeLimit limit(64);
        EXPECT_FALSE(WriteFileAtomically(L"C:\\data.txt", std::string(1000, 'n')));
        EXPECT_EQ(GetLastError(), kErrorFileTooLarge);
        EXPECT_FALSE(CopyFileAtomically(L"C:\\big.txt", L"C:\\data.txt", false));
        EXPECT_EQ(GetLastError(), kErrorFileTooLarge);
    }
    EXPECT_EQ(test::ReadBytes(Native("data.txt")), "old content");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"big.txt", "data.txt"}));
}

}  // namespace
}  // namespace qx
