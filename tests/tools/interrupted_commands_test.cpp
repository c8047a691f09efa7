// qxtool ended in the middle of a long print: a signal leaves no temporary
// file behind, and after a kill the next run removes what was left.
#include <signal.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using qx::test::ChildProcess;

const std::string kReport = std::string(QX_EXAMPLES_DIR) + "/report/";
// The time a step may take on a busy machine.
constexpr auto kLimit = 120s;

// A parts list of some 700 pages: composing and printing it takes long
// enough to be caught in the middle.
void WriteLongPartsList(const fs::path& file) {
    std::ofstream out(file, std::ios::binary);
    out << "[Stueckliste]\n\t[Liste]\n\t\tPROJEKT:Lang\n\t\t[Baugruppe]\n\t\t\tBAUGRUPPE:1 Lang\n";
    for (int i = 1; i <= 30000; ++i) {
        out << "\t\t\t[Position]\n\t\t\t\tPOS:" << i
            << "\n\t\t\t\tARTIKEL:01-1007\n\t\t\t\tBESCHREIBUNG:Kupferrohr 18 x 1 mm\n\t\t\t\tMENGE:6\n"
               "\t\t\t\tPREIS:2730,96\n\t\t\t[ENDE_Position]\n";
    }
    out << "\t\t[ENDE_Baugruppe]\n\t[ENDE_Liste]\n[ENDE_Stueckliste]\n";
}

std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    return names;
}

size_t CountStartingWith(const fs::path& folder, const std::string& prefix) {
    size_t count = 0;
    for (const std::string& name : Entries(folder)) count += name.starts_with(prefix) ? 1 : 0;
    return count;
}

// A print job's folders: its data, its temporary folder and its output.
class InterruptedPrintTest : public ::testing::Test {
protected:
    InterruptedPrintTest() {
        fs::create_directory(tmp_);
        fs::create_directory(out_);
        WriteLongPartsList(data_);
    }

    std::unique_ptr<ChildProcess> StartPrint(const std::string& data) const {
        return std::make_unique<ChildProcess>(
            QXTOOL_PATH, std::vector<std::string>{"print", kReport + "parts_list.msk", data, "--pdf", Pdf()},
            std::vector<std::string>{"TMPDIR=" + tmp_.string()});
    }
    // Starts the long print and waits until it writes the PDF, with the
    // page files all made.
    std::unique_ptr<ChildProcess> StartLongPrint() const {
        auto print = StartPrint(data_.string());
        const auto printing = [&] { return print->HasEnded() || CountStartingWith(out_, ".qx-") != 0; };
        EXPECT_TRUE(qx::test::WaitUntil(printing, kLimit));
        EXPECT_FALSE(print->HasEnded()) << "the job was over before it could be stopped: " << print->Output();
        return print;
    }
    std::string Pdf() const { return (out_ / "report.pdf").string(); }

    qx::test::TempDir dir_;
    const fs::path data_ = dir_.path() / "long.txt";
    const fs::path tmp_ = dir_.path() / "tmp";
    const fs::path out_ = dir_.path() / "out";
};

TEST_F(InterruptedPrintTest, AnEndingSignalLeavesNoTemporaryFile) {
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(strsignal(signal));
        auto print = StartLongPrint();
        ASSERT_GT(CountStartingWith(tmp_, ".qx-"), 100u) << "page files";
        print->Signal(signal);
        const auto status = print->Wait(kLimit);
        ASSERT_TRUE(status && WIFSIGNALED(*status)) << print->Output();
        EXPECT_EQ(WTERMSIG(*status), signal);
        EXPECT_TRUE(Entries(tmp_).empty());
        EXPECT_TRUE(Entries(out_).empty()) << "neither the PDF nor its temporary file";
    }
}

TEST_F(InterruptedPrintTest, TheNextPrintRemovesWhatAKilledPrintLeft) {
    auto print = StartLongPrint();
    print->Signal(SIGKILL);
    const auto status = print->Wait(kLimit);
    ASSERT_TRUE(status && WIFSIGNALED(*status));
    const std::string left = ".qx-" + std::to_string(print->Pid()) + "-";
    EXPECT_GT(CountStartingWith(tmp_, left), 100u) << "page files";
    EXPECT_EQ(CountStartingWith(out_, left), 1u) << "the PDF being written";

    auto next = StartPrint(kReport + "parts_list_data.txt");
    const auto nextStatus = next->Wait(kLimit);
    ASSERT_TRUE(nextStatus && WIFEXITED(*nextStatus) && WEXITSTATUS(*nextStatus) == 0) << next->Output();
    EXPECT_TRUE(Entries(tmp_).empty());
    EXPECT_EQ(Entries(out_), std::vector<std::string>{"report.pdf"});
}

}  // namespace
