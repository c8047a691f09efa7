// Helpers shared by the test suites.
#pragma once

#include <filesystem>
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

}  // namespace qx::test
