#include "tests/support/test_support.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <future>
#include <iterator>
#include <regex>
#include <stdexcept>
#include <thread>

namespace qx::test {

namespace {

// Message boxes in tests are answered by the batch host, whatever terminal
// or display the suite runs under (and so are the tools a test starts); a
// test that wants another host installs it.
[[maybe_unused]] const bool g_batchHost = setenv("QX_UI", "batch", 1) == 0;

}  // namespace

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qxtest-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void MakeFifo(const std::filesystem::path& file) {
    if (::mkfifo(file.c_str(), 0600) != 0) throw std::runtime_error("cannot make a FIFO at " + file.string());
}

bool ReturnsWithoutWaitingOn(const std::filesystem::path& fifo, const std::function<void()>& call) {
    using namespace std::chrono_literals;
    std::packaged_task<void()> task(call);
    std::future<void> done = task.get_future();
    std::thread runner(std::move(task));
    const bool returned = done.wait_for(5s) == std::future_status::ready;
    // A reader blocked in its open sees a writer come and go and reads the
    // end of the data; a writer sees a reader and then a broken pipe, which
    // must not end the test program.
    if (!returned) ::signal(SIGPIPE, SIG_IGN);
    while (done.wait_for(50ms) != std::future_status::ready) {
        const int fd = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
    }
    runner.join();
    done.get();
    return returned;
}

int PdfPageCount(const std::string& pdf) {
    static const std::regex page("/Type\\s*/Page(?![a-zA-Z])");
    return static_cast<int>(std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()));
}

}  // namespace qx::test
