// Arbitrary bytes as a folder's "data.zip" and as another folder's
// "data.cab", then the archive layer is asked for their members.
//
// What holds: reading never crashes; a usable path is either the requested
// file or a copy inside the cache folder, and that copy holds exactly as
// many bytes as the archive said; after destroy() the cache folder is gone.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "qx/archive/archive_path.h"
#include "qx/archive/cabinet_handling.h"
#include "qx/platform/os/archive_reader.h"
#include "qx/platform/wnd/message_box.h"
#include "qx/platform/os/native_path.h"

namespace {

namespace fs = std::filesystem;

// The folders of this run, removed when the fuzzer exits.
struct Folders {
    Folders() : root(fs::temp_directory_path() / ("qx-archive-fuzz-" + std::to_string(std::random_device()()))) {
        fs::create_directories(root / "zip");
        fs::create_directories(root / "cab");
        fs::create_directories(root / "tmp");
        // The cache goes below the fuzzer's own folder, never the user's.
        ::setenv("TMPDIR", (root / "tmp").c_str(), 1);
        cache = qx::FromNativePath((root / "tmp" / "TempCpr").string());
        qx::SetMessageHandler([](const wchar_t*, const wchar_t*, unsigned) { return IDOK; });
    }
    ~Folders() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    Folders(const Folders&) = delete;
    Folders& operator=(const Folders&) = delete;

    fs::path root;
    std::wstring cache;  // library path of the cache folder
};

const Folders& Setup() {
    static const Folders folders;
    return folders;
}

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

void Probe(const Folders& folders, const char* sub, qx::ArchiveReader::Kind kind, const std::string& bytes) {
    const fs::path folder = folders.root / sub;
    const fs::path archive = folder / (kind == qx::ArchiveReader::Kind::Zip ? "data.zip" : "data.cab");
    std::ofstream(archive, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const std::wstring libraryFolder = qx::FromNativePath(folder.string()) + L"\\";

    std::vector<qx::ArchiveMember> members;
    if (const auto reader = qx::ArchiveReader::Open(qx::FromNativePath(archive.string()), kind))
        members = reader->Members();
    std::vector<std::wstring> names = {L"a.txt"};
    for (size_t i = 0; i < members.size() && i < 4; ++i) names.push_back(members[i].name);

    for (const std::wstring& name : names) {
        const std::wstring path = libraryFolder + name;
        CCabinetHandling::accessFile(path.c_str(), 0);
        CString usable;
        if (!CCabinetHandling::getUncabedPathName(path.c_str(), usable)) continue;
        if (usable.str().rfind(folders.cache, 0) == 0) {
            const auto native = qx::ToNativePath(usable.str());
            Check(native.has_value());
            std::error_code error;
            const auto size = fs::file_size(*native, error);
            Check(!error);
            bool matched = false;
            for (const qx::ArchiveMember& m : members) matched |= qx::IsMemberFor(m, name.c_str()) && m.size == size;
            Check(matched);
        } else {
            Check(usable == qx::NormalizeArchivePath(path.c_str()));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Folders& folders = Setup();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Probe(folders, "zip", qx::ArchiveReader::Kind::Zip, bytes);
    Probe(folders, "cab", qx::ArchiveReader::Kind::Cabinet, bytes);
    CCabinetHandling::destroy();
    Check(!fs::exists(folders.root / "tmp" / "TempCpr"));
    return 0;
}
