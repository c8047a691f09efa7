// Fixtures shared by the suites: environment variables set for a test, and a
// temporary folder mapped as drive C:.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "qx/platform/os/native_path.h"
#include "tests/support/test_support.h"

namespace qx::test {

// Sets (or, with nullopt, removes) an environment variable for the lifetime
// of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        Apply(value);
    }
    ~ScopedEnv() { Apply(old_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void Apply(const std::optional<std::string>& value) {
        if (value) setenv(name_, value->c_str(), 1);
        else unsetenv(name_);
    }

    const char* name_;
    std::optional<std::string> old_;
};

// A temporary folder mapped as drive C:, so that tests use the library's
// Windows-style paths ("C:\\data\\a.txt") on real files.
class DriveFolderTest : public ::testing::Test {
protected:
    DriveFolderTest() { SetDriveMap("C=" + dir_.path().string()); }
    ~DriveFolderTest() override { ResetDriveMap(); }

    // The native path of *name* inside the folder ("data/a.txt").
    std::string Native(const std::string& name) const { return dir_.Native(name); }
    // Writes a file, creating the folders on its way.
    void Write(const std::string& name, const std::string& bytes) const {
        const std::filesystem::path file = dir_.path() / name;
        std::filesystem::create_directories(file.parent_path());
        WriteBytes(file, bytes);
    }
    void MakeFolder(const std::string& name) const { std::filesystem::create_directories(dir_.path() / name); }
    // Sets a folder's modification time an hour back (so that a listing of
    // it counts as settled) and returns that time.
    std::filesystem::file_time_type Backdate(const std::string& name) const {
        const auto time = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
        std::filesystem::last_write_time(dir_.path() / name, time);
        return time;
    }

    TempDir dir_;
};

}  // namespace qx::test
