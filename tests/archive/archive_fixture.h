// Test archives and the test's own cache folder.
//
// Zip archives are written with minizip's writer, cabinets with the gcab
// program, into a data folder mapped as drive C:. The temporary folder
// (and so the cache folder "TempCpr") is a folder of the test's own, so no
// test touches the user's real cache.
#pragma once

#include <gtest/gtest.h>
#include <minizip/zip.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "qx/archive/cabinet_handling.h"
#include "qx/platform/wnd/message_box.h"
#include "tests/support/fixtures.h"
#include "tests/support/test_support.h"

namespace qx::test {

// 2020-06-15 10:20:30 local time, packed.
inline constexpr std::uint16_t kMemberDate = ((2020 - 1980) << 9) | (6 << 5) | 15;
inline constexpr std::uint16_t kMemberTime = (10 << 11) | (20 << 5) | (30 / 2);

struct ZipEntry {
    std::string name;
    std::string bytes;
    std::uint16_t dosDate = kMemberDate;
    std::uint16_t dosTime = kMemberTime;
    unsigned attributes = 0x20;
    bool deflate = true;
};

inline void WriteZip(const std::filesystem::path& file, const std::vector<ZipEntry>& entries) {
    std::filesystem::create_directories(file.parent_path());
    zipFile zip = zipOpen64(file.string().c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr);
    for (const ZipEntry& entry : entries) {
        zip_fileinfo info{};
        info.dosDate = (static_cast<uLong>(entry.dosDate) << 16) | entry.dosTime;
        info.external_fa = entry.attributes;
        ASSERT_EQ(zipOpenNewFileInZip(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                      entry.deflate ? Z_DEFLATED : 0, Z_DEFAULT_COMPRESSION),
                  ZIP_OK);
        ASSERT_EQ(zipWriteInFileInZip(zip, entry.bytes.data(), static_cast<unsigned>(entry.bytes.size())), ZIP_OK);
        ASSERT_EQ(zipCloseFileInZip(zip), ZIP_OK);
    }
    ASSERT_EQ(zipClose(zip, nullptr), ZIP_OK);
}

inline bool HaveGcab() { return std::system("gcab --version >/dev/null 2>&1") == 0; }

// A cabinet of *files* (name, bytes), each stamped with *time* (the member
// time gcab stores, in local time).
inline void WriteCabinet(const std::filesystem::path& cabinet, const std::vector<std::pair<std::string, std::string>>& files,
                         std::filesystem::file_time_type time, bool compress = true) {
    const std::filesystem::path staging = cabinet.parent_path() / ".cab-staging";
    std::filesystem::create_directories(staging);
    std::string command = "cd '" + staging.string() + "' && gcab -c " + (compress ? "-z " : "") + "'" +
                          cabinet.string() + "'";
    for (const auto& [name, bytes] : files) {
        WriteBytes(staging / name, bytes);
        std::filesystem::last_write_time(staging / name, time);
        command += " '" + name + "'";
    }
    ASSERT_EQ(std::system((command + " >/dev/null").c_str()), 0) << command;
    std::filesystem::remove_all(staging);
}

// Every regular file below *folder* (none when it does not exist).
inline std::vector<std::filesystem::path> FilesBelow(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
         !error && it != std::filesystem::recursive_directory_iterator(); ++it) {
        if (it->is_regular_file()) files.push_back(it->path());
    }
    return files;
}

// A data folder "C:\data" beside a temporary folder of the test's own; the
// archive layer's state is cleared before and after each test, and message
// boxes are collected instead of shown.
class ArchiveTest : public DriveFolderTest {
protected:
    ArchiveTest() { CCabinetHandling::destroy(); }
    ~ArchiveTest() override { CCabinetHandling::destroy(); }

    std::filesystem::path DataFolder() const { return dir_.path() / "data"; }
    std::filesystem::path CacheFolder() const { return temp_.path() / "TempCpr"; }
    std::filesystem::path TempFolder() const { return temp_.path(); }
    // The library path of the copy of C:\data\<name> in the cache.
    std::wstring CachedPath(const std::wstring& name) const {
        return FromNativePath((temp_.path() / "TempCpr").string()) + L"\\data\\" + name;
    }

    TempDir temp_;
    ScopedEnv tmpdir_{"TMPDIR", temp_.path().string()};
    std::vector<std::wstring> messages_;
    ScopedMessageHandler handler_{[this](const wchar_t* text, const wchar_t*, unsigned) {
        messages_.push_back(text);
        return IDOK;
    }};
};

inline std::filesystem::file_time_type FileTimeAt(int year, int month, int day, int hour, int minute, int second) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    const auto system = std::chrono::system_clock::from_time_t(std::mktime(&local));
    return std::chrono::file_clock::from_sys(system);
}

}  // namespace qx::test
