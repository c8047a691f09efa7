// Helpers shared by the test suites.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace qx::test {

// A fresh folder under the system's temporary folder, removed with
// everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // A path inside the folder, as native text.
    std::string Native(const std::string& name) const { return (path_ / name).string(); }
    // The same as a library path (wide text).
    std::wstring Wide(const std::string& name) const { return (path_ / name).wstring(); }

private:
    std::filesystem::path path_;
};

// Writes and reads whole files byte by byte, bypassing the library.
void WriteBytes(const std::filesystem::path& file, const std::string& bytes);
std::string ReadBytes(const std::filesystem::path& file);

// The pages of a PDF document: its page objects ("/Type /Page", not the
// page tree's "/Pages").
int PdfPageCount(const std::string& pdf);

// Makes a FIFO at *file* (throws when the system cannot).
void MakeFifo(const std::filesystem::path& file);

// Runs *call* and tells whether it returned without waiting on the FIFO
// *fifo*. A call still running after a few seconds is taken to be blocked on
// it: the FIFO is then opened from both sides, again and again, until the
// call gives up (so that the test goes on instead of hanging), and the
// answer is false.
bool ReturnsWithoutWaitingOn(const std::filesystem::path& fifo, const std::function<void()>& call);

}  // namespace qx::test
